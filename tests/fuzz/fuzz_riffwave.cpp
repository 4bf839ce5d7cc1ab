// Any bytes as a wave image in memory, as the sound call receives a clip's data.
#include "Fuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ComprobarOnda({reinterpret_cast<const std::byte*>(data), size});
    return 0;
}
