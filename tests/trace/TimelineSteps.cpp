#include "TimelineSteps.h"

#include "cardsim/SimulatedRun.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

constexpr qint64 StepNs = 1'000'000;

} // namespace

LinkTimeline Steps(const QString& steps)
{
    LinkTimeline timeline;
    qint64 now = 0;
    for (const QString& step : steps.split(u';', Qt::SkipEmptyParts)) {
        const QString text = step.trimmed();
        const QString word = text.section(u' ', 0, 0);
        const QString rest = text.section(u' ', 1);
        const QByteArray bytes = QByteArray::fromHex(rest.toLatin1());
        if (word == u">") {
            for (char byte : bytes) {
                timeline.AddSent(now, QByteArrayView(&byte, 1));
                now += StepNs;
            }
            continue;
        }
        if (word == u"<")
            timeline.AddReceived(now, bytes);
        else if (word == u"open")
            timeline.AddOpened(now, rest.toLongLong());
        else if (word == u"close")
            timeline.AddClosed(now);
        else if (word == u"line")
            timeline.AddLineControl(now, LineFunction(rest.toInt()));
        else if (word == u"baud")
            timeline.AddBaudChanged(now, rest.toInt());
        else if (word == u"note")
            timeline.AddReaderNote(now, quint8(rest.section(u' ', 0, 0).toInt()),
                                   QByteArray::fromHex(rest.section(u' ', 1).toLatin1()));
        else if (word == u"wait")
            now += rest.toLongLong() * StepNs;
        else
            ADD_FAILURE() << "unknown step " << text.toStdString();
        now += StepNs;
    }
    return timeline;
}

LinkTimeline RandomTraffic(QRandomGenerator& random, qint64& bytes)
{
    LinkTimeline timeline;
    bytes = 0;
    for (int event = 0; event < 400; ++event) {
        QByteArray chunk(random.bounded(1, 8), '\0');
        for (char& byte : chunk)
            byte = char(random.bounded(4) ? QByteArray::fromHex("3B3F6061909FA0A4C000FF")[random.bounded(11)]
                                          : random.bounded(256));
        const int kind = random.bounded(20);
        if (kind == 0)
            timeline.AddOpened(event, event);
        else if (kind == 1)
            timeline.AddLineControl(event, LineFunction(random.bounded(10)));
        else if (kind == 2)
            timeline.AddBaudChanged(event, 19200);
        else if (kind < 10)
            timeline.AddSent(event, chunk);
        else
            timeline.AddReceived(event, chunk);
        bytes += kind >= 3 ? chunk.size() : 0;
    }
    return timeline;
}

LinkTimeline DemoRun()
{
    SimulatedRun run;
    run.Open();
    run.Send(QByteArray::fromHex("A0 A4 00 00 02 3F 00"));
    run.Send(QByteArray::fromHex("A0 C0 00 00 0F"));
    run.Send(QByteArray::fromHex("00 A4 00 00 02 2F E2"));
    run.Send(QByteArray::fromHex("00 B0 00 00 0A"));
    run.Close();
    run.Open(QByteArray::fromHex("3F 96 18 80 1F C7 80 31 E0 73 FE 21 2B"));
    return run.Timeline();
}
