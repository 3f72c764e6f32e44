// Fuzz target for the wire decoders (libFuzzer). Not part of the test run; build it with
//   clang++ -std=c++20 -fsanitize=fuzzer,address,undefined ... (see CMakeLists.txt here)
// and replay anything it finds from tests/fixtures/wire.
#include "decode_all.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pal::com::fuzz::decodeAll(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
