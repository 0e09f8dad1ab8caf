// The capture latency through wlroots' data control, as clipbench measures it on X11: copies N
// new texts, each 50 ms after the last was asked for, and prints the median and the p95 of the
// time from a copy to the first request for its text.
//
//   kobako_wayland_clipbench [N]
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Client {
    wl_display *display = nullptr;
    wl_seat *seat = nullptr;
    zwlr_data_control_manager_v1 *manager = nullptr;
};

const wl_registry_listener kRegistryListener = {
    [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
        auto *client = static_cast<Client *>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !client->seat)
            client->seat =
                static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            client->manager = static_cast<zwlr_data_control_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    },
    [](void *, wl_registry *, uint32_t) {}};

// A copy answers every request with its text and notes when the first one came.
struct Round {
    std::string text;
    Clock::time_point asked{};
};

const zwlr_data_control_source_v1_listener kSourceListener = {
    [](void *data, zwlr_data_control_source_v1 *, const char *, int32_t fd) {
        auto *round = static_cast<Round *>(data);
        if (round->asked == Clock::time_point{})
            round->asked = Clock::now();
        if (write(fd, round->text.data(), round->text.size()) < 0)
            std::perror("write");
        close(fd);
    },
    [](void *, zwlr_data_control_source_v1 *source) {
        zwlr_data_control_source_v1_destroy(source);
    }};

// Reads and dispatches the display's events until `until`, or until `done` says so.
template <typename Done>
void dispatchUntil(wl_display *display, Clock::time_point until, Done done) {
    while (!done()) {
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        wl_display_flush(display);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        pollfd ready{wl_display_get_fd(display), POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            wl_display_cancel_read(display);
            return;
        }
        if (wl_display_read_events(display) < 0)
            return;
        wl_display_dispatch_pending(display);
    }
}

} // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    Client client;
    client.display = wl_display_connect(nullptr);
    if (!client.display)
        return 2;
    wl_registry_add_listener(wl_display_get_registry(client.display), &kRegistryListener, &client);
    wl_display_roundtrip(client.display);
    if (!client.seat || !client.manager)
        return 2;
    auto *device = zwlr_data_control_manager_v1_get_data_device(client.manager, client.seat);
    std::vector<Round> copies(static_cast<size_t>(rounds)); // where the listeners find them
    std::vector<double> waits;
    for (int i = 0; i < rounds; ++i) {
        Round &round = copies[static_cast<size_t>(i)];
        round.text = "wayland-latency-" + std::to_string(getpid()) + "-" + std::to_string(i);
        auto *source = zwlr_data_control_manager_v1_create_data_source(client.manager);
        zwlr_data_control_source_v1_add_listener(source, &kSourceListener, &round);
        zwlr_data_control_source_v1_offer(source, "text/plain;charset=utf-8");
        zwlr_data_control_device_v1_set_selection(device, source);
        wl_display_flush(client.display);
        const auto copied = Clock::now();
        dispatchUntil(client.display, copied + std::chrono::seconds(2),
                      [&] { return round.asked != Clock::time_point{}; });
        if (round.asked != Clock::time_point{})
            waits.push_back(
                std::chrono::duration<double, std::milli>(round.asked - copied).count());
        dispatchUntil(client.display, Clock::now() + std::chrono::milliseconds(50),
                      [] { return false; });
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
