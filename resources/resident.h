// The forms, pictures and sounds are read-only bytes of the executable, mapped from its file.
// Reading a few of them makes the system map whole neighbourhoods of the file into the process,
// and those pages count as its resident memory for as long as they stay mapped, long after the
// bytes were decoded into what a window shows. `releasePages` unmaps them: the file's pages stay
// in the system's cache, and a later read maps them in again with a minor fault. (Linux; the
// other editions do nothing here.)
#pragma once

#include <cstdint>
#include <span>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace wt {

// Only the whole pages inside `bytes`: a page shared with other data is left as it is.
inline void releasePages(std::span<const std::uint8_t> bytes) {
#if defined(__linux__)
    if (bytes.empty()) return;
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (first + page - 1) / page * page;
    const std::uintptr_t end = (first + bytes.size()) / page * page;
    // A private mapping of a file that was never written: the pages come back from the file.
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#else
    (void)bytes;
#endif
}

}  // namespace wt
