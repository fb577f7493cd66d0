#include "main/ActiveLogEdit.h"

#include "base/Colours.h"
#include "main/ActiveLogAccessible.h"
#include "main/ActiveLogText.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QScrollBar>

namespace {

// Input that may move the caret: text collected before it still goes where the
// caret was.
bool MayMoveCaret(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
           type == QEvent::MouseMove || type == QEvent::KeyPress || type == QEvent::InputMethod;
}

LogFormat LogFormatOf(const QTextCharFormat& format)
{
    LogFormat log;
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor colour = format.foreground().color();
        log.colour = Colours::Rgb(colour.red(), colour.green(), colour.blue());
    }
    log.bold = format.fontWeight() >= QFont::DemiBold;
    log.italic = format.fontItalic();
    return log;
}

} // namespace

ActiveLogEdit::ActiveLogEdit(QWidget* parent) : QAbstractScrollArea(parent)
{
    InstallActiveLogAccessibility();
    setAccessibleName(QStringLiteral("Active Log"));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    m_fonts.SetFont(font());
    Rewrap();
    m_batchTimer.setSingleShot(true);
    m_batchTimer.setInterval(BatchInterval);
    connect(&m_batchTimer, &QTimer::timeout, this, &ActiveLogEdit::Flush);
    installEventFilter(this);
    viewport()->installEventFilter(this);
}

void ActiveLogEdit::InsertAtCaret(const QString& text)
{
    if (text.isEmpty())
        return;
    const LogFormat format = LogFormatOf(m_charFormat);
    const QString normalised = ActiveLogText::NormalisedLineEnds(text);
    if (!m_pending.isEmpty() && m_pending.last().format == format)
        m_pending.last().text += normalised;
    else
        m_pending.append({normalised, format});
    m_pendingLength += normalised.size();
    if (m_pendingLength >= MaxPendingLength)
        Flush();
    else if (!m_batchTimer.isActive())
        m_batchTimer.start();
}

QString ActiveLogEdit::Text()
{
    Flush();
    return m_content.Text(0, m_content.Length()).replace(u'\n', QStringLiteral("\r\n"));
}

QList<TextRun> ActiveLogEdit::Runs()
{
    Flush();
    return m_content.Runs();
}

void ActiveLogEdit::Clear()
{
    m_batchTimer.stop();
    m_pending.clear();
    m_pendingLength = 0;
    m_content.Clear();
    m_caret = m_anchor = m_insertion = 0;
    Rewrap();
}

void ActiveLogEdit::setCurrentCharFormat(const QTextCharFormat& format) { m_charFormat = format; }

void ActiveLogEdit::Flush()
{
    m_batchTimer.stop();
    if (m_pending.isEmpty())
        return;
    const bool followEnd = !HasSelection() && m_caret == m_content.Length();
    ApplyPending();
    UpdateScrollRange();
    if (followEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    viewport()->update();
}

void ActiveLogEdit::ApplyPending()
{
    const QList<Pending> pending = std::exchange(m_pending, {});
    m_pendingLength = 0;
    const qsizetype at = m_insertion, line = m_content.LineOf(at), lines = m_content.LineCount();
    for (const Pending& piece : pending) {
        m_content.Insert(m_insertion, piece.text, m_content.FormatIndex(piece.format));
        m_insertion += piece.text.size();
    }
    m_rows.Update(line, at - m_content.LineStart(line), m_insertion - at, m_content.LineCount() - lines);
    ShiftSelection(at, m_insertion - at);
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent inserted(this, int(at), m_content.Text(at, m_insertion));
        QAccessible::updateAccessibility(&inserted);
    }
}

// Text put in at `at` pushes on what lies behind it. The operator's selection keeps
// covering the same text: what goes in at its end stays outside it; a caret without
// a selection goes on behind the new text.
void ActiveLogEdit::ShiftSelection(qsizetype at, qsizetype length)
{
    const qsizetype start = std::min(m_anchor, m_caret), end = std::max(m_anchor, m_caret);
    const qsizetype newStart = start >= at ? start + length : start;
    const qsizetype newEnd = end > at || (end == at && start == end) ? end + length : end;
    const bool forward = m_anchor <= m_caret;
    m_anchor = forward ? newStart : newEnd;
    m_caret = forward ? newEnd : newStart;
}

QString ActiveLogEdit::SelectedText() const
{
    return m_content.Text(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret));
}

void ActiveLogEdit::Select(qsizetype anchor, qsizetype position)
{
    Flush();
    SetCaret(anchor, position);
    EnsureVisible(m_caret);
}

void ActiveLogEdit::SelectAll()
{
    Flush();
    SetCaret(0, m_content.Length());
    ToSelectionClipboard();
}

void ActiveLogEdit::Copy() const
{
    if (HasSelection())
        QGuiApplication::clipboard()->setText(SelectedText());
}

// The operator moved the caret or the selection: the insertion point follows.
void ActiveLogEdit::SetCaret(qsizetype anchor, qsizetype position)
{
    const qsizetype length = m_content.Length();
    const bool selectionChanged = HasSelection() || anchor != position;
    m_anchor = std::clamp<qsizetype>(anchor, 0, length);
    m_caret = std::clamp<qsizetype>(position, 0, length);
    m_insertion = m_caret;
    RestartBlink();
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(this, int(m_caret));
    QAccessible::updateAccessibility(&moved);
    if (selectionChanged) {
        QAccessibleTextSelectionEvent selected(this, int(std::min(m_anchor, m_caret)), int(std::max(m_anchor, m_caret)));
        QAccessible::updateAccessibility(&selected);
    }
}

void ActiveLogEdit::ToSelectionClipboard() const
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (HasSelection() && clipboard->supportsSelection())
        clipboard->setText(SelectedText(), QClipboard::Selection);
}

bool ActiveLogEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (MayMoveCaret(event->type()))
        Flush();
    return QAbstractScrollArea::eventFilter(watched, event);
}
