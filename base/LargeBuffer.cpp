#include "base/LargeBuffer.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace LargeBuffer {

QByteArray uninitialized(qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    if (size >= MinimumBytes)
        advise(out.data(), size_t(size));
    return out;
}

void advise(void *data, size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes < size_t(MinimumBytes))
        return;
    constexpr uintptr_t Page = uintptr_t(2) << 20;
    const auto begin = (reinterpret_cast<uintptr_t>(data) + Page - 1) & ~(Page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(Page - 1);
    // Only advice: where large pages are off or the range is not the process's own
    // mapping the call fails and the memory is used as it is.
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace LargeBuffer
