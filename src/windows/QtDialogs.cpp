#include "windows/QtDialogs.h"

#include "windows/FileFilter.h"
#include "windows/TCustomCommand.h"
#include "windows/TInputForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// The boxes are captioned with the application title ("Kestrin T.R.X").
QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

int ShowBoxOf(QMessageBox::Icon icon, const QString& caption, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint); // never hidden by the system display
    return box.exec();
}

std::optional<QString> RunFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (!request.caption.isEmpty())
        dialog.setWindowTitle(request.caption);
    dialog.setNameFilters(NameFilters(request.filter));
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QtDialogs::QtDialogs(TInputForm& inputForm, TCustomCommand& customCommand)
    : m_inputForm(inputForm), m_customCommand(customCommand)
{
}

void QtDialogs::ShowMessage(const QString& text)
{
    ShowBoxOf(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok);
}

void QtDialogs::ShowBox(const QString& caption, const QString& text)
{
    ShowBoxOf(QMessageBox::Warning, caption, text, QMessageBox::Ok);
}

void QtDialogs::ShowError(const QString& text)
{
    ShowBoxOf(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok);
}

bool QtDialogs::AskOkCancel(const QString& text)
{
    return ShowBoxOf(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::optional<QString> QtDialogs::AskOpenFile(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, request);
}

// An existing file is replaced without a question.
std::optional<QString> QtDialogs::AskSaveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return RunFileDialog(dialog, request);
}

std::optional<QString> QtDialogs::AskParameter(const QString& prompt)
{
    return m_inputForm.Ask(prompt);
}

std::optional<QString> QtDialogs::AskDataLine()
{
    return m_customCommand.Run();
}
