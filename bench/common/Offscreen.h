#pragma once

// Benchmarks draw their windows on Qt's offscreen platform unless told otherwise.
// Call before the QApplication is made.
void UseOffscreenUnlessSet();
