#pragma once

#include <QtGlobal>
#include <algorithm>
#include <iterator>

// The rates a card interface speaks: 9600 baud from the start, 19200 or 38400 when asked.
inline constexpr int CardBaudRates[] = {9600, 19200, 38400};

inline bool IsCardBaudRate(qint32 baud)
{
    return std::find(std::begin(CardBaudRates), std::end(CardBaudRates), baud) != std::end(CardBaudRates);
}
