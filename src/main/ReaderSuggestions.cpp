#include "main/ReaderSuggestions.h"

#include "link/PcscReader.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

ReaderSuggestions::ReaderSuggestions(QLineEdit& edit)
    : QObject(&edit), m_names(new QStringListModel(this)), m_completer(new QCompleter(m_names, this))
{
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    edit.setCompleter(m_completer);
    edit.installEventFilter(this);
}

QStringList ReaderSuggestions::DeviceNames()
{
    const QString prefix = QStringLiteral("pcsc:");
    try {
        QStringList names = PcscReader::Readers();
        if (names.isEmpty())
            return {};
        for (QString& name : names)
            name.prepend(prefix);
        return QStringList{prefix} + names;
    } catch (const PcscError&) {
        return {};
    }
}

bool ReaderSuggestions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        m_names->setStringList(DeviceNames());
    const bool down = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down;
    if (down && !m_completer->popup()->isVisible() && m_names->rowCount() > 0) {
        m_completer->setCompletionPrefix(QString());
        m_completer->complete();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
