#pragma once

namespace vestrak {

// Marks the upper halves of the processor's AVX registers unused. On processors with AVX-512, a
// library routine that Qt's start and its widget code reach returns with them in use; until an
// instruction clears them, every SSE instruction of the process waits on them, and a tree build
// took twice as long. The long jobs call this as they start, after the widget calls they make
// first. Costs one instruction; does nothing on processors without AVX.
void ClearUpperVectorHalves();

} // namespace vestrak
