#include "memoryreturn.h"

#include <cstdlib> // says whether the C library is glibc

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace zendral {

void returnLargeBuffersWhenFreed()
{
#ifdef __GLIBC__
    // A fixed threshold also stops the library from moving it. Below a megabyte, the heap
    // serves as before: the many small pieces of a page (its lines' runs, its blocks) stay
    // cheap to make.
    constexpr int LargeBuffer = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, LargeBuffer);
    // The heap's free top is kept up to a few such buffers, as the library's moving threshold
    // kept it: the pieces a save or a colouring pass makes one after another then reuse the
    // same memory instead of each asking the system for it anew.
    mallopt(M_TRIM_THRESHOLD, 8 * LargeBuffer);
#endif
}

} // namespace zendral
