#pragma once

// The simulated movie-file output writes small text files in place of
// movies, so that tests can make takes without a codec and read them back:
//
//     CWTESTMOVIE1
//     duration=12.500
//     frames=250
//     fps=20
//     camera=front
//
// The first line marks the format; the rest are key=value lines. Anything
// without the first line is not a movie.

#include <optional>
#include <string>

namespace cw::sim {

inline constexpr char test_movie_magic[] = "CWTESTMOVIE1";

struct TestMovie {
    double duration { 0 };
    long frames { 0 };
    int fps { 30 };
    std::string camera { "none" };
};

std::string encode_test_movie(TestMovie const&);
std::optional<TestMovie> decode_test_movie(std::string const& bytes);

}
