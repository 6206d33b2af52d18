// The main-part XML on its own: inside a package the zip checksums stop
// almost every mutation before it reaches the XML walker.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/check_result.h"
#include "platform/linux/documents/docx_text.h"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    std::string xml(reinterpret_cast<char const*>(data), size);
    cw::documents::fuzz::check(cw::documents::docx_text_from_xml(xml));
    return 0;
}
