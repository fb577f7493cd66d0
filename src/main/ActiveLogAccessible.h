#pragma once

// Tells accessibility tools what the Active Log is: a read-only text, named, whose
// text, caret and selection they can read and set (ActiveLogEdit paints itself, so
// the toolkit cannot tell). The log installs it when it is made.
void InstallActiveLogAccessibility();
