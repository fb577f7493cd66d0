#include "windows/TimingChartExport.h"

#include "base/KestrinError.h"
#include "windows/TimingChart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace {

// The chart's size on the screen; one that has never been shown has none yet.
QSize SizeOf(const TimingChart& chart) { return chart.size().expandedTo(chart.minimumSizeHint()); }

QByteArray Svg(const TimingChart& chart)
{
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(SizeOf(chart));
    svg.setViewBox(QRect(QPoint(), SizeOf(chart)));
    svg.setTitle(QStringLiteral("Timing chart"));
    svg.setDescription(chart.Summary());
    QPainter painter(&svg);
    chart.Render(painter, SizeOf(chart));
    painter.end();
    return buffer.data();
}

QByteArray Png(const TimingChart& chart)
{
    QImage image(SizeOf(chart) * chart.devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(chart.devicePixelRatio());
    QPainter painter(&image);
    chart.Render(painter, SizeOf(chart));
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw FileError(QStringLiteral("The timing chart could not be made into a PNG image"));
    return buffer.data();
}

} // namespace

QByteArray TimingChartFile(const TimingChart& chart, const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return Svg(chart);
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return Png(chart);
    throw FileError(QStringLiteral("%1: the timing chart is written as an SVG picture (.svg) or a PNG image (.png)")
                        .arg(fileName));
}
