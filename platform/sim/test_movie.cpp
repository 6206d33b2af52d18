#include "test_movie.h"

#include <cstdio>
#include <sstream>

namespace cw::sim {

std::string encode_test_movie(TestMovie const& movie)
{
    char duration[64];
    std::snprintf(duration, sizeof duration, "%.3f", movie.duration);
    std::ostringstream out;
    out << test_movie_magic << "\n"
        << "duration=" << duration << "\n"
        << "frames=" << movie.frames << "\n"
        << "fps=" << movie.fps << "\n"
        << "camera=" << movie.camera << "\n";
    return out.str();
}

std::optional<TestMovie> decode_test_movie(std::string const& bytes)
{
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line) || line != test_movie_magic)
        return std::nullopt;
    TestMovie movie;
    try {
        while (std::getline(in, line)) {
            auto equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            auto key = line.substr(0, equals);
            auto value = line.substr(equals + 1);
            if (key == "duration")
                movie.duration = std::stod(value);
            else if (key == "frames")
                movie.frames = std::stol(value);
            else if (key == "fps")
                movie.fps = std::stoi(value);
            else if (key == "camera")
                movie.camera = value;
        }
    } catch (std::exception const&) {
        return std::nullopt;
    }
    if (movie.duration < 0 || movie.fps <= 0)
        return std::nullopt;
    return movie;
}

}
