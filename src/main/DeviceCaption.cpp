#include "main/DeviceCaption.h"

#include <QLabel>

void ShowDeviceName(QLabel& caption, const QString& device, int width)
{
    QString lastPart = device.section(u'/', -1, -1, QString::SectionSkipEmpty);
    if (lastPart.isEmpty())
        lastPart = device; // "/" or nothing at all
    caption.ensurePolished(); // the style sheet's bold font is the one measured
    caption.setText(caption.fontMetrics().elidedText(lastPart, Qt::ElideLeft, width));
    caption.setToolTip(device);
    caption.setAccessibleDescription(device);
}
