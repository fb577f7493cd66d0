#include "main/ActiveLogEdit.h"

#include "main/ActiveLogBlocks.h"
#include "main/ActiveLogText.h"

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

} // namespace

ActiveLogEdit::ActiveLogEdit(QWidget* parent) : QPlainTextEdit(parent), m_insertion(document())
{
    setAccessibleName(QStringLiteral("Active Log"));
    setUndoRedoEnabled(false);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_batchTimer.setSingleShot(true);
    m_batchTimer.setInterval(BatchInterval);
    connect(&m_batchTimer, &QTimer::timeout, this, &ActiveLogEdit::Flush);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ActiveLogEdit::FollowCaret);
    installEventFilter(this);
    viewport()->installEventFilter(this);
}

void ActiveLogEdit::InsertAtCaret(const QString& text)
{
    if (text.isEmpty())
        return;
    const QTextCharFormat format = currentCharFormat();
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
    QString text;
    for (const TextRun& run : Runs())
        text += run.lineEnd ? QStringLiteral("\r\n") : run.text;
    return text;
}

QList<TextRun> ActiveLogEdit::Runs()
{
    Flush();
    return ActiveLogBlocks::Runs(*document());
}

void ActiveLogEdit::Clear()
{
    m_batchTimer.stop();
    m_pending.clear();
    m_pendingLength = 0;
    m_applying = true;
    clear();
    m_applying = false;
    m_insertion = QTextCursor(document());
}

void ActiveLogEdit::Flush()
{
    m_batchTimer.stop();
    if (m_pending.isEmpty())
        return;
    m_applying = true;
    const QTextCursor caret = textCursor();
    if (caret.hasSelection()) {
        ApplyKeepingSelection(caret);
    } else {
        ApplyPending();
        if (caret.atEnd())
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
    m_applying = false;
}

bool ActiveLogEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (MayMoveCaret(event->type()))
        Flush();
    return QPlainTextEdit::eventFilter(watched, event);
}

void ActiveLogEdit::ApplyPending()
{
    const QList<Pending> pending = std::exchange(m_pending, {});
    m_pendingLength = 0;
    m_insertion.beginEditBlock();
    for (const Pending& piece : pending)
        InsertPiece(piece);
    m_insertion.endEditBlock();
}

// The operator's selection keeps covering the same text: what goes in at its end
// stays outside it.
void ActiveLogEdit::ApplyKeepingSelection(const QTextCursor& caret)
{
    const bool forward = caret.anchor() < caret.position();
    QTextCursor start(document()), end(document());
    start.setPosition(caret.selectionStart());
    end.setPosition(caret.selectionEnd());
    end.setKeepPositionOnInsert(true);
    ApplyPending();
    QTextCursor restored(document());
    restored.setPosition((forward ? start : end).position());
    restored.setPosition((forward ? end : start).position(), QTextCursor::KeepAnchor);
    setTextCursor(restored);
}

void ActiveLogEdit::InsertPiece(const Pending& piece)
{
    const QList<QStringView> lines = QStringView(piece.text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            m_insertion.insertBlock(ActiveLogBlocks::LineStart(), piece.format);
        if (lines[i].isEmpty())
            continue;
        m_insertion.insertText(lines[i].toString(), piece.format);
        ActiveLogBlocks::SplitLongBlock(m_insertion.block(), MaxBlockLength);
    }
}

void ActiveLogEdit::FollowCaret()
{
    if (!m_applying)
        m_insertion.setPosition(textCursor().position());
}
