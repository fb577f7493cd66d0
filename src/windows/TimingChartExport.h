#pragma once

#include <QByteArray>
#include <QString>

class TimingChart;

// The timing chart as it is in view, at its size on the screen: an SVG picture
// or a PNG image, as the file name ends (".svg" or ".png", in any case).
// Throws FileError for another ending.
QByteArray TimingChartFile(const TimingChart& chart, const QString& fileName);
