#pragma once

// Tells accessibility tools the role, name and actions of the program's own
// painted widgets: TExplorerButton (a button with a "press" action) and TLabel3D
// (static text). Call once at start-up, after the application object exists.
void InstallWidgetAccessibility();
