#include "run/ItemLines.h"

#include "datafile/DataFile.h"
#include "script/ScriptCatalogue.h"

QStringList LoadItemLines(const RunItem& item, QList<qsizetype>& lineNumbers)
{
    switch (item.kind) {
    case RunItem::Kind::Script:
        return LoadScriptLines(item.text);
    case RunItem::Kind::DataFile: {
        const DataFile file = LoadDataFile(item.text);
        lineNumbers = file.rawLineNumbers;
        return file.rawLines;
    }
    case RunItem::Kind::Line:
        break;
    }
    return {};
}
