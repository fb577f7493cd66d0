#pragma once

#include "common/PrintedDialogs.h"
#include "main/TMainForm.h"
#include "windows/TDisplayForm.h"

#include <QString>

// The script benchmark: 100,000 lines (REM, INC, empty lines), no line end after the last.
inline constexpr int BenchScriptLines = 100000;
QString BenchScriptText();

// The benchmark script run by Send Data from the current script editor of the
// real main window, with the real message pump and status label. Needs a
// QApplication.
class WindowScriptRun {
public:
    WindowScriptRun();
    // Seconds one run of the whole script takes.
    double RunSeconds();
    QString P1() { return m_form.scriptState().parameters[0]; }

private:
    PrintedDialogs m_dialogs;
    TDisplayForm m_display;
    TMainForm m_form{m_dialogs, m_display};
};
