#include "windows/TDisplayForm.h"

#include "base/Colours.h"
#include "ui_TDisplayForm.h"
#include "windows/QtColour.h"

#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>

namespace {
constexpr quint32 LightBlue = Colours::Rgb(72, 191, 225);
}

TDisplayForm::TDisplayForm(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::TDisplayForm>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Closing this window only hides it; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The text area takes its font and background in code: under a style sheet its
    // viewport keeps a palette of its own and ignores the background colour set here.
    QFont font(QStringLiteral("MS Serif"));
    font.setPixelSize(13);
    m_ui->display->setFont(font);
    SetBackgroundColour(LightBlue);
    m_ui->display->installEventFilter(this);
    connect(m_ui->SpeedButton1, &QToolButton::clicked, this, &TDisplayForm::SpeedButton1Click);
}

TDisplayForm::~TDisplayForm() = default;

void TDisplayForm::ShowDisplay()
{
    show();
    raise();
    activateWindow();
}

void TDisplayForm::HideDisplay()
{
    hide();
}

void TDisplayForm::ClearText()
{
    m_ui->display->clear();
}

void TDisplayForm::SetBackgroundColour(quint32 colour)
{
    QPalette palette = m_ui->display->palette();
    palette.setColor(QPalette::Base, ToQColor(colour));
    m_ui->display->setPalette(palette);
}

void TDisplayForm::SetTextColour(quint32 colour)
{
    m_insertFormat.setForeground(ToQColor(colour));
}

void TDisplayForm::SetBold(bool on)
{
    m_insertFormat.setFontWeight(on ? QFont::Bold : QFont::Normal);
}

void TDisplayForm::SetItalic(bool on)
{
    m_insertFormat.setFontItalic(on);
}

void TDisplayForm::InsertText(const QString& text)
{
    // QTextCursor turns CR and LF alike into a new block, so a CR LF pair would make two.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor = m_ui->display->textCursor();
    cursor.insertText(lines, m_insertFormat);
    m_ui->display->setTextCursor(cursor);
}

// Each turn from hidden to shown covers the whole primary screen again.
void TDisplayForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
    }
    QWidget::showEvent(event);
}

// Tab types a tab into the text, so Ctrl+Tab (and Ctrl+Shift+Tab) is the way out of it.
bool TDisplayForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->display && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && key->modifiers().testFlag(Qt::ControlModifier))
            return focusNextPrevChild(key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier));
    }
    return QWidget::eventFilter(watched, event);
}

void TDisplayForm::SpeedButton1Click()
{
    close();
}
