// A script of 100,000 lines (REM, INC, empty lines) run by Send Data from the
// current script editor of the real main window, with the real message pump and
// status label. Prints lines per second; the target is at least 50,000.
#include "WindowScriptRun.h"
#include "common/Offscreen.h"

#include <QApplication>
#include <cstdio>

namespace {

void RunOnce(WindowScriptRun& run, const char* label)
{
    const double seconds = run.RunSeconds();
    std::printf("%s: %d lines in %.3f s = %.0f lines/s (target >= 50000); P1 = %s\n", label, BenchScriptLines, seconds,
                BenchScriptLines / seconds, qPrintable(run.P1()));
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    WindowScriptRun run;
    RunOnce(run, "first run");
    RunOnce(run, "second run");
    return 0;
}
