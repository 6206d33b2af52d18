#pragma once

// Where tests find committed fixtures and the shared sample documents. Tests
// run from the project root; CUEWRIGHT_SOURCE_DIR names it as well.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace cw::documents::testkit {

inline std::filesystem::path project_root() {
    char const* env = std::getenv("CUEWRIGHT_SOURCE_DIR");
    return env != nullptr && *env != '\0' ? std::filesystem::path(env) : std::filesystem::current_path();
}

inline std::filesystem::path fixture(std::string const& name) {
    return project_root() / "tests" / "documents" / "fixtures" / name;
}

// The real-world documents, absent from a user's clone of the project.
inline std::optional<std::filesystem::path> corpus_dir() {
    auto const dir = project_root() / ".." / "shared" / "corpus" / "documents";
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return std::nullopt;
    return dir;
}

inline std::string read_file(std::filesystem::path const& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace cw::documents::testkit
