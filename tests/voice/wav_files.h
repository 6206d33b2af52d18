#pragma once

// Writing small WAV files for tests, and making sound with the system's
// speech synthesiser and sound tools when they are installed.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace cw::testing {

enum class WavEncoding { Int16, Float32 };

struct WavFormat {
    int channels { 1 };
    std::uint32_t rate { 8000 };
    WavEncoding encoding { WavEncoding::Int16 };
    bool extensible { false };
    // A data size as a streaming writer leaves it: "as long as it goes".
    bool unknown_data_size { false };
    // An unknown chunk before the format chunk, with an odd size.
    bool extra_chunk { false };
};

inline void put16(std::string& out, unsigned v)
{
    out += char(v & 0xff);
    out += char((v >> 8) & 0xff);
}

inline void put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xff);
}

// The bytes of a WAV file holding `samples` (interleaved, 1.0 full scale).
inline std::string wav_bytes(WavFormat const& format, std::vector<float> const& samples)
{
    int bits = format.encoding == WavEncoding::Int16 ? 16 : 32;
    unsigned tag = format.encoding == WavEncoding::Int16 ? 1 : 3;
    std::string data;
    for (float sample : samples) {
        if (format.encoding == WavEncoding::Int16) {
            long v = std::lround(std::fmax(-1.0f, std::fmin(sample, 32767.0f / 32768.0f)) * 32768.0f);
            put16(data, static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
        } else {
            std::uint32_t bits32;
            std::memcpy(&bits32, &sample, 4);
            put32(data, bits32);
        }
    }
    std::string fmt;
    put16(fmt, format.extensible ? 0xFFFE : tag);
    put16(fmt, static_cast<unsigned>(format.channels));
    put32(fmt, format.rate);
    put32(fmt, format.rate * static_cast<std::uint32_t>(format.channels * bits / 8));
    put16(fmt, static_cast<unsigned>(format.channels * bits / 8));
    put16(fmt, static_cast<unsigned>(bits));
    if (format.extensible) {
        put16(fmt, 22);
        put16(fmt, static_cast<unsigned>(bits));
        put32(fmt, 0);
        // The sub-format identifier: the format tag, then a fixed tail.
        put16(fmt, tag);
        fmt += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    std::string body = "WAVE";
    if (format.extra_chunk) {
        body += "LIST";
        put32(body, 3);
        body += std::string("abc\0", 4);
    }
    body += "fmt ";
    put32(body, static_cast<std::uint32_t>(fmt.size()));
    body += fmt;
    body += "data";
    put32(body, format.unknown_data_size ? 0xFFFFFFFFu : static_cast<std::uint32_t>(data.size()));
    body += data;
    std::string file = "RIFF";
    put32(file, static_cast<std::uint32_t>(body.size()));
    return file + body;
}

inline void write_file(std::string const& path, std::string const& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own under the system's temporary folder, removed at the
// end of the test.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "cw-voice-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()))
            m_path = name.data();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(std::string const& name) const { return m_path + "/" + name; }
    std::string const& path() const { return m_path; }

private:
    std::string m_path;
};

inline bool have_program(char const* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool run_quietly(std::string const& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}
