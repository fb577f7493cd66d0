#pragma once

// Reads kestrin's command line before a window system is needed, so that it
// answers without a display: help and the version are printed (status 0), and
// an unknown option or any argument ends the program with status 1 and a
// message in the programs' style ("kestrin: unknown option '--x' (see --help)").
// The window system's own options (-platform, -style, ...) are let through to
// QApplication, which takes them.
void CheckWindowCommandLine(int argc, char** argv);
