#pragma once

// Tells accessibility tools the role, name and actions of the program's own
// painted widgets: TExplorerButton (a button with a "press" action) and TLabel3D
// (static text). Each of these widgets installs it when it is made, since the
// toolkit keeps the first interface it hands out for a widget; calling it at
// start-up as well does no harm.
void InstallWidgetAccessibility();
