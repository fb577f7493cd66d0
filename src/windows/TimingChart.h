#pragma once

#include "windows/TimingPicture.h"

#include <QPointer>
#include <QWidget>
#include <optional>

struct Trace;
class TraceModel;

// The timing chart of the Trace page: each exchange a bar from its header to
// its status word, coloured by the status word's class, the card's answer time
// lighter inside it; NULL bytes as ticks above the bars, resets as dashed lines.
// It shows all the traffic until zoomed (the wheel, + and -) or moved (a drag,
// the wheel sideways, Left and Right, Home and End); 0 shows all again. A span
// that reaches the newest traffic keeps following it. A click on a bar or mark,
// or Up and Down for the exchange before and after, chooses its row.
class TimingChart : public QWidget {
    Q_OBJECT
public:
    explicit TimingChart(QWidget* parent = nullptr);

    // Shows the timing of the model's trace.
    void SetModel(const TraceModel* model);
    // Marks the bar or mark of a trace row (none for -1) and brings it into view.
    void ShowRow(int row);
    int SelectedRow() const { return m_selectedRow; }

    TimeSpan Span() const;
    void ZoomBy(double factor, double anchor = 0.5);
    void PanBy(double fraction);
    void ShowAll();
    void ShowStart();
    void ShowEnd();
    void StepExchange(int by);

    // The chart as it is in view, drawn at `size`.
    void Render(QPainter& painter, const QSize& size) const;
    // The chart in words: the exchanges, the span in view and the selection.
    QString Summary() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A click or key chose the bar or mark of a trace row.
    void RowChosen(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Restart();
    TimeSpan SpanOf(const TraceTiming& timing) const;
    // A span the operator chose: all the traffic again once it shows all of it.
    void ChooseSpan(const std::function<TimeSpan(const TimeSpan& span, const TimeSpan& whole)>& choose);
    ChartGeometry Geometry(const QSizeF& size) const;
    std::optional<TimeRange> Selection(const Trace& trace, const TraceTiming& timing) const;
    int RowAtPoint(const QPointF& point) const;
    QString RowDescription(int row) const;
    void ChooseRow(int row);
    void Changed();

    QPointer<const TraceModel> m_model;
    TimeSpan m_span;
    bool m_all = true;        // shows all the traffic, however much comes
    bool m_following = false; // keeps the newest traffic at the right edge
    int m_selectedRow = -1;
    std::optional<QPointF> m_pressedAt;
    TimeSpan m_pressedSpan;
    bool m_dragging = false;
};
