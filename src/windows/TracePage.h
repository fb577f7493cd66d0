#pragma once

#include "trace/TraceField.h"

#include <QList>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace Ui {
class TracePage;
}
class LinkTimeline;
class TimingChart;
class TraceFilterModel;
class TraceModel;

// The Trace page: the decoded traffic of a card link in a table that follows it,
// a filter field and the timing chart above the table and the fields of the
// selected ATR or exchange below it; the chart and the table select together.
// The page hands new traffic to the decoding's own thread every so often and
// shows the rows once they are decoded, so a fast stream costs the window one
// short copy and one showing of new rows per look.
class TracePage : public QWidget {
    Q_OBJECT
public:
    explicit TracePage(QWidget* parent = nullptr);
    ~TracePage() override;

    // Shows the trace of `timeline` from now on; it must outlive the page.
    void Follow(const LinkTimeline& timeline);
    // Hands what the timeline gained since the last look to the decoding and
    // shows what it has decoded, without waiting; false while some is left.
    bool Update();

    TraceModel* model() const { return m_model.get(); }
    TimingChart& chart() const;

private:
    void ConnectModels();
    void SizeColumns();
    bool ShowDecoded();
    void ApplyFilter();
    void ShowFields();
    void ShowRowCount();
    int CurrentRow() const;
    void SelectRow(int row);

    std::unique_ptr<Ui::TracePage> m_ui;
    std::unique_ptr<TraceModel> m_model;
    std::unique_ptr<TraceFilterModel> m_filter;
    QList<TraceField> m_fields; // shown in the detail pane
    QTimer m_poll;
    QTimer m_filterPause;
};
