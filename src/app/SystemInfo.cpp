#include "app/SystemInfo.h"

#include <QFile>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/statvfs.h>
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
    // Free space of the whole volume, as the volume reports it, not the caller's quota.
    const qint64 free = volume.isValid() && volume.isReady() ? volume.bytesFree() : -1;
    if (free >= 0)
        return static_cast<uint64_t>(free);
    // QStorageInfo finds a volume through the mount table, which a chroot or a
    // container may not show.
    return FileSystemFreeBytes(path);
}

std::optional<uint64_t> FileSystemFreeBytes(const QString &path) {
#ifdef Q_OS_WIN
    ULARGE_INTEGER total{}, free{};
    if (!GetDiskFreeSpaceExW(reinterpret_cast<const wchar_t *>(path.utf16()), nullptr, &total,
                             &free))
        return std::nullopt;
    return free.QuadPart;
#else
    struct statvfs volume {};
    if (statvfs(QFile::encodeName(path).constData(), &volume) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(volume.f_bfree) * static_cast<uint64_t>(volume.f_frsize);
#endif
}

} // namespace SystemInfo
