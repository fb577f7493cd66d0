#pragma once

#include <QStringList>

// The lines a run level walks. The count is asked again before every line, since
// the window's editor may change while the run yields; indexes are 0-based and the
// interpreter asks only for indexes below the count it has just read.
class ScriptLines {
public:
    virtual ~ScriptLines() = default;
    virtual qsizetype Count() = 0;
    virtual QString Line(qsizetype index) = 0;
    virtual void SetLine(qsizetype index, const QString& text) = 0;
};

// Lines held in a list: a nested script's lines, a benchmark's, a test's.
class StringListLines : public ScriptLines {
public:
    explicit StringListLines(QStringList lines = {}) : m_lines(std::move(lines)) {}

    qsizetype Count() override { return m_lines.size(); }
    QString Line(qsizetype index) override { return m_lines.at(index); }
    void SetLine(qsizetype index, const QString& text) override { m_lines[index] = text; }

    QStringList& List() { return m_lines; }

private:
    QStringList m_lines;
};
