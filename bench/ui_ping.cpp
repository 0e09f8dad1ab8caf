// Measures from outside how long the history window's user-interface thread stays unanswering:
// sends _NET_WM_PING to the window every 2 ms (Qt answers it on that thread) and, after
// SECONDS, prints the longest wait for an answer in milliseconds ("longest_ms=...").
//
//   kobako_ui_ping WINDOW SECONDS
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    auto *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return value;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const auto duration = std::chrono::duration<double>(std::atof(argv[2]));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The answer goes to the root window, to those that listen for its structure.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(connection, "_NET_WM_PING");

    std::map<uint32_t, Clock::time_point> sent; // by the stamp the ping carries
    double longest = 0;
    uint32_t stamp = 1;
    const auto end = Clock::now() + duration;
    auto nextPing = Clock::now();
    while (Clock::now() < end) {
        if (Clock::now() >= nextPing) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = protocols;
            event.data.data32[0] = ping;
            event.data.data32[1] = stamp;
            event.data.data32[2] = window;
            xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&event));
            xcb_flush(connection);
            sent[stamp++] = Clock::now();
            nextPing += std::chrono::milliseconds(2);
        }
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && message->type == protocols &&
                message->data.data32[0] == ping) {
                const auto found = sent.find(message->data.data32[1]);
                if (found != sent.end()) {
                    const double waited =
                        std::chrono::duration<double, std::milli>(Clock::now() - found->second)
                            .count();
                    longest = std::max(longest, waited);
                    sent.erase(sent.begin(), std::next(found));
                }
            }
            std::free(event);
        }
        // A ping still unanswered counts for as long as it has waited.
        if (!sent.empty())
            longest = std::max(longest, std::chrono::duration<double, std::milli>(
                                            Clock::now() - sent.begin()->second)
                                            .count());
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::printf("longest_ms=%.1f\n", longest);
    return 0;
}
