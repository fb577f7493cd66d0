#include "windows/TracePage.h"

#include "trace/TraceFilterModel.h"
#include "trace/TraceModel.h"
#include "trace/TraceText.h"
#include "windows/TimingChart.h"
#include "ui_TracePage.h"

#include <QScrollBar>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// New traffic goes to the decoding every so often; its rows show once it is decoded.
constexpr auto PollInterval = 150ms;
// The filter follows the typing once it pauses.
constexpr auto FilterPause = 250ms;

} // namespace

TracePage::TracePage(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::TracePage>())
{
    m_ui->setupUi(this);
    m_ui->TraceSplitter->setStretchFactor(0, 1);
    m_ui->TraceSplitter->setStretchFactor(1, 3);
    m_ui->TraceSplitter->setStretchFactor(2, 1);
    m_ui->TraceFields->header()->setStretchLastSection(true);
    m_filterPause.setSingleShot(true);
    m_filterPause.setInterval(FilterPause);
    connect(&m_filterPause, &QTimer::timeout, this, &TracePage::ApplyFilter);
    connect(m_ui->TraceFilter, &QLineEdit::textChanged, this, [this] { m_filterPause.start(); });
    connect(m_ui->TraceFilter, &QLineEdit::returnPressed, this, &TracePage::ApplyFilter);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (m_model)
            m_model->Hand();
    });
    connect(m_ui->TraceChart, &TimingChart::RowChosen, this, &TracePage::SelectRow);
}

TracePage::~TracePage() = default;

void TracePage::Follow(const LinkTimeline& timeline)
{
    auto model = std::make_unique<TraceModel>(timeline);
    auto filter = std::make_unique<TraceFilterModel>(*model);
    filter->SetText(m_ui->TraceFilter->text());
    // A view leaves the selection model of the model it had to its caller.
    const QItemSelectionModel* earlier = m_ui->TraceTable->selectionModel();
    m_ui->TraceTable->setModel(filter.get());
    delete earlier;
    m_filter = std::move(filter);
    m_ui->TraceChart->SetModel(model.get());
    m_model = std::move(model);
    SizeColumns();
    ConnectModels();
    ShowFields();
    ShowRowCount();
    m_poll.start(PollInterval);
}

void TracePage::ConnectModels()
{
    connect(m_ui->TraceTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        ShowFields();
        // A row that the filter hid stays marked on the chart.
        if (CurrentRow() >= 0)
            m_ui->TraceChart->ShowRow(CurrentRow());
    });
    connect(m_model.get(), &TraceModel::dataChanged, this, [this](const QModelIndex& top, const QModelIndex& bottom) {
        const int row = CurrentRow();
        if (row >= top.row() && row <= bottom.row())
            ShowFields();
    });
    connect(m_model.get(), &TraceModel::modelReset, this, &TracePage::ShowFields);
    connect(m_model.get(), &TraceModel::Decoded, this, &TracePage::ShowDecoded);
}

// Widths for the figures and sixteen bytes; the meaning takes the rest.
void TracePage::SizeColumns()
{
    const QFontMetrics metrics = m_ui->TraceTable->fontMetrics();
    QHeaderView& columns = *m_ui->TraceTable->horizontalHeader();
    const int padding = metrics.averageCharWidth() * 3;
    columns.resizeSection(TimeColumn, metrics.horizontalAdvance(QStringLiteral("000000.000")) + padding);
    columns.resizeSection(SilenceColumn, metrics.horizontalAdvance(QStringLiteral("silence (ms)")) + padding);
    columns.resizeSection(DirectionColumn, metrics.horizontalAdvance(QStringLiteral("from card")) + padding);
    columns.resizeSection(BytesColumn, metrics.horizontalAdvance(QStringLiteral("00 ").repeated(16)) + padding);
    QHeaderView& rows = *m_ui->TraceTable->verticalHeader();
    rows.setSectionResizeMode(QHeaderView::Fixed);
    rows.setDefaultSectionSize(metrics.height() + 4);
}

bool TracePage::Update()
{
    if (m_model)
        m_model->Hand();
    return ShowDecoded();
}

bool TracePage::ShowDecoded()
{
    if (!m_model)
        return true;
    const QScrollBar& scroll = *m_ui->TraceTable->verticalScrollBar();
    const bool following = scroll.value() == scroll.maximum();
    const bool caughtUp = m_model->Show(0ms);
    if (following)
        m_ui->TraceTable->scrollToBottom();
    ShowRowCount();
    return caughtUp;
}

void TracePage::ApplyFilter()
{
    m_filterPause.stop();
    if (!m_filter)
        return;
    m_filter->SetText(m_ui->TraceFilter->text());
    // A selected row that the filter hides is no longer current, without a word from the view.
    ShowFields();
    ShowRowCount();
}

int TracePage::CurrentRow() const
{
    const QModelIndex current = m_ui->TraceTable->currentIndex();
    return current.isValid() ? m_filter->SourceRow(current.row()) : -1;
}

// The row the chart chose, selected in the table; none when the filter hides it.
void TracePage::SelectRow(int row)
{
    if (m_model && row < m_model->rowCount())
        m_ui->TraceTable->setCurrentIndex(m_filter->mapFromSource(m_model->index(row, 0)));
}

TimingChart& TracePage::chart() const { return *m_ui->TraceChart; }

void TracePage::ShowFields()
{
    // The fields of an exchange under way are shown again as it grows; unchanged
    // ones stay as they are, with the pane's scroll position and selection.
    QList<TraceField> fields = m_model ? m_model->Fields(CurrentRow()) : QList<TraceField>();
    if (fields == m_fields)
        return;
    m_fields = std::move(fields);
    QTreeWidget& pane = *m_ui->TraceFields;
    pane.clear();
    for (const TraceField& field : std::as_const(m_fields))
        pane.addTopLevelItem(new QTreeWidgetItem(QStringList{field.name, field.value}));
    pane.resizeColumnToContents(0);
}

void TracePage::ShowRowCount()
{
    const int all = m_model ? m_model->rowCount() : 0;
    const int shown = m_filter ? m_filter->rowCount() : 0;
    m_ui->RowCount->setText(shown == all ? QStringLiteral("%1 rows").arg(all)
                                         : QStringLiteral("%1 of %2 rows").arg(shown).arg(all));
}
