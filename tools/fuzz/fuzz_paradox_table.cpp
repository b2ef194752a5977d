// libFuzzer entry point: the table reader over arbitrary bytes held in memory.

#include "fuzz_input.h"
#include "read_all.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvex::fuzz::ReadWholeTable(quorvex::fuzz::SplitFuzzInput(data, size));
    return 0;
}
