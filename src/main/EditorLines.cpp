#include "main/EditorLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

qsizetype EditorLineCount(const QPlainTextEdit& editor)
{
    const QTextDocument& document = *editor.document();
    return document.isEmpty() ? 0 : document.blockCount();
}

QString EditorLine(const QPlainTextEdit& editor, qsizetype index)
{
    return editor.document()->findBlockByNumber(int(index)).text();
}

void SetEditorLines(QPlainTextEdit& editor, const QStringList& lines)
{
    editor.setPlainText(lines.join(u'\n'));
}

qsizetype EditorLines::Count() { return EditorLineCount(m_editor); }

QString EditorLines::Line(qsizetype index) { return EditorLine(m_editor, index); }

void EditorLines::SetLine(qsizetype index, const QString& text)
{
    QTextCursor cursor(m_editor.document()->findBlockByNumber(int(index)));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}
