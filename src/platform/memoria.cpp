#include "platform/memoria.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void conservarBloquesGrandes() {
#if defined(__GLIBC__)
    static const bool hecho = [] {
        // Blocks below 32 MB (the largest threshold the allocator accepts)
        // come from the heap, which is trimmed only when 64 MB lie free at
        // its top.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)hecho;
#endif
}
