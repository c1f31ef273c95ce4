#pragma once

#include <cstdint>
#include <optional>

// What the process holds in memory, where the platform can say; nullopt elsewhere.
// The only platform-specific code of the benchmark lives behind this.
class ProcessMemory {
public:
    // Resident set size in bytes.
    static std::optional<uint64_t> ResidentBytes();
    // Bytes the C heap has handed out and not had back: finer than the resident
    // size, which freed pages do not lower.
    static std::optional<uint64_t> HeapInUseBytes();
    // The peak resident size since the process started or since ResetPeak.
    static std::optional<uint64_t> PeakResidentBytes();
    // Starts a new peak from the size now; false where the platform cannot.
    static bool ResetPeak();
};
