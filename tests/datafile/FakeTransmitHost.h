#pragma once

#include "datafile/TransmitHost.h"

#include <QStringList>
#include <functional>

// A main window for transmission tests: the Raw Data lines and the delay texts
// are set by the test, and every visible effect is recorded in order in `events`.
class FakeTransmitHost : public TransmitHost {
public:
    QStringList raw;
    bool active = true;
    QString byteDelay = QStringLiteral("0");
    QString commandDelay = QStringLiteral("0");
    // Called after each byte is recorded (a test may act "while the byte goes out").
    std::function<void(quint8)> onPut;

    QStringList events; // "put 5F", "status Ready. 008000", "log \r\n", ...
    int responseClears = 0;
    int byteDelayReads = 0;

    bool Active() override { return active; }
    void ClearResponse() override { ++responseClears; }
    qsizetype RawLineCount() override { return raw.size(); }
    QString RawLine(qsizetype index) override { return raw.at(index); }
    void SetStatus(const QString& text, quint32 colour) override;
    void PutByte(quint8 byte) override;
    QString ByteDelayText() override;
    QString CommandDelayText() override { return commandDelay; }
    void LogAtCaret(const QString& text) override { events << "log " + text; }

    QStringList puts() const { return events.filter(QStringLiteral("put ")); }
};
