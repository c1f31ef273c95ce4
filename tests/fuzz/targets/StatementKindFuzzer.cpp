#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzVerdict.h"
#include "StatementKindOracle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return FuzzVerdict(
        StatementKindOracle::Check(std::string_view(reinterpret_cast<const char *>(data), size)));
}
