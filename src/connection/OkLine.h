#pragma once

#include <cstdint>
#include <string>

// The console lines that report a statement that ran.
class OkLine {
public:
    // "OK (Elapsed Time: %d sec.)\r\n"
    static std::string Executed(long long seconds);
    // "OK (Elapsed Time: %d sec., Loaded %d of %d total records)\r\n"
    static std::string Loaded(long long seconds, uint64_t loaded, uint64_t total);
    // "OK (Elapsed Time: %d sec., Exported %d records to %s)\r\n"
    static std::string Exported(long long seconds, uint64_t rows, const std::string &path);
};
