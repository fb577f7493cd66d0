#pragma once

#include "line/CardResult.h"
#include "line/LineInterfaces.h"
#include "line/PrefixedLines.h"
#include "line/StatusChannel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringDecoder>

// One card's run: a kestrin-run of its own (this program) on one interface,
// with the card's device and file names in its arguments, supervised. Its
// Active Log and its messages are passed on a line at a time with the
// interface and card in front; its status lines tell the ATR and the item
// under way; Finished follows its end, and the result is then complete.
class CardRun : public QObject {
    Q_OBJECT
public:
    // `transcriptPath`: the --record file among the arguments, read back at the
    // end into the result; empty for none.
    CardRun(const LineInterface& face, int card, const QStringList& arguments, const QString& transcriptPath);

    void Start();
    // Passes a signal on to the run, if it is under way.
    void Signal(int signal);

    const CardResult& Result() const { return m_result; }
    // The item under way, from 1; 0 while the card is started.
    qsizetype ItemRunning() const { return m_result.itemStarts.size(); }

signals:
    void Changed();
    void Finished();

private:
    void Follow(const QString& statusLine);
    void PassOnOutput();
    void PassOnMessages();
    void End();
    void FailToStart();

    QProcess m_process;
    StatusChannel m_status;
    QStringList m_arguments;
    QString m_transcriptPath;
    QStringDecoder m_outDecoder{QStringDecoder::Utf8};
    QStringDecoder m_errDecoder{QStringDecoder::Utf8};
    PrefixedLines m_out;
    PrefixedLines m_err;
    QElapsedTimer m_clock;
    CardResult m_result;
};
