#include "qr.h"

#include <qrencode.h>

#include <memory>

namespace cw::web {

std::string terminal_qr(std::string const& text)
{
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code)
        return {};
    int const quiet = 2;
    int const width = code->width;
    int const size = width + 2 * quiet;
    auto dark = [&](int x, int y) {
        x -= quiet;
        y -= quiet;
        if (x < 0 || y < 0 || x >= width || y >= width)
            return false;
        return (code->data[y * width + x] & 1) != 0;
    };
    std::string out;
    for (int y = 0; y < size; y += 2) {
        // Light modules are drawn, dark ones left as the black background.
        out += "\x1b[40;97m";
        for (int x = 0; x < size; ++x) {
            bool top_light = !dark(x, y);
            bool bottom_light = !dark(x, y + 1);
            out += top_light && bottom_light ? "\u2588" : top_light ? "\u2580" : bottom_light ? "\u2584" : " ";
        }
        out += "\x1b[0m\n";
    }
    return out;
}

}
