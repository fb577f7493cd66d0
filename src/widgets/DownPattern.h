#pragma once

class QPixmap;

// The down pattern shared by every picture button, made from the palette's
// button colours at the first paint that needs it.
const QPixmap& SharedDownPattern();

// Drops the shared pattern (a button is going away); the next need makes it anew,
// so a palette change shows.
void ReleaseDownPattern();
