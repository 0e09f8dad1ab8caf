// A Wayland program that copies or pastes, for the tests: it sets the clipboard through wlroots'
// data control (as wl-copy does) and serves it as a well-behaved program does or misbehaves in one
// chosen way. It prints "owned" once its copy is the clipboard's, and ends when another copy
// takes the clipboard.
//
//   wayland_owner MODE [TEXT]
//
// plain         offers TEXT as text
// secret        offers the secret mark with it, as a password manager does
// secret-refuse offers the secret mark but closes its pipe unwritten
// secret-exit   offers the secret mark; exits right after giving the text
// secret-then   offers the secret mark; at once copies "next" over it
// slow          gives the text 3 s after it is asked for, then exits
// never         never writes the text, and never closes its pipe
// drip          writes one byte every 500 ms, for ever
// huge          writes 4 GiB
// endless       writes for ever, also once another copy took the clipboard; prints "asked"
// die           writes part of the text, then exits
// types N       offers N more types than text, each a short name, and ends once it is set: such
//               a copy drops a data-control client that does not read it fast enough, wl-copy too
// long-types N  the same with names of 4,000 bytes
// unanswered N  copies N times 1 ms apart, never writing nor closing a pipe
//
//   wayland_owner paste-idle N   asks for the clipboard's text N times, reads none, prints "asked"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string mode;
wl_display *display;
wl_seat *seat;
zwlr_data_control_manager_v1 *manager;
zwlr_data_control_device_v1 *device;
zwlr_data_control_offer_v1 *selection; // the clipboard as it stands, for pasting
std::vector<int> unanswered;
bool done = false;
std::mutex announcing; // held until "owned" is said

bool writeAll(int fd, const std::string &bytes) {
    for (size_t written = 0; written < bytes.size();) {
        const ssize_t put = write(fd, bytes.data() + written, bytes.size() - written);
        if (put <= 0)
            return false;
        written += static_cast<size_t>(put);
    }
    return true;
}

// One copy: its text, and whether the owner ends once another copy takes its place.
struct Copy {
    std::string text;
    bool last;
};

