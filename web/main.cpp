// cuewright: the program. Runs Cuewright on this machine's real back ends
// (the store in the data folder, the real clock, the log file) and shows it
// in a browser: it serves the page at http://127.0.0.1:8765 and prints the
// address. With --listen it serves phones and tablets on the network too,
// behind an access token printed with the address and as a QR code.
// Ctrl-C (or SIGTERM) quits cleanly, with the store written.

#include "platform/linux/sqlite_persistence.h"
#include "platform/sim/wav_reader.h"
#include "sim/driver.h"
#include "web/back_ends.h"
#include "web/bridge.h"
#include "web/qr.h"
#include "web/random.h"
#include "web/server.h"
#include "web/uploads.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef CUEWRIGHT_STATIC_DIR
#    error "CUEWRIGHT_STATIC_DIR names the folder of the page's files"
#endif

namespace {

using namespace cw;

constexpr char const* usage =
    "usage: cuewright [--port N] [--data-dir DIR] [--idiom phone|tablet] [--listen ADDRESS] [--mic-file FILE]\n"
    "\n"
    "Runs Cuewright and serves it to a browser at http://127.0.0.1:8765/.\n"
    "\n"
    "  --port N          serve on port N (default 8765; 0 picks a free one)\n"
    "  --data-dir DIR    keep the library in DIR instead of $CUEWRIGHT_HOME or\n"
    "                    ${XDG_DATA_HOME:-~/.local/share}/cuewright\n"
    "  --idiom KIND      behave as a phone (default) or a tablet\n"
    "  --listen ADDRESS  also serve phones and tablets on the network at this\n"
    "                    numeric address (0.0.0.0 for every network); the page\n"
    "                    then needs the access token printed at start\n"
    "  --mic-file FILE   voice scrolling hears this WAV file, over and over,\n"
    "                    instead of the microphone\n";

struct Options {
    int port { 8765 };
    std::optional<std::string> data_dir;
    Idiom idiom { Idiom::Phone };
    std::optional<std::string> listen;
    std::optional<std::string> mic_file;
};

// Fills `options`, or answers what is wrong with the arguments.
std::optional<std::string> parse(std::vector<std::string> const& args, Options& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        auto const& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (arg == "--port") {
            auto text = value();
            try {
                size_t used = 0;
                int port = text ? std::stoi(*text, &used) : -1;
                if (!text || used != text->size() || port < 0 || port > 65535)
                    return "--port needs a number from 0 to 65535";
                options.port = port;
            } catch (std::exception const&) {
                return "--port needs a number from 0 to 65535";
            }
        } else if (arg == "--data-dir") {
            options.data_dir = value();
            if (!options.data_dir || options.data_dir->empty())
                return "--data-dir needs a folder";
        } else if (arg == "--idiom") {
            auto text = value();
            if (text != "phone" && text != "tablet")
                return "--idiom is \"phone\" or \"tablet\"";
            options.idiom = *text == "tablet" ? Idiom::Tablet : Idiom::Phone;
        } else if (arg == "--listen") {
            options.listen = value();
            unsigned char buffer[sizeof(in6_addr)];
            if (!options.listen || (inet_pton(AF_INET, options.listen->c_str(), buffer) != 1 && inet_pton(AF_INET6, options.listen->c_str(), buffer) != 1))
                return "--listen needs a numeric address, e.g. 0.0.0.0 or 192.168.1.20";
        } else if (arg == "--mic-file") {
            options.mic_file = value();
            std::string problem;
            if (!options.mic_file || !sim::WavReader::open(*options.mic_file, problem))
                return options.mic_file ? problem : "--mic-file needs a WAV file";
        } else {
            return "unknown argument \"" + arg + "\"";
        }
    }
    return std::nullopt;
}

// The addresses a phone can reach this machine at, for a server listening
// on every IPv4 address.
std::vector<std::string> network_addresses()
{
    std::vector<std::string> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return addresses;
    for (auto* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_LOOPBACK) || !(entry->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN];
        auto const* address = reinterpret_cast<sockaddr_in const*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
            addresses.emplace_back(text);
    }
    freeifaddrs(list);
    return addresses;
}

std::string host_name()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || !name[0])
        return "Presenter's device";
    return name;
}

