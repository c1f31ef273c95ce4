#include "app/SystemInfo.h"

#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace SystemInfo {

uint64_t PhysicalMemoryBytes() {
#ifdef Q_OS_WIN
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    return status.ullTotalPhys;
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
#endif
}

std::optional<uint64_t> FreeDiskBytes(const QString &path) {
    const QStorageInfo volume(path);
    if (!volume.isValid() || !volume.isReady())
        return std::nullopt;
    // Free space of the whole volume, as the volume reports it, not the caller's quota.
    const qint64 free = volume.bytesFree();
    if (free < 0)
        return std::nullopt;
    return static_cast<uint64_t>(free);
}

} // namespace SystemInfo
