#pragma once

#include <QString>

class QLabel;

// The status light's caption: the device name's last part ("card" of
// /home/me/build/demo/card, "ttyUSB0" of /dev/ttyUSB0), elided in the middle when
// still wider than `width`, so that a name under /dev/serial/by-id/ keeps both its
// maker and its port. The whole name is the tooltip and the accessible description.
void ShowDeviceName(QLabel& caption, const QString& device, int width);
