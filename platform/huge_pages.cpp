#include "platform/huge_pages.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vell {

void AdviseHugePages([[maybe_unused]] void* start, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Transparent huge pages in "madvise" mode serve only ranges advised like this; in
    // "always" mode the advice changes nothing, in "never" mode it is ignored.
    madvise(start, bytes, MADV_HUGEPAGE);
#endif
}

}  // namespace vell
