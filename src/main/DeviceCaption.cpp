#include "main/DeviceCaption.h"

#include "widgets/ElidedText.h"

#include <QLabel>

void ShowDeviceName(QLabel& caption, const QString& device, int width)
{
    QString lastPart = device.section(u'/', -1, -1, QString::SectionSkipEmpty);
    if (lastPart.isEmpty())
        lastPart = device; // "/" or nothing at all
    ShowElided(caption, lastPart, QSize(width, caption.height()));
    caption.setToolTip(device);
    caption.setAccessibleDescription(device);
}
