#include "connection/OkLine.h"

std::string OkLine::Executed(long long seconds) {
    return "OK (Elapsed Time: " + std::to_string(seconds) + " sec.)\r\n";
}

std::string OkLine::Loaded(long long seconds, uint64_t loaded, uint64_t total) {
    return "OK (Elapsed Time: " + std::to_string(seconds) + " sec., Loaded " +
           std::to_string(loaded) + " of " + std::to_string(total) + " total records)\r\n";
}

std::string OkLine::Exported(long long seconds, uint64_t rows, const std::string &path) {
    return "OK (Elapsed Time: " + std::to_string(seconds) + " sec., Exported " +
           std::to_string(rows) + " records to " + path + ")\r\n";
}
