#pragma once

// Reads the samples of a RIFF/WAVE file: 16-bit integer or 32-bit float
// PCM, any small number of channels, as floats where 1.0 is full scale.
// The file is read as it is played, so a long recording costs no memory.
//
// A data chunk whose stated size runs past the end of the file (writers
// that stream the file leave a placeholder there) is read up to the end of
// the file; a trailing partial frame is dropped.

#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace cw::sim {

class WavReader {
public:
    enum class Encoding { Int16, Float32 };

    // The reader for `path`, or none with the reason in `error`.
    static std::unique_ptr<WavReader> open(std::string const& path, std::string& error);

    int channels() const { return m_channels; }
    double sample_rate() const { return m_sample_rate; }
    Encoding encoding() const { return m_encoding; }
    std::int64_t frames() const { return m_frames; }
    std::int64_t position() const { return m_position; }
    double duration() const { return static_cast<double>(m_frames) / m_sample_rate; }

    // Reads up to out.size() / channels() frames, interleaved. Answers the
    // number of frames read: fewer at the end of the data.
    std::size_t read(std::span<float> out);
    void rewind();

private:
    WavReader() = default;
    bool parse(std::string& error);

    std::ifstream m_file;
    std::vector<unsigned char> m_bytes;
    int m_channels { 0 };
    double m_sample_rate { 0 };
    Encoding m_encoding { Encoding::Int16 };
    int m_bytes_per_sample { 2 };
    std::int64_t m_data_offset { 0 };
    std::int64_t m_frames { 0 };
    std::int64_t m_position { 0 };
};

}
