#pragma once

// Where Cuewright keeps its data on this machine, and the small file-manager
// operations the screens use on it.
//
// The data root is `$XDG_DATA_HOME/cuewright` (or `~/.local/share/cuewright`);
// `CUEWRIGHT_HOME` or the `--data-dir` option replace it. Under the root sit
// the documents folder (saved takes live in "Documents/SavedVideos"), the
// temporary folder, the store and the log.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cw {

struct Paths {
    std::string root;

    // Picks the root: an explicit folder first, then CUEWRIGHT_HOME, then the
    // XDG data folder.
    static Paths resolve(std::optional<std::string> explicit_root = std::nullopt);

    std::string documents() const { return root + "/Documents"; }
    std::string temporary() const { return root + "/tmp"; }
    // The recorded takes. Made by the first kept take, never by listing.
    std::string saved_videos() const { return documents() + "/SavedVideos"; }
    std::string store_file() const { return root + "/library.sqlite"; }
    std::string log_file() const { return root + "/cuewright.log"; }

    // Makes the root, documents and temporary folders when missing.
    bool ensure_folders() const;
};

// Thin, exception-free wrappers over std::filesystem. Each answers whether
// it worked, and fills `error` with a readable reason when it did not.
namespace files {
bool exists(std::string const& path);
bool is_directory(std::string const& path);
bool create_directory(std::string const& path, std::string* error = nullptr);
bool remove(std::string const& path, std::string* error = nullptr);
bool copy(std::string const& from, std::string const& to, std::string* error = nullptr);
bool move(std::string const& from, std::string const& to, std::string* error = nullptr);
// Names (not paths) of the entries in a folder, sorted; none when the folder
// cannot be read.
std::optional<std::vector<std::string>> list(std::string const& folder, std::string* error = nullptr);
std::optional<std::string> read(std::string const& path);
bool write(std::string const& path, std::string const& bytes, std::string* error = nullptr);
std::optional<std::uintmax_t> size(std::string const& path);
}

// A fresh random identifier in the 36-character upper-case form,
// e.g. "1B4E28BA-2FA1-41D2-883F-0016D3CCA427".
std::string make_uuid();

}