// The live device: the application on the real clock, the SQLite store and
// the log file, adopted by the driver so the pages' commands reach it.
SimDevice& start_device(Driver& driver, Paths const& paths, Idiom idiom, std::optional<std::string> const& mic_file, web::PageServices& page_services)
{
    auto log_file = std::make_shared<StreamLogSink>(paths.log_file());
    // What pages and the driver read back; the whole log is in the file.
    auto captured = std::make_shared<CapturedLogSink>(5000);
    auto stand_ins = std::make_unique<sim::SimPlatform>();
    auto* platform = stand_ins.get();
    auto persistence = std::make_unique<SqlitePersistence>(paths.store_file(), [log_file](std::string const& line) { log_file->write(line); });
    ApplicationSetup setup;
    setup.paths = paths;
    setup.idiom = idiom;
    setup.window_size = idiom == Idiom::Tablet ? Size { 820, 1180 } : Size { 390, 844 };
    setup.device_name = host_name();
    auto application = std::make_unique<Application>(driver.loop(), std::move(persistence), setup, [&](AppContext& context) {
        context.log.add_sink(log_file);
        context.log.add_sink(captured);
        web::install_linux_services(context, *platform, page_services);
        // The stand-in microphone plays the file instead of the real one.
        std::string ignored;
        if (mic_file && platform->audio->play_wav_file(*mic_file, true, ignored))
            context.services.provide<AudioService>(platform->audio);
    });
    auto& device = driver.adopt_device("main", std::make_unique<SimDevice>(driver.loop(), std::move(application), std::move(stand_ins), captured));
    device.launch();
    return device;
}

void print_addresses(web::WebServer const& server, Options const& options)
{
    if (!options.listen) {
        std::cout << "Cuewright is running. Open " << server.url() << " in a browser.\n";
    } else {
        std::vector<std::string> hosts;
        if (*options.listen == "0.0.0.0")
            hosts = network_addresses();
        if (hosts.empty())
            hosts.push_back(*options.listen);
        std::cout << "Cuewright is running. On a phone or tablet on this network, open\n";
        for (auto const& host : hosts)
            std::cout << "  " << server.url(host) << "\n";
        std::cout << "or scan this code:\n" << web::terminal_qr(server.url(hosts.front()));
        std::cout << "On this computer, open " << server.url(hosts.front()) << "\n";
    }
    std::cout << "Press Ctrl-C to quit." << std::endl;
}

}

int main(int argc, char** argv)
{
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << usage;
        return 0;
    }
    if (auto problem = parse(args, options)) {
        std::cerr << "cuewright: " << *problem << "\n\n" << usage;
        return 2;
    }

    // Ctrl-C and SIGTERM are taken by one thread, which asks the main loop
    // to finish; every other thread (civetweb's too) inherits the blocked
    // mask, so no handler ever runs in the middle of their work.
    sigset_t quit_signals;
    sigemptyset(&quit_signals);
    sigaddset(&quit_signals, SIGINT);
    sigaddset(&quit_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &quit_signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    auto paths = Paths::resolve(options.data_dir);
    if (!paths.ensure_folders()) {
        std::cerr << "cuewright: cannot create the data folder " << paths.root << "\n";
        return 1;
    }

    RunLoop loop(RunLoop::Time::Real);
    Driver driver(loop);
    web::PageServices page_services;
    auto& device = start_device(driver, paths, options.idiom, options.mic_file, page_services);

    std::atomic<web::WebServer*> server_for_bridge { nullptr };
    web::Bridge bridge(driver, device, [&](web::ClientId id, std::string text, bool frame) {
        if (auto* server = server_for_bridge.load())
            server->send(id, std::move(text), frame ? web::WebServer::Kind::Frame : web::WebServer::Kind::Reply);
    });

    std::unique_ptr<web::WebServer> server;
    try {
        web::WebServer::Options server_options;
        server_options.address = options.listen.value_or("127.0.0.1");
        server_options.port = options.port;
        server_options.static_root = CUEWRIGHT_STATIC_DIR;
        server_options.upload_folder = paths.temporary() + "/uploads";
        web::clear_upload_folder(server_options.upload_folder);
        server_options.media_root = paths.saved_videos();
        if (options.listen)
            server_options.token = web::random_hex(16);
        server = std::make_unique<web::WebServer>(server_options, web::WebServer::Handlers {
            [&](web::ClientId id) { bridge.opened(id); },
            [&](web::ClientId id, std::string_view text) { bridge.message(id, text); },
            [&](web::ClientId id) { bridge.closed(id); },
            [&](web::Upload upload) { return web::hand_upload_to_picker(loop, device, std::move(upload)); },
        });
    } catch (std::exception const& error) {
        std::cerr << "cuewright: " << error.what() << "\n";
        return 1;
    }
    server_for_bridge = server.get();
    page_services.connect([&bridge](std::string const& url) { bridge.open_url_in_page(url); });
    bridge.set_text_layout(page_services.text_layout.get());
    print_addresses(*server, options);

    std::thread([&loop, quit_signals] {
        int signal = 0;
        sigwait(&quit_signals, &signal);
        loop.quit();
        // A second Ctrl-C while shutting down ends the program at once.
        sigwait(&quit_signals, &signal);
        std::_Exit(130);
    }).detach();

    loop.run();

    std::cout << "Quitting." << std::endl;
    page_services.connect({});
    server_for_bridge = nullptr;
    server.reset();
    if (!device.store().synchronize())
        std::cerr << "cuewright: the library could not be written; see " << paths.log_file() << "\n";
    return 0;
}
