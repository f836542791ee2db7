#pragma once

#include <QApplication>
#include <memory>

namespace vestrak {

// The Qt application of a program that must also run without a display: the offscreen platform
// is chosen when no display is named and the caller has not chosen a platform.
std::unique_ptr<QApplication> startQtApplication(int& argc, char** argv);

// For programs whose standard error is part of their output (page transcripts): Qt's own
// diagnostics (no runtime folder, no window raising offscreen...) are dropped.
void silenceQtDiagnostics();

} // namespace vestrak
