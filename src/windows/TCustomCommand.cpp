#include "windows/TCustomCommand.h"

#include "ui_TCustomCommand.h"

namespace {
constexpr QPoint DesignedPosition{219, 291};
}

TCustomCommand::TCustomCommand(QWidget* parent) : NoEscapeDialog(parent), m_ui(std::make_unique<Ui::TCustomCommand>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    // Above the always-on-top system display, which would otherwise hide it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    move(DesignedPosition);
    m_ui->command->setFocus();
    connect(m_ui->SendBtn, &QPushButton::clicked, this, &TCustomCommand::SendBtnClick);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TCustomCommand::Button2Click);
    connect(m_ui->command, &QLineEdit::returnPressed, this, &TCustomCommand::commandKeyPress);
}

TCustomCommand::~TCustomCommand() = default;

std::optional<QString> TCustomCommand::Run()
{
    BeginShowing();
    exec();
    return Outcome();
}

// The dialog is reused: a click on Cancel left that button the focus, which every
// showing gives back to the line, selected so that typing replaces it.
void TCustomCommand::BeginShowing()
{
    m_sendFlag = 0;
    m_ui->command->selectAll();
    m_ui->command->setFocus();
}

std::optional<QString> TCustomCommand::Outcome() const
{
    if (m_sendFlag != 1)
        return std::nullopt;
    return m_ui->command->text();
}

void TCustomCommand::SendBtnClick()
{
    m_sendFlag = 1;
    accept();
}

void TCustomCommand::Button2Click()
{
    m_sendFlag = 0;
    reject();
}

// Enter in the edit is a click of Send; every other key belongs to the edit.
void TCustomCommand::commandKeyPress()
{
    m_ui->SendBtn->click();
}
