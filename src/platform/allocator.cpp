#include "allocator.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Allocator {

void keepThresholdsFixed()
{
#if defined(__GLIBC__)
    // glibc's own starting values; setting either turns their adjustment off.
    constexpr int StartingThreshold = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, StartingThreshold);
    mallopt(M_TRIM_THRESHOLD, StartingThreshold);
#endif
}

} // namespace Allocator
