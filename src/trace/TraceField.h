#pragma once

#include <QString>

// One named value of a decoded ATR or exchange, for a detail view.
struct TraceField {
    QString name;
    QString value;
    bool operator==(const TraceField&) const = default;
};
