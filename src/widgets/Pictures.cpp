#include "widgets/Pictures.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace {
constexpr QSize DefaultIconSize(32, 32);
constexpr QRgb Silver = qRgb(192, 192, 192);
} // namespace

QImage RenderSvg(const QString& fileName, const QSize& size)
{
    QSvgRenderer renderer(fileName);
    if (!renderer.isValid() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QPixmap RenderSvgPixmap(const QString& fileName, const QSize& size)
{
    return QPixmap::fromImage(RenderSvg(fileName, size));
}

QIcon KestrinIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(RenderSvgPixmap(QStringLiteral(":/pictures/kestrin.svg"), QSize(side, side)));
    return icon;
}

QImage IconOnSilver(const QIcon& icon)
{
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? DefaultIconSize : sizes.first();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Silver);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    return image;
}

QIcon ProgramIcon(const QString& program)
{
    const QFileInfo file(program);
    if (!file.isFile())
        return {};
    const QIcon icon = QFileIconProvider().icon(file);
    return icon.pixmap(DefaultIconSize).isNull() ? QIcon() : icon;
}
