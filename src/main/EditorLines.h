#pragma once

#include "script/ScriptLines.h"

class QPlainTextEdit;

// The lines of a text editor, as script runs and transmissions read them: an
// empty editor has no lines.
qsizetype EditorLineCount(const QPlainTextEdit& editor);
QString EditorLine(const QPlainTextEdit& editor, qsizetype index);
void SetEditorLines(QPlainTextEdit& editor, const QStringList& lines);

// The current script editor as the lines of a run level.
class EditorLines : public ScriptLines {
public:
    explicit EditorLines(QPlainTextEdit& editor) : m_editor(editor) {}

    qsizetype Count() override;
    QString Line(qsizetype index) override;
    void SetLine(qsizetype index, const QString& text) override;

private:
    QPlainTextEdit& m_editor;
};
