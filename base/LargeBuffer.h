#pragma once

#include <QByteArray>
#include <cstddef>

// Arrays of many megabytes (a whole ECG recording, an archive section) filled once from a
// file or a conversion. Where the system offers them, their memory comes in 2 MiB pages:
// filling an array of 4 KiB pages costs a page fault every 4 KiB and, on a virtual
// machine, a translation miss for most of them, which is slower than the copy itself.
// Small arrays are left as they are. Nothing about the contents changes.
namespace LargeBuffer {

// Arrays from this size on are worth the large pages.
constexpr qsizetype MinimumBytes = qsizetype(4) << 20;

// An array of size bytes, left uninitialised, its memory advised for large pages.
QByteArray uninitialized(qsizetype size);

// Advises the whole 2 MiB stretches of [data, data + bytes) for large pages; call it
// before the memory is first written. Does nothing for short ranges or without support.
void advise(void *data, size_t bytes);

} // namespace LargeBuffer
