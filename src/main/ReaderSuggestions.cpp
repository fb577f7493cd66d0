#include "main/ReaderSuggestions.h"

#include "link/PcscReader.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
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
    // The focus coming back from the completions' own popup is no new visit: a
    // list read again then would drop the entry that Return is choosing.
    const bool visit = event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
    if (visit)
        m_names->setStringList(DeviceNames());
    const bool down = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down;
    if (down && !m_completer->popup()->isVisible() && m_names->rowCount() > 0) {
        m_completer->setCompletionPrefix(QString());
        m_completer->complete();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
