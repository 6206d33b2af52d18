#include "random.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace cw::web {

std::string random_hex(std::size_t bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen("/dev/urandom", "rb"), std::fclose);
    std::vector<unsigned char> buffer(bytes);
    if (!source || std::fread(buffer.data(), 1, bytes, source.get()) != bytes)
        throw std::runtime_error("cannot read /dev/urandom");
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (auto byte : buffer) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

}
