// A Wayland program that copies, for the tests: it sets the clipboard through wlroots' data
// control (as wl-copy does), and serves it as a well-behaved program does or misbehaves in one
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
// never         never writes the text, and never closes its pipe
// drip          writes one byte every 500 ms, for ever
// huge          writes 4 GiB
// die           writes part of the text, then exits
//
//   wayland_owner latency N
//
// copies N new texts, each 50 ms after the last was asked for, and prints the median and the p95
// of the time from a copy to the first request for its text, as clipbench does on X11.
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string mode;
wl_display *display;
wl_seat *seat;
zwlr_data_control_manager_v1 *manager;
zwlr_data_control_device_v1 *device;
bool done = false;

void writeAll(int fd, const std::string &bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + written, bytes.size() - written);
        if (put <= 0)
            return;
        written += static_cast<size_t>(put);
    }
}

// One copy: its text, whether the owner ends once another copy takes its place, and when its
// text was first asked for.
struct Copy {
    std::string text;
    bool last;
    Clock::time_point requested{};
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
    } else if (mode == "huge") {
        const std::string piece(1 << 20, 'h');
        for (int i = 0; i < 4096; ++i)
            if (write(fd, piece.data(), piece.size()) <= 0)
                break;
    } else if (mode == "die") {
        writeAll(fd, text.substr(0, text.size() / 2));
        std::_Exit(0);
    } else {
        writeAll(fd, text);
        if (mode == "secret-exit")
            std::_Exit(0);
    }
    close(fd);
}

const zwlr_data_control_source_v1_listener kSourceListener = {
    [](void *data, zwlr_data_control_source_v1 *, const char *type, int32_t fd) {
        auto *copy = static_cast<Copy *>(data);
        if (copy->requested == Clock::time_point{})
            copy->requested = Clock::now();
        std::thread(serve, std::string(type), fd, copy->text).detach();
    },
    [](void *copy, zwlr_data_control_source_v1 *source) {
        zwlr_data_control_source_v1_destroy(source);
        done = done || static_cast<Copy *>(copy)->last; // another copy took the clipboard
    }};

// The copies live as long as the program.
void copy(Copy *copy, bool marked) {
    auto *source = zwlr_data_control_manager_v1_create_data_source(manager);
    zwlr_data_control_source_v1_add_listener(source, &kSourceListener, copy);
    for (const char *type : {"text/plain;charset=utf-8", "text/plain"})
        zwlr_data_control_source_v1_offer(source, type);
    if (marked)
        zwlr_data_control_source_v1_offer(source, "x-kde-passwordManagerHint");
    zwlr_data_control_device_v1_set_selection(device, source);
}

const wl_registry_listener kRegistryListener = {
    [](void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
        if (std::strcmp(interface, "wl_seat") == 0 && !seat)
            seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            manager = static_cast<zwlr_data_control_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    },
    [](void *, wl_registry *, uint32_t) {}};

// Dispatches the display's events until `enough` says so or `end` passes.
bool dispatchUntil(Clock::time_point end, const std::function<bool()> &enough) {
    while (!enough()) {
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        wl_display_flush(display);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
        pollfd ready{wl_display_get_fd(display), POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        if (wl_display_read_events(display) < 0)
            return false;
        wl_display_dispatch_pending(display);
    }
    return true;
}

int measureLatency(int rounds) {
    std::deque<Copy> copies; // each stays where its source's listener finds it
    std::vector<double> waits;
    for (int i = 0; i < rounds; ++i) {
        Copy &round = copies.emplace_back(
            Copy{"wayland-latency-" + std::to_string(getpid()) + "-" + std::to_string(i), false});
        copy(&round, false);
        wl_display_flush(display);
        const auto copied = Clock::now();
        if (dispatchUntil(copied + std::chrono::seconds(2),
                          [&] { return round.requested != Clock::time_point{}; }))
            waits.push_back(
                std::chrono::duration<double, std::milli>(round.requested - copied).count());
        dispatchUntil(Clock::now() + std::chrono::milliseconds(50), [] { return false; });
    }
    if (waits.empty())
        return 1;
    std::sort(waits.begin(), waits.end());
    const size_t n = waits.size();
    const double median = (waits[(n - 1) / 2] + waits[n / 2]) / 2;
    const double p95 = waits[(n * 95 + 99) / 100 - 1]; // nearest rank
    std::printf("latency: served=%zu/%d median_ms=%.3f p95_ms=%.3f max_ms=%.3f\n", n, rounds,
                median, p95, waits.back());
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    mode = argv[1];
    const std::string text = argc > 2 ? argv[2] : "text";
    std::signal(SIGPIPE, SIG_IGN);
    display = wl_display_connect(nullptr);
    if (!display)
        return 2;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!seat || !manager)
        return 2;
    device = zwlr_data_control_manager_v1_get_data_device(manager, seat);
    if (mode == "latency")
        return measureLatency(argc > 2 ? std::atoi(argv[2]) : 100);
    const bool then = mode == "secret-then";
    Copy first{text, !then}, next{"next", true};
    copy(&first, mode.starts_with("secret"));
    if (then)
        copy(&next, false);
    wl_display_roundtrip(display);
    std::printf("owned\n");
    std::fflush(stdout);
    while (!done && wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
