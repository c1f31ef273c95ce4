#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ConnectStringOracle.h"
#include "FuzzVerdict.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return FuzzVerdict(
        ConnectStringOracle::Check(std::string_view(reinterpret_cast<const char *>(data), size)));
}
