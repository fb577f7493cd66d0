#include "windows/TLogoForm.h"

#include "base/Colours.h"
#include "base/MessagePump.h"
#include "ui_TLogoForm.h"
#include "widgets/Pictures.h"
#include "windows/AboutText.h"
#include "windows/QtColour.h"

#include <QMouseEvent>
#include <chrono>

namespace {
constexpr std::chrono::milliseconds RevealTick{30};
constexpr qint64 PassesPerStep = 200;
constexpr QPoint DesignedPosition{148, 32};

void ShowPicture(QLabel* place, const QString& path)
{
    place->setPixmap(RenderSvgPixmap(path, place->size()));
}
} // namespace

TLogoForm::TLogoForm(QWidget* parent)
    : NoEscapeDialog(parent), m_ui(std::make_unique<Ui::TLogoForm>()), m_reveal(*this, AboutText)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(size());
    move(DesignedPosition);
    m_ui->Label3D1->setColor(Colours::Black);
    m_ui->Label3D1->setFontColor(Colours::White);
    LoadPictures();
    m_ui->Image3->installEventFilter(this);
    connect(m_ui->Label1, &QPushButton::clicked, this, &TLogoForm::Image3Click);
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(RevealTick);
    connect(&m_timer, &QTimer::timeout, this, &TLogoForm::Timer1Timer);
    m_timer.start();
}

TLogoForm::~TLogoForm() = default;

void TLogoForm::LoadPictures()
{
    ShowPicture(m_ui->Image1, QStringLiteral(":/pictures/splash-artwork.svg"));
    ShowPicture(m_ui->Image2, QStringLiteral(":/pictures/logo.svg"));
    ShowPicture(m_ui->Image3, QStringLiteral(":/pictures/proceed.svg"));
}

void TLogoForm::Timer1Timer()
{
    m_reveal.Step();
}

void TLogoForm::Image3Click()
{
    close();
}

void TLogoForm::showEvent(QShowEvent* event)
{
    m_ui->Disp->clear();
    m_ui->Label1->setFocus();
    NoEscapeDialog::showEvent(event);
}

bool TLogoForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        m_ui->Image1->update();
        m_reveal.Activate();
    }
    return NoEscapeDialog::event(event);
}

void TLogoForm::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    NoEscapeDialog::closeEvent(event);
}

bool TLogoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Image3 && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && m_ui->Image3->rect().contains(release->position().toPoint()))
            Image3Click();
        return true;
    }
    return NoEscapeDialog::eventFilter(watched, event);
}

void TLogoForm::SetInsertColour(quint32 colour)
{
    m_insertFormat.setForeground(ToQColor(colour));
}

// The reveal always writes at the end of Disp and keeps the newest line in view.
void TLogoForm::InsertCharacter(char character)
{
    QTextCursor cursor(m_ui->Disp->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString(QChar::fromLatin1(character)), m_insertFormat);
    m_ui->Disp->setTextCursor(cursor);
    m_ui->Disp->ensureCursorVisible();
}

void TLogoForm::PumpMessages()
{
    MessagePump::PumpTimes(PassesPerStep);
}
