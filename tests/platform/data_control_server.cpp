// A Wayland server that offers a seat and the standard data control, ext_data_control_manager_v1,
// and nothing else: no compositor here offers it. It plays the other programs of a desktop, by
// the lines it reads on standard input, and says on standard output what the clients set.
//
//   data_control_server SOCKET
//
// "copy TEXT"    another program copies TEXT
// "secret TEXT"  a password manager copies TEXT, marked secret
// A client's selection is read and printed as "selection TEXT"; "ready" is printed once the
// socket listens.
#include "ext-data-control-v1-server-protocol.h"

#include <unistd.h>
#include <wayland-server.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

namespace {

wl_display *display;
std::vector<wl_resource *> devices;

// What another program offers: the text, and whether it is marked secret.
struct Copy {
    std::string text;
    bool secret;
};
std::deque<Copy> copies; // every one ever offered, for the offers that may still be read

void destroyResource(wl_client *, wl_resource *resource) {
    wl_resource_destroy(resource);
}

void writeAndClose(int fd, const std::string &bytes) {
    [[maybe_unused]] const auto written = write(fd, bytes.data(), bytes.size());
    close(fd);
}

const struct ext_data_control_offer_v1_interface kOffer = {
    [](wl_client *, wl_resource *offer, const char *type, int32_t fd) {
        const auto *copy = static_cast<const Copy *>(wl_resource_get_user_data(offer));
        writeAndClose(fd,
                      std::strcmp(type, "x-kde-passwordManagerHint") == 0 ? "secret" : copy->text);
    },
    destroyResource};

// Announces an offer to every device: its types, then the selection.
void announce(Copy *copy, const std::vector<std::string> &types) {
    for (wl_resource *device : devices) {
        wl_resource *offer = wl_resource_create(wl_resource_get_client(device),
                                                &ext_data_control_offer_v1_interface, 1, 0);
        wl_resource_set_implementation(offer, &kOffer, copy, nullptr);
        ext_data_control_device_v1_send_data_offer(device, offer);
        for (const std::string &type : types)
            ext_data_control_offer_v1_send_offer(offer, type.c_str());
        ext_data_control_device_v1_send_selection(device, offer);
    }
    wl_display_flush_clients(display);
}

// A client's source: the types it offers.
struct Source {
    std::vector<std::string> types;
};

const struct ext_data_control_source_v1_interface kSource = {
    [](wl_client *, wl_resource *source, const char *type) {
        static_cast<Source *>(wl_resource_get_user_data(source))->types.emplace_back(type);
    },
    destroyResource};

// What a client's source sends, read until it is whole, then printed.
struct Reading {
    int fd;
    wl_event_source *source = nullptr;
    std::string text;
};

int readSelection(int fd, uint32_t, void *data) {
    auto *reading = static_cast<Reading *>(data);
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
        reading->text.append(buffer, static_cast<size_t>(got));
        return 0;
    }
    std::cout << "selection " << reading->text << std::endl;
    wl_event_source_remove(reading->source);
    close(reading->fd);
    delete reading;
    return 0;
}

const struct ext_data_control_device_v1_interface kDevice = {
    [](wl_client *, wl_resource *, wl_resource *source) {
        if (!source)
            return;
        int ends[2];
        if (pipe(ends) != 0)
            return;
        ext_data_control_source_v1_send_send(source, "text/plain;charset=utf-8", ends[1]);
        close(ends[1]);
        auto *reading = new Reading{ends[0], nullptr, {}};
        reading->source = wl_event_loop_add_fd(wl_display_get_event_loop(display), ends[0],
                                               WL_EVENT_READABLE, readSelection, reading);
        // The clients see the new selection, as a compositor shows it them.
        announce(&copies.emplace_back(Copy{"(a client's own)", false}),
                 static_cast<Source *>(wl_resource_get_user_data(source))->types);
    },
    destroyResource, [](wl_client *, wl_resource *, wl_resource *) {}};

const struct ext_data_control_manager_v1_interface kManager = {
    [](wl_client *client, wl_resource *manager, uint32_t id) {
        wl_resource *source = wl_resource_create(client, &ext_data_control_source_v1_interface,
                                                 wl_resource_get_version(manager), id);
        wl_resource_set_implementation(source, &kSource, new Source, [](wl_resource *resource) {
            delete static_cast<Source *>(wl_resource_get_user_data(resource));
        });
    },
    [](wl_client *client, wl_resource *manager, uint32_t id, wl_resource *) {
        wl_resource *device = wl_resource_create(client, &ext_data_control_device_v1_interface,
                                                 wl_resource_get_version(manager), id);
        wl_resource_set_implementation(device, &kDevice, nullptr, [](wl_resource *resource) {
            std::erase(devices, resource);
        });
        devices.push_back(device);
    },
    destroyResource};

// The seat is only named: nobody asks it for a pointer or a keyboard here.
const struct wl_seat_interface kSeat = {nullptr, nullptr, nullptr, destroyResource};

int readCommand(int fd, uint32_t, void *) {
    std::string line;
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    if (line.empty()) {
        wl_display_terminate(display);
        return 0;
    }
    const std::string command = line.substr(0, line.find(' '));
    const std::string text = line.substr(command.size() + 1);
    std::vector<std::string> types = {"text/plain;charset=utf-8", "text/plain"};
    if (command == "secret")
        types.emplace_back("x-kde-passwordManagerHint");
    announce(&copies.emplace_back(Copy{text, command == "secret"}), types);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    // A reader may close its end unread (the text of a copy marked secret): the write then
    // fails, as it does for a desktop's programs, instead of ending the server.
    std::signal(SIGPIPE, SIG_IGN);
    display = wl_display_create();
    if (wl_display_add_socket(display, argv[1]) != 0)
        return 2;
    wl_global_create(display, &wl_seat_interface, 1, nullptr,
                     [](wl_client *client, void *, uint32_t version, uint32_t id) {
                         wl_resource *seat =
                             wl_resource_create(client, &wl_seat_interface, version, id);
                         wl_resource_set_implementation(seat, &kSeat, nullptr, nullptr);
                     });
    wl_global_create(display, &ext_data_control_manager_v1_interface, 1, nullptr,
                     [](wl_client *client, void *, uint32_t version, uint32_t id) {
                         wl_resource *manager = wl_resource_create(
                             client, &ext_data_control_manager_v1_interface, version, id);
                         wl_resource_set_implementation(manager, &kManager, nullptr, nullptr);
                     });
    wl_event_loop_add_fd(wl_display_get_event_loop(display), STDIN_FILENO, WL_EVENT_READABLE,
                         readCommand, nullptr);
    std::cout << "ready" << std::endl;
    wl_display_run(display);
    wl_display_destroy(display);
    return 0;
}
