// The forms, pictures and sounds are read-only bytes of the executable, mapped from its file.
// Reading a few of them makes the system map whole neighbourhoods of the file into the process,
// and those pages count as its resident memory for as long as they stay mapped, long after the
// bytes were decoded into what a window shows. `releasePages` unmaps them: the file's pages stay
// in the system's cache, and a later read maps them in again with a minor fault.
// `populatePages` does the opposite for memory about to be written. (Linux; the other editions
// do nothing here.)
#pragma once

#include <algorithm>
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

// Maps in every page that `bytes` touches, writable, without changing a byte: memory that is
// about to be written whole (a window's backing store) then takes no page fault a page at a
// time. A few pages per call, so that the process's own mappings meanwhile wait only briefly.
// False when the system cannot (before Linux 5.14, other systems).
inline bool populatePages(std::span<const std::uint8_t> bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (bytes.empty()) return true;
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t step = 64 * page;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(bytes.data()) + bytes.size();
    for (std::uintptr_t at = reinterpret_cast<std::uintptr_t>(bytes.data()) / page * page; at < end;
         at += step)
        if (madvise(reinterpret_cast<void*>(at), std::min(step, end - at), MADV_POPULATE_WRITE) !=
            0)
            return false;
    return true;
#else
    (void)bytes;
    return false;
#endif
}

}  // namespace wt
