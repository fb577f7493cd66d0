#include "line/LineSummary.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {

using Row = std::array<QString, 5>;

QString TableText(const QList<Row>& rows)
{
    std::array<qsizetype, 5> widths{};
    for (const Row& row : rows)
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QString text;
    for (const Row& row : rows) {
        QString line;
        for (size_t column = 0; column < row.size(); ++column) {
            const bool number = column == 1; // the card's number, right-aligned
            line += (number ? row[column].rightJustified(widths[column]) : row[column].leftJustified(widths[column]));
            line += QStringLiteral("  ");
        }
        text += line.trimmed() + u'\n';
    }
    return text;
}

} // namespace

QString SummaryTable(QList<CardResult> results)
{
    std::sort(results.begin(), results.end(), [](const CardResult& a, const CardResult& b) { return a.card < b.card; });
    QList<Row> rows{{QStringLiteral("interface"), QStringLiteral("card"), QStringLiteral("ATR"), QStringLiteral("result"),
                     QStringLiteral("time")}};
    qsizetype passed = 0;
    for (const CardResult& result : std::as_const(results)) {
        passed += result.status == 0 ? 1 : 0;
        rows.append({result.interfaceLabel, QString::number(result.card), result.atr.isEmpty() ? QStringLiteral("-") : result.atr,
                     ResultText(result), QStringLiteral("%1 s").arg(result.seconds, 0, 'f', 2)});
    }
    return TableText(rows) + QStringLiteral("%1 cards: %2 passed, %3 failed\n")
                                 .arg(results.size())
                                 .arg(passed)
                                 .arg(results.size() - passed);
}
