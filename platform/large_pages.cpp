#include "platform/large_pages.h"

#include <sys/mman.h>

namespace demo::platform {

void adviseLargePages(void* memory, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
    madvise(memory, bytes, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)bytes;
#endif
}

}  // namespace demo::platform
