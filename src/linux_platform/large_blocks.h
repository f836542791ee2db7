#pragma once

namespace vestrak {

// Has the C library take every block of a megabyte or more straight from the system and give it
// back when it is freed. A plant's load grows large lists step by step (a view's rows, a
// section's bytes); in the heap each step would leave the room of the step before as a hole that
// the process keeps. Called once by a program, before the controls load anything.
void HandLargeBlocksBackToTheSystem();

} // namespace vestrak
