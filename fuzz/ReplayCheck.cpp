// A stand-in fuzz target for checking the replay itself: it fails on any
// input that starts with "trap" (with a status ctest can expect, where a
// real target would trap), as a target fails on a crash kept in its
// corpus.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.substr(0, 4) == "trap") std::exit(1);
    return 0;
}
