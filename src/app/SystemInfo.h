#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// Machine facts the About box shows. Every platform call lives in SystemInfo.cpp.
namespace SystemInfo {

// Total physical memory in bytes; 0 when it cannot be asked.
uint64_t PhysicalMemoryBytes();
// Free bytes on the volume holding `path`; nullopt when the volume cannot be queried.
std::optional<uint64_t> FreeDiskBytes(const QString &path);
// The same asked of the file system directly (statvfs): the answer where the
// mount table does not list the volume, as in chroots and some containers.
std::optional<uint64_t> FileSystemFreeBytes(const QString &path);

} // namespace SystemInfo
