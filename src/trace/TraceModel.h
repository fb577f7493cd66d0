#pragma once

#include "link/LinkTimeline.h"
#include "trace/TraceDecoding.h"

#include <QAbstractTableModel>
#include <chrono>
#include <memory>

// The trace of a card link as a table that follows the link: Hand gives the
// events recorded since the hand-over before to a decoding on a thread of its
// own, and Show appends the rows decoded so far; Decoded says when to show. The rows of the exchange under way may
// still grow; they are announced as changed. A timeline that was emptied starts
// the table afresh. The columns are those of the trace's text form.
class TraceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The most events one Update hands over, so that a long timeline costs its
    // thread a short copy at a time.
    static constexpr qsizetype MostEventsHanded = 1 << 16;

    explicit TraceModel(const LinkTimeline& timeline, QObject* parent = nullptr);
    ~TraceModel() override;

    // Hands the events recorded since the last hand-over to the decoding:
    // MostEventsHanded at most, and the rest each time Show finds the
    // decoding caught up.
    void Hand();
    // Shows the rows decoded so far, waiting up to `wait` for every event
    // handed over; true once all the timeline's events are shown.
    bool Show(std::chrono::milliseconds wait);
    bool Update(std::chrono::milliseconds wait)
    {
        Hand();
        return Show(wait);
    }

    // The trace and its timing as decoded so far, also rows not shown yet; the
    // decoding waits while the look lasts. Take one look at a time.
    TraceLook Look() const { return m_decoding->Look(); }
    // The fields of the ATR or exchange that a row belongs to.
    QList<TraceField> Fields(int row) const;
    // The row's columns as one line of text, as a filter looks at them.
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The decoding has caught up with the events handed over: Show shows them.
    void Decoded();

private:
    std::unique_ptr<TraceDecoding> NewDecoding();
    void Restart();
    void Announce(const DecodingProgress& progress);

    const LinkTimeline& m_timeline;
    std::unique_ptr<TraceDecoding> m_decoding = NewDecoding();
    qsizetype m_fed = 0;       // events handed over
    bool m_leftOver = false;   // the last hand-over left events for the next
    qsizetype m_announced = 0; // events decoded when the rows were last announced
    int m_shown = 0;           // rows announced
    int m_unsettled = 0;       // the first row that may have changed since
    int m_rereads = 0;         // the decoding's rereads when the rows were last announced
};
