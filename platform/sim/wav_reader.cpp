#include "wav_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace cw::sim {

namespace {

constexpr std::uint16_t format_pcm = 1;
constexpr std::uint16_t format_float = 3;
constexpr std::uint16_t format_extensible = 0xFFFE;
constexpr int max_channels = 8;

std::uint16_t u16(unsigned char const* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(unsigned char const* p) { return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24); }

struct Format {
    std::uint16_t tag { 0 };
    int channels { 0 };
    std::uint32_t rate { 0 };
    int block_align { 0 };
    int bits { 0 };
};

bool read_exactly(std::ifstream& file, unsigned char* into, std::size_t count)
{
    file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(file.gcount()) == count;
}

}

std::unique_ptr<WavReader> WavReader::open(std::string const& path, std::string& error)
{
    std::unique_ptr<WavReader> reader(new WavReader);
    reader->m_file.open(path, std::ios::binary);
    if (!reader->m_file) {
        error = "cannot open \"" + path + "\"";
        return nullptr;
    }
    if (!reader->parse(error)) {
        error = "\"" + path + "\" is not a usable WAV file: " + error;
        return nullptr;
    }
    return reader;
}

// Walks the chunks after the RIFF header. The format chunk must come
// before the data, as every writer puts it.
bool WavReader::parse(std::string& error)
{
    m_file.seekg(0, std::ios::end);
    std::int64_t file_size = m_file.tellg();
    m_file.seekg(0);

    unsigned char header[12];
    if (!read_exactly(m_file, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
        error = "no RIFF/WAVE header";
        return false;
    }

    std::optional<Format> format;
    std::int64_t at = sizeof header;
    for (;;) {
        unsigned char chunk[8];
        m_file.seekg(at);
        if (!read_exactly(m_file, chunk, sizeof chunk)) {
            error = format ? "no data chunk" : "no format chunk";
            return false;
        }
        std::int64_t size = u32(chunk + 4);
        std::int64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char fmt[40] = {};
            if (size < 16 || !read_exactly(m_file, fmt, static_cast<std::size_t>(std::min<std::int64_t>(size, sizeof fmt)))) {
                error = "the format chunk is too short";
                return false;
            }
            format = Format { u16(fmt), u16(fmt + 2), u32(fmt + 4), u16(fmt + 12), u16(fmt + 14) };
            // The extensible form names the real format in the first two
            // bytes of its sub-format identifier.
            if (format->tag == format_extensible && size >= 40)
                format->tag = u16(fmt + 24);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) {
                error = "the data comes before the format";
                return false;
            }
            bool pcm16 = format->tag == format_pcm && format->bits == 16;
            bool float32 = format->tag == format_float && format->bits == 32;
            if (!pcm16 && !float32) {
                error = "only 16-bit integer and 32-bit float samples are supported (format " + std::to_string(format->tag) + ", " + std::to_string(format->bits) + " bits)";
                return false;
            }
            if (format->channels < 1 || format->channels > max_channels || format->rate == 0 || format->block_align != format->channels * format->bits / 8) {
                error = "the format chunk is inconsistent";
                return false;
            }
            m_channels = format->channels;
            m_sample_rate = format->rate;
            m_encoding = pcm16 ? Encoding::Int16 : Encoding::Float32;
            m_bytes_per_sample = format->bits / 8;
            m_data_offset = body;
            std::int64_t available = std::min(size, file_size - body);
            m_frames = std::max<std::int64_t>(available, 0) / format->block_align;
            rewind();
            return true;
        }
        // Chunks are padded to an even size.
        at = body + size + (size & 1);
    }
}

std::size_t WavReader::read(std::span<float> out)
{
    auto channels = static_cast<std::size_t>(m_channels);
    auto wanted = static_cast<std::int64_t>(out.size() / channels);
    auto frames = static_cast<std::size_t>(std::min(wanted, m_frames - m_position));
    if (frames == 0)
        return 0;
    std::size_t samples = frames * channels;
    m_bytes.resize(samples * static_cast<std::size_t>(m_bytes_per_sample));
    if (!read_exactly(m_file, m_bytes.data(), m_bytes.size())) {
        // The file shrank under us: what is left of it is gone.
        m_frames = m_position;
        m_file.clear();
        return 0;
    }
    unsigned char const* p = m_bytes.data();
    if (m_encoding == Encoding::Int16) {
        for (std::size_t i = 0; i < samples; ++i, p += 2)
            out[i] = static_cast<float>(static_cast<std::int16_t>(u16(p))) / 32768.0f;
    } else {
        for (std::size_t i = 0; i < samples; ++i, p += 4)
            out[i] = std::bit_cast<float>(u32(p));
    }
    m_position += static_cast<std::int64_t>(frames);
    return frames;
}

void WavReader::rewind()
{
    m_file.clear();
    m_file.seekg(m_data_offset);
    m_position = 0;
}

}
