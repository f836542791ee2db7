#pragma once

/// \namespace vestrak
/// The controls, the ports they run on and the platforms that implement them.

// The shared libraries are built with hidden symbols; these mark what each of them exports. On
// ELF both the library and its users see the same default visibility.
#define VESTRAK_CONTROLS_EXPORT __attribute__((visibility("default")))
#define VESTRAK_QTWIDGETS_EXPORT __attribute__((visibility("default")))
#define VESTRAK_FEEDS_EXPORT __attribute__((visibility("default")))
