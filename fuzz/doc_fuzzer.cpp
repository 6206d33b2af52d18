#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/check_result.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    std::string_view const bytes(reinterpret_cast<char const*>(data), size);
    cw::documents::fuzz::check(cw::documents::extract_doc(bytes));
    return 0;
}
