#include "paths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace cw {

Paths Paths::resolve(std::optional<std::string> explicit_root)
{
    if (explicit_root && !explicit_root->empty())
        return { *explicit_root };
    if (char const* home = std::getenv("CUEWRIGHT_HOME"); home && *home)
        return { home };
    if (char const* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return { std::string(xdg) + "/cuewright" };
    char const* user_home = std::getenv("HOME");
    return { std::string(user_home && *user_home ? user_home : ".") + "/.local/share/cuewright" };
}

bool Paths::ensure_folders() const
{
    std::error_code error;
    fs::create_directories(documents(), error);
    if (error)
        return false;
    fs::create_directories(temporary(), error);
    return !error;
}

namespace files {

static bool report(std::error_code const& code, std::string* error)
{
    if (code && error)
        *error = code.message();
    return !code;
}

bool exists(std::string const& path)
{
    std::error_code code;
    return fs::exists(path, code);
}

bool is_directory(std::string const& path)
{
    std::error_code code;
    return fs::is_directory(path, code);
}

bool create_directory(std::string const& path, std::string* error)
{
    std::error_code code;
    fs::create_directories(path, code);
    return report(code, error);
}

bool remove(std::string const& path, std::string* error)
{
    std::error_code code;
    if (!fs::remove(path, code) && !code)
        code = std::make_error_code(std::errc::no_such_file_or_directory);
    return report(code, error);
}

bool copy(std::string const& from, std::string const& to, std::string* error)
{
    std::error_code code;
    // Never replaces an existing file: the caller chose a fresh name.
    fs::copy_file(from, to, fs::copy_options::none, code);
    return report(code, error);
}

bool move(std::string const& from, std::string const& to, std::string* error)
{
    std::error_code code;
    fs::rename(from, to, code);
    return report(code, error);
}

std::optional<std::vector<std::string>> list(std::string const& folder, std::string* error)
{
    std::error_code code;
    fs::directory_iterator it(folder, code);
    if (code) {
        report(code, error);
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (auto const& entry : it)
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> read(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool write(std::string const& path, std::string const& bytes, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out && error)
        *error = "could not write " + path;
    return static_cast<bool>(out);
}

std::optional<std::uintmax_t> size(std::string const& path)
{
    std::error_code code;
    auto bytes = fs::file_size(path, code);
    if (code)
        return std::nullopt;
    return bytes;
}

}

std::string make_uuid()
{
    static thread_local std::mt19937_64 engine { std::random_device {}() };
    std::uniform_int_distribution<std::uint64_t> any;
    std::uint64_t high = any(engine), low = any(engine);
    // Version 4, variant 1.
    high = (high & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;
    low = (low & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;
    char text[37];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX",
        static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
        static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
    return text;
}

}
