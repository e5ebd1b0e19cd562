// The forms, pictures and sounds are read-only bytes of the executable, mapped from its file.
// Reading a few of them makes the system map whole neighbourhoods of the file into the process,
// and those pages count as its resident memory for as long as they stay mapped, long after the
// bytes were decoded into what a window shows. `releasePages` unmaps them: the file's pages stay
// in the system's cache, and a later read maps them in again with a minor fault.
#pragma once

#include <cstdint>
#include <span>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace wt {

// Only the whole pages inside `bytes`: a page shared with other data is left as it is.
inline void releasePages(std::span<const std::uint8_t> bytes) {
#if defined(__linux__) || defined(_WIN32)
    if (bytes.empty()) return;
#if defined(__linux__)
    static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
#else
    static const std::uintptr_t page = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<std::uintptr_t>(info.dwPageSize);
    }();
#endif
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (first + page - 1) / page * page;
    const std::uintptr_t end = (first + bytes.size()) / page * page;
    if (end <= begin) return;
#if defined(__linux__)
    // A private mapping of a file that was never written: the pages come back from the file.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#else
    // Unlocking pages that were never locked takes them out of the working set.
    VirtualUnlock(reinterpret_cast<void*>(begin), end - begin);
#endif
#else
    (void)bytes;
#endif
}

}  // namespace wt
