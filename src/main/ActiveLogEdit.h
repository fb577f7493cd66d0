#pragma once

#include "base/RtfWriter.h"

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTimer>
#include <chrono>

// The Active Log: everything received, the line ends after each command and the
// script output, in the order they came. The operator reads, scrolls, selects and
// copies, and may place the caret; new text goes in at the caret, so at the end of
// the log unless the operator has moved it.
//
// Inserts are collected and applied in batches, and a long line is shown as display
// blocks of at most MaxBlockLength characters, so the cost of a received byte stays
// flat however long its line grows.
class ActiveLogEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int MaxBlockLength = 2048;
    static constexpr qsizetype MaxPendingLength = 32 * 1024;
    static constexpr std::chrono::milliseconds BatchInterval{25};

    explicit ActiveLogEdit(QWidget* parent = nullptr);

    // Inserts `text` at the caret with the current insertion attributes
    // (currentCharFormat()). "\r\n", a lone "\r" or a lone "\n" is a line end.
    void InsertAtCaret(const QString& text);

    // The exact content, every line end as "\r\n".
    QString Text();

    // The content as formatted runs and line ends, for the rich-text writer.
    QList<TextRun> Runs();

    // Removes all text, pending text included; new text goes in at the start.
    void Clear();

    // Applies the text collected so far now.
    void Flush();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        QString text; // line ends as "\n"
        QTextCharFormat format;
    };

    void ApplyPending();
    void ApplyKeepingSelection(const QTextCursor& caret);
    void InsertPiece(const Pending& piece);
    void FollowCaret();

    QList<Pending> m_pending;
    qsizetype m_pendingLength = 0;
    QTimer m_batchTimer;
    QTextCursor m_insertion;
    bool m_applying = false;
};
