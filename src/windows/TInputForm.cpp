#include "windows/TInputForm.h"

#include "ui_TInputForm.h"

TInputForm::TInputForm(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TInputForm>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    // Above the always-on-top system display, which would otherwise hide the question.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(m_ui->OKBTN, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::reject);
}

TInputForm::~TInputForm() = default;

std::optional<QString> TInputForm::Ask(const QString& prompt)
{
    BeginShowing(prompt);
    exec();
    return Outcome();
}

void TInputForm::BeginShowing(const QString& prompt)
{
    m_ui->Display->setText(prompt);
    m_ui->Data->setAccessibleDescription(prompt);
    m_ui->Data->selectAll();
    m_ui->Data->setFocus();
    setResult(QDialog::Rejected);
}

std::optional<QString> TInputForm::Outcome() const
{
    if (result() != QDialog::Accepted)
        return std::nullopt;
    return m_ui->Data->text();
}
