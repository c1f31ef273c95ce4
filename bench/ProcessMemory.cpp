#include "ProcessMemory.h"

#if defined(__linux__)
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#endif

std::optional<uint64_t> ProcessMemory::ResidentBytes() {
#if defined(__linux__)
    // /proc/self/statm: total and resident size, in pages.
    std::ifstream statm("/proc/self/statm");
    uint64_t total = 0;
    uint64_t resident = 0;
    if (!(statm >> total >> resident))
        return std::nullopt;
    return resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
#else
    return std::nullopt;
#endif
}

std::optional<uint64_t> ProcessMemory::HeapInUseBytes() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    return static_cast<uint64_t>(info.uordblks) + static_cast<uint64_t>(info.hblkhd);
#else
    return std::nullopt;
#endif
}

std::optional<uint64_t> ProcessMemory::PeakResidentBytes() {
#if defined(__linux__)
    // /proc/self/status: "VmHWM:   123456 kB".
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            uint64_t kilobytes = 0;
            if (status >> kilobytes)
                return kilobytes * 1024;
            return std::nullopt;
        }
        status.ignore(4096, '\n');
    }
#endif
    return std::nullopt;
}

bool ProcessMemory::ResetPeak() {
#if defined(__linux__)
    // "5" resets the peak resident size to the size now (Linux 4.0 and later).
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
#else
    return false;
#endif
}