// Serves one request on a thread of its own, as slowly as the mode says.
void serve(std::string type, int fd, std::string text) {
    if (type == "x-kde-passwordManagerHint") {
        if (mode != "secret-refuse")
            writeAll(fd, "secret");
    } else if (mode == "never") {
        std::this_thread::sleep_for(std::chrono::hours(1));
    } else if (mode == "drip") {
        while (write(fd, "d", 1) == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
    } else if (mode == "huge" || mode == "endless") {
        const std::string piece(1 << 20, 'h');
        for (size_t i = 0; i < (mode == "huge" ? 4096 : SIZE_MAX); ++i)
            if (!writeAll(fd, piece))
                break;
    } else {
        if (mode == "slow")
            std::this_thread::sleep_for(std::chrono::seconds(3));
        writeAll(fd, mode == "die" ? text.substr(0, text.size() / 2) : text);
        if (mode == "die" || mode == "secret-exit" || mode == "slow") {
            const std::lock_guard said(announcing); // a test waits for "owned" before anything
            std::_Exit(0);
        }
    }
    close(fd);
}

const zwlr_data_control_source_v1_listener kSourceListener = {
    [](void *data, zwlr_data_control_source_v1 *, const char *type, int32_t fd) {
        auto *copy = static_cast<Copy *>(data);
        if (mode == "endless")
            std::puts("asked");
        if (mode == "unanswered")
            return unanswered.push_back(fd); // kept open, never written
        std::thread(serve, std::string(type), fd, copy->text).detach();
    },
    [](void *copy, zwlr_data_control_source_v1 *source) {
        zwlr_data_control_source_v1_destroy(source);
        // Another copy took the clipboard; a slow owner still gives its text.
        done = done || (static_cast<Copy *>(copy)->last && mode != "endless" && mode != "slow");
    }};

// The copies live as long as the program.
void copy(Copy *copy, const std::vector<std::string> &more) {
    auto *source = zwlr_data_control_manager_v1_create_data_source(manager);
    zwlr_data_control_source_v1_add_listener(source, &kSourceListener, copy);
    for (const char *type : {"text/plain;charset=utf-8", "text/plain"})
        zwlr_data_control_source_v1_offer(source, type);
    size_t unanswered = 0;
    for (const std::string &type : more) {
        zwlr_data_control_source_v1_offer(source, type.c_str());
        // The compositor takes them in as they come: a full socket would end this program.
        if ((unanswered += type.size()) > 16 * 1024) {
            wl_display_roundtrip(display);
            unanswered = 0;
        }
    }
    zwlr_data_control_device_v1_set_selection(device, source);
}

const zwlr_data_control_device_v1_listener kDeviceListener = {
    [](void *, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *) {},
    [](void *, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer) {
        selection = offer;
    },
    [](void *, zwlr_data_control_device_v1 *) {},
    [](void *, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *) {}};

const wl_registry_listener kRegistryListener = {
    [](void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
        if (std::strcmp(interface, "wl_seat") == 0 && !seat)
            seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            manager = static_cast<zwlr_data_control_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    },
    [](void *, wl_registry *, uint32_t) {}};

// Asks for the clipboard's text `count` times and reads none, holding every pipe open.
int pasteIdle(int count) {
    wl_display_roundtrip(display); // the clipboard as it stands
    for (int i = 0; i < count && selection; ++i) {
        int pipe[2];
        if (pipe2(pipe, O_CLOEXEC) != 0)
            break;
        zwlr_data_control_offer_v1_receive(selection, "text/plain;charset=utf-8", pipe[1]);
        close(pipe[1]);
        if (i % 64 == 63)
            wl_display_roundtrip(display);
    }
    wl_display_roundtrip(display);
    std::puts("asked");
    pause();
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    mode = argv[1];
    const std::string text = argc > 2 ? argv[2] : "text";
    const int count = std::atoi(text.c_str());
    std::signal(SIGPIPE, SIG_IGN);
    std::setvbuf(stdout, nullptr, _IONBF, 0); // a test waits on each line
    // Holding thousands of pipes open is the point of some modes.
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    display = wl_display_connect(nullptr);
    if (!display)
        return 2;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!seat || !manager)
        return 2;
    device = zwlr_data_control_manager_v1_get_data_device(manager, seat);
    zwlr_data_control_device_v1_add_listener(device, &kDeviceListener, nullptr);
    if (mode == "paste-idle")
        return pasteIdle(count);
    std::deque<Copy> copies;
    std::unique_lock unannounced(announcing);
    if (mode == "unanswered") {
        for (int i = 0; i < count; ++i) {
            copy(&copies.emplace_back(Copy{"unanswered", false}), {});
            wl_display_roundtrip(display);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } else if (mode == "types" || mode == "long-types") {
        // Types the compositor must pass on, short or 4,000 bytes long.
        std::vector<std::string> types;
        for (int i = 0; i < count; ++i) {
            types.push_back("application/x-many-" + std::to_string(i) + "-");
            types.back().resize(std::max<size_t>(types.back().size(), mode == "types" ? 0 : 4000),
                                'x');
        }
        copy(&copies.emplace_back(Copy{"many types", true}), types);
    } else {
        const bool then = mode == "secret-then";
        copy(&copies.emplace_back(Copy{text, !then}),
             mode.starts_with("secret") ? std::vector<std::string>{"x-kde-passwordManagerHint"}
                                        : std::vector<std::string>{});
        if (then)
            copy(&copies.emplace_back(Copy{"next", true}), {});
    }
    wl_display_roundtrip(display);
    std::puts("owned");
    unannounced.unlock();
    if (mode == "types" || mode == "long-types")
        return 0;
    while (!done && wl_display_dispatch(display) >= 0) {
    }
    // These go on writing, or holding their pipes, until they are killed.
    if (mode == "endless" || mode == "unanswered" || mode == "slow")
        pause();
    return 0;
}
