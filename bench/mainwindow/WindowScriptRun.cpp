#include "WindowScriptRun.h"

#include "ui_TMainForm.h"

#include <QApplication>
#include <QElapsedTimer>

QString BenchScriptText()
{
    const QString block[] = {QStringLiteral("REM counting"), QStringLiteral("INC(P1)"), QString()};
    QStringList lines;
    for (int i = 0; i < BenchScriptLines; ++i)
        lines << block[i % 3];
    return lines.join(u'\n');
}

WindowScriptRun::WindowScriptRun()
{
    m_form.show();
    QApplication::processEvents(); // the window's first showing loads the settings and clears the panes
    // A start that fails still counts as initialised, so Send Data runs the script.
    m_form.ui().COMLIST->setText(QStringLiteral("/nonexistent/kestrin-bench"));
    m_form.Link().Start();
    m_form.ui().Script->setPlainText(BenchScriptText());
    m_form.ui().DataTab->setCurrentWidget(m_form.ui().ScriptTab);
}

double WindowScriptRun::RunSeconds()
{
    QElapsedTimer timer;
    timer.start();
    m_form.ExplorerButton4Click();
    return timer.nsecsElapsed() / 1e9;
}
