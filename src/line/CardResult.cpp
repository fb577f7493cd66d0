#include "line/CardResult.h"

#include "run/RunStop.h"

#include <algorithm>

QString ResultText(const CardResult& result)
{
    switch (ExitStatus(result.status)) {
    case ExitStatus::Done:
        return QStringLiteral("passed");
    case ExitStatus::Differs:
        return QStringLiteral("differs");
    default:
        break;
    }
    return result.why.isEmpty() ? QStringLiteral("exit status %1").arg(result.status) : result.why;
}

int WorstStatus(const QList<CardResult>& results)
{
    int worst = int(ExitStatus::Done);
    for (const CardResult& result : results)
        worst = std::max(worst, result.status);
    return worst;
}
