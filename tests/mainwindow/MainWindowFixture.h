#pragma once

#include "cardsim/CardSimulator.h"
#include "common/FakeDialogs.h"
#include "main/TMainForm.h"
#include "windows/TDisplayForm.h"

#include <QColor>
#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class QPlainTextEdit;

// The main window with fake dialogs and a real display window, its program folder
// (settings file and scripts) in a temporary folder. The card simulator is made
// when a test first asks for it; the window goes before it.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    TMainForm& form() { return *m_form; }
    Ui::TMainForm& ui() { return m_form->ui(); }
    FakeDialogs& dialogs() { return m_dialogs; }
    TDisplayForm& displayWindow() { return *m_display; }
    CardSimulator& simulator();
    QString folderPath(const QString& name) const { return m_folder.filePath(name); }

    void writeFile(const QString& name, const QByteArray& content) const;
    QByteArray readFile(const QString& name) const;
    // The lines of [SYSTEM] in kestrin.ini.
    void writeSettings(const QStringList& keyLines) const;

    // Shows the window and waits for its FormShow (which empties the Data File pane).
    void showForm();
    // The simulator as COMPORT, no byte delay and a short command delay.
    void useSimulator();
    // Presses Initialize with the simulator as COMPORT and waits for the card's ATR.
    void startLink();
    // Copies the sample scripts into the program folder.
    void copySampleScripts() const;

    // Pumps messages until `condition` holds; false if it never does.
    static bool pumpUntil(const std::function<bool()>& condition);
    // Pumps a few hundred passes, so that what is under way arrives.
    static void settle();
    // Runs `action` once, at the first message-pump pass at which `condition` holds.
    void onceWhen(std::function<bool()> condition, std::function<void()> action);
    // `action` at the next message-pump pass.
    void atNextPass(std::function<void()> action);

    QString log() const;
    QString displayText() const;
    static QStringList lines(const QPlainTextEdit& editor);
    QString statText() const;
    QColor statColour() const;
    QColor lightColour() const;
    // What the card received, as "A0 A4 ..." (upper case).
    QString received();
    QStringList shownTexts(const QString& kind) const { return m_dialogs.texts(kind); }

    static const QColor Green;
    static const QColor Red;

private:
    QTemporaryDir m_folder;
    FakeDialogs m_dialogs;
    QObject m_timers;
    std::unique_ptr<CardSimulator> m_simulator;
    std::unique_ptr<TDisplayForm> m_display = std::make_unique<TDisplayForm>();
    std::unique_ptr<TMainForm> m_form;
};
