#include "main/TMainForm.h"

#include "base/Colours.h"
#include "base/Dialogs.h"
#include "base/ErrorBoundary.h"
#include "base/MessagePump.h"
#include "base/ProgramFolder.h"
#include "base/Settings.h"
#include "main/DeviceCaption.h"
#include "main/ReaderSuggestions.h"
#include "ui_TMainForm.h"
#include "windows/TDisplayForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QTimer>

namespace {

QString ColourName(quint32 colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(Colours::RedOf(colour), 2, 16, QLatin1Char('0'))
        .arg(Colours::GreenOf(colour), 2, 16, QLatin1Char('0'))
        .arg(Colours::BlueOf(colour), 2, 16, QLatin1Char('0'));
}
} // namespace

TMainForm::TMainForm(Dialogs& dialogs, TDisplayForm& display, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TMainForm>()), m_dialogs(dialogs), m_display(display)
{
    m_ui->setupUi(this);
    new ReaderSuggestions(*m_ui->COMLIST);
    StyleControls();
    SetStatus(QStringLiteral("Ready."), Colours::Teal);
    ShowPortOpen(false);
    ConnectControls();
    ConnectRunControls();
    ConnectScriptsPage();
    m_ui->TraceSheet->Follow(Link().Timeline());
}

TMainForm::~TMainForm() = default;

void TMainForm::ConnectControls()
{
    connect(m_ui->COMLIST, &QLineEdit::textChanged, this, &TMainForm::COMLISTChange);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(m_ui->Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(m_ui->Save1, &QAction::triggered, this, &TMainForm::Save1Click);
    connect(m_ui->SaveTranscript1, &QAction::triggered, this, &TMainForm::SaveTranscript1Click);
    connect(m_ui->ExportTrace1, &QAction::triggered, this, &TMainForm::ExportTrace1Click);
    connect(m_ui->ExportTimingChart1, &QAction::triggered, this, &TMainForm::ExportTimingChart1Click);
    connect(m_ui->OpenXPL1, &QAction::triggered, this, &TMainForm::OpenXPL1Click);
    connect(m_ui->CustomCommand1, &QAction::triggered, this, &TMainForm::CustomCommand1Click);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window has appeared: a start pumps messages for a while.
    QTimer::singleShot(0, this, [this] { RunGuarded(m_dialogs, [this] { FormShow(); }); });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TMainForm::FormShow()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    InitializeAll();
    if (m_ui->AutoInit->isChecked())
        StartCard();
}

void TMainForm::InitializeAll()
{
    m_ui->Memo1->Clear();
    m_ui->dat->clear();
    m_ui->raw->clear();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    m_ui->Script->clear();
    ListScripts(ScriptsFolder());
    m_ui->BaudRate->setCurrentIndex(0);
    m_ui->SettingsFile->setText(QDir::toNativeSeparators(SettingsPath()));
    if (const auto echo = LoadPcscEcho(SettingsPath())) // a choice of its own, held without [SYSTEM]
        m_ui->PcscEcho->setChecked(*echo);
    const auto values = LoadSettings(SettingsPath());
    if (!values)
        return;
    m_ui->COMLIST->setText(values->com);
    m_ui->Delay->setText(values->byteDelay);
    m_ui->CmdDelay->setText(values->commandDelay);
    m_ui->AutoInit->setChecked(values->autoInit);
}

void TMainForm::StartCard() { m_session.StartCard(); }

void TMainForm::COMLISTChange()
{
    ShowDeviceName(*m_ui->ComLabel, m_ui->COMLIST->text(), m_ui->Light1->maximumWidth());
}

void TMainForm::Button1Click()
{
    RunGuarded(m_dialogs, [this] {
        SaveSettings(SettingsPath(), {m_ui->COMLIST->text(), m_ui->Delay->text(), m_ui->CmdDelay->text(),
                                      m_ui->AutoInit->isChecked(), m_ui->PcscEcho->isChecked()});
    });
}

void TMainForm::FormClose()
{
    // Every wait ends and every run stops at its next check.
    MessagePump::SetClosing(true);
    m_session.Link().Stop();
    m_display.hide();
}

void TMainForm::SetStatus(const QString& text, quint32 colour)
{
    m_ui->Stat->setText(text);
    m_ui->Stat->setColor(colour);
}

void TMainForm::ShowPortOpen(bool open)
{
    m_ui->Light1->setStyleSheet(
        QStringLiteral("#Light1 { background: %1; }").arg(ColourName(open ? Colours::Green : Colours::Red)));
}

void TMainForm::LogAtCaret(const QString& text) { m_ui->Memo1->InsertAtCaret(text); }

void TMainForm::DoText(const QString& text)
{
    m_display.InsertText(text);
    LogAtCaret(text);
}
