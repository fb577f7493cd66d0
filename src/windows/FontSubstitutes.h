#pragma once

// The window layouts name the classic Windows fonts ("MS Sans Serif", "Arial",
// "Courier New", "MS Serif"). Maps each to the nearest family a Linux desktop
// has; call once at start-up, before the first window is created.
void InstallFontSubstitutes();
