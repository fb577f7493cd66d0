#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures are SVG resources under ":/pictures/" (splash-artwork,
// logo, proceed, initialize, transmit, kestrin).

// The picture rendered at `size`, on a transparent ground; a null image when the
// file is missing or not a valid SVG picture.
QImage RenderSvg(const QString& fileName, const QSize& size);
QPixmap RenderSvgPixmap(const QString& fileName, const QSize& size);

// The window icon, rendered at the usual icon sizes.
QIcon KestrinIcon();

// An icon drawn at its own size (its first offered size, else 32 x 32) onto a
// silver ground: how a picture button takes an icon as its glyph.
QImage IconOnSilver(const QIcon& icon);

// The icon the desktop shows for a program file. A program file on Linux carries
// no icon of its own: this is the theme's icon for its type, and a null icon when
// the file does not exist or the theme has none (nothing to draw at 32 x 32).
QIcon ProgramIcon(const QString& program);
