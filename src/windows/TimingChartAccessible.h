#pragma once

// Tells accessibility tools what the timing chart is: a chart, named, that
// describes in words what it shows and what is selected, with actions to zoom
// and to move along the time axis (TimingChart paints itself, so the toolkit
// cannot tell). The chart installs it when it is made.
void InstallTimingChartAccessibility();
