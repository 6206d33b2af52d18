#include "store_tool.h"

#include "platform/foundation/paths.h"
#include "platform/foundation/value_json.h"
#include "platform/linux/sqlite_persistence.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

namespace cw::store_tool {

namespace {

constexpr char const* kUsage =
    "usage: cuewright-store export [--data-dir DIR] [--out FILE]\n"
    "       cuewright-store import [--data-dir DIR] FILE\n"
    "\n"
    "export  writes the whole store as typed JSON to FILE, or to standard output.\n"
    "import  replaces the whole store with the content of FILE (\"-\" reads standard\n"
    "        input), in one step; a file that does not read back cleanly changes\n"
    "        nothing. Quit Cuewright first: a running Cuewright keeps its own copy\n"
    "        of the store and would write it back over the import.\n"
    "\n"
    "The store is DIR/library.sqlite. Without --data-dir, DIR is $CUEWRIGHT_HOME,\n"
    "else ${XDG_DATA_HOME:-~/.local/share}/cuewright.\n";

struct Options {
    std::string command;
    std::optional<std::string> data_dir;
    std::optional<std::string> out_file;
    std::optional<std::string> in_file;
};

// Fills `options`, or answers why the arguments make no sense.
std::optional<std::string> parse(std::vector<std::string> const& args, Options& options)
{
    if (args.empty())
        return "no command given";
    options.command = args[0];
    if (options.command != "export" && options.command != "import")
        return "unknown command \"" + options.command + "\"";
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string const& arg = args[i];
        auto take_value = [&](std::string const& name, std::optional<std::string>& into) -> std::optional<std::string> {
            if (into)
                return name + " given twice";
            if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
                into = arg.substr(name.size() + 1);
                return std::nullopt;
            }
            if (i + 1 >= args.size())
                return name + " needs a value";
            into = args[++i];
            return std::nullopt;
        };
        std::optional<std::string> problem;
        if (arg == "--data-dir" || arg.starts_with("--data-dir="))
            problem = take_value("--data-dir", options.data_dir);
        else if (options.command == "export" && (arg == "--out" || arg.starts_with("--out=")))
            problem = take_value("--out", options.out_file);
        else if (options.command == "import" && !options.in_file && (arg == "-" || !arg.starts_with("-")))
            options.in_file = arg;
        else
            problem = "unexpected argument \"" + arg + "\"";
        if (problem)
            return problem;
    }
    if (options.data_dir && options.data_dir->empty())
        return "--data-dir needs a folder";
    if (options.command == "import" && !options.in_file)
        return "import needs the FILE to read";
    return std::nullopt;
}

SqlitePersistence::Logger logger_to(std::ostream& err)
{
    return [&err](std::string const& line) {
        std::string_view text = line;
        if (text.starts_with("store: "))
            text.remove_prefix(7);
        err << "cuewright-store: " << text << '\n';
    };
}

// Writes next to the target and renames over it, so an interrupted export
// never leaves half a backup under the real name.
bool write_whole_file(std::string const& path, std::string const& text, std::string& why)
{
    std::string const partial = path + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file) {
            why = std::strerror(errno);
            return false;
        }
        file.write(text.data(), std::streamsize(text.size()));
        file.flush();
        if (!file) {
            why = "write failed";
            file.close();
            std::remove(partial.c_str());
            return false;
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

int run_export(Options const& options, std::ostream& out, std::ostream& err)
{
    std::string const database = Paths::resolve(options.data_dir).store_file();
    SqlitePersistence store(database, logger_to(err), SqlitePersistence::Access::Inspect);
    auto values = store.load();
    if (!store.failure().empty())
        return 1; // the logger has said why
    std::string error;
    auto text = store_to_json(values, &error);
    if (!text) {
        err << "cuewright-store: cannot export " << database << ": " << error << '\n';
        return 1;
    }
    if (!options.out_file) {
        out << *text;
        out.flush();
        return out ? 0 : 1;
    }
    std::string why;
    if (!write_whole_file(*options.out_file, *text, why)) {
        err << "cuewright-store: cannot write " << *options.out_file << ": " << why << '\n';
        return 1;
    }
    err << "cuewright-store: exported " << values.size() << " keys from " << database << " to " << *options.out_file << '\n';
    return 0;
}

int run_import(Options const& options, std::ostream& out, std::ostream& err)
{
    std::string const& name = *options.in_file;
    std::string text;
    if (name == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(name, std::ios::binary);
        if (!file) {
            err << "cuewright-store: cannot read " << name << ": " << std::strerror(errno) << '\n';
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) {
            err << "cuewright-store: cannot read " << name << '\n';
            return 1;
        }
    }

    std::string error;
    auto imported = store_from_json(text, &error);
    if (!imported) {
        err << "cuewright-store: " << (name == "-" ? "standard input" : name) << ": " << error << "\n"
            << "cuewright-store: nothing was imported; the store is unchanged\n";
        return 1;
    }

    std::string const database = Paths::resolve(options.data_dir).store_file();
    SqlitePersistence store(database, logger_to(err));
    auto const existing = store.load();
    if (!store.failure().empty())
        return 1;

    ChangeSet changes;
    std::size_t removed = 0;
    for (auto const& [key, value] : existing) {
        if (!imported->contains(key)) {
            changes.emplace(key, std::nullopt);
            ++removed;
        }
    }
    for (auto& [key, value] : *imported)
        changes.insert_or_assign(key, std::move(value));
    if (!store.write(changes)) {
        err << "cuewright-store: nothing was imported; the store is unchanged\n";
        return 1;
    }
    out << "imported " << imported->size() << " keys into " << database << " (" << removed << " keys removed)\n";
    return 0;
}

}

int run(std::vector<std::string> const& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && (args[0] == "help" || args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    Options options;
    if (auto problem = parse(args, options)) {
        err << "cuewright-store: " << *problem << "\n\n" << kUsage;
        return 2;
    }
    return options.command == "export" ? run_export(options, out, err) : run_import(options, out, err);
}

}
