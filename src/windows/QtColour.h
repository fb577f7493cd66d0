#pragma once

#include "base/Colours.h"

#include <QColor>

// A program colour (0x00BBGGRR) as Qt's colour.
inline QColor ToQColor(quint32 colour)
{
    return QColor(Colours::RedOf(colour), Colours::GreenOf(colour), Colours::BlueOf(colour));
}
