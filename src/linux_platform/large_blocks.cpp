#include "linux_platform/large_blocks.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace vestrak {

void HandLargeBlocksBackToTheSystem()
{
#if defined(M_MMAP_THRESHOLD)
    // A fixed threshold also stops glibc from raising it each time a large block is freed.
    constexpr int LargeBlockBytes = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
#endif
}

} // namespace vestrak
