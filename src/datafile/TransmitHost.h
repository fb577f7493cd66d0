#pragma once

#include <QString>
#include <QtGlobal>

// What a data-file transmission needs from the main window.
class TransmitHost {
public:
    virtual ~TransmitHost() = default;

    // The "Active" check box: the run goes on to its next line only while it is checked.
    virtual bool Active() = 0;
    // Empties the response text.
    virtual void ClearResponse() = 0;
    // The lines of the Raw Data pane as they stand now (it may be edited during a run).
    virtual qsizetype RawLineCount() = 0;
    virtual QString RawLine(qsizetype index) = 0;
    // Where a Raw Data line came from, for a message about it.
    virtual QString RawLinePlace(qsizetype index) { return QStringLiteral("Raw Data line %1").arg(index + 1); }
    // The status label's text and background (0x00BBGGRR).
    virtual void SetStatus(const QString& text, quint32 colour) = 0;
    // Hands one byte, already in the inverse convention, to the card link.
    virtual void PutByte(quint8 byte) = 0;
    // The texts of the BYTE DELAY and COMMAND DELAY fields.
    virtual QString ByteDelayText() = 0;
    virtual QString CommandDelayText() = 0;
    // Inserts text into the Active Log at its caret.
    virtual void LogAtCaret(const QString& text) = 0;
};
