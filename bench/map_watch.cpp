// Prints, on the monotonic clock, when the clipboard first changes hands ("copied T") and when a
// window named "Kobako" is first mapped or moved where it can be seen on the screen ("shown T"),
// then exits. Used by scripts/bench_program.py to time start-up and the showing of a capture from
// outside the program: the copy is timed when it happens, not when the copying program started.
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::string nameOf(xcb_connection_t *connection, xcb_window_t window) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                               nullptr),
        &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
                       xcb_get_property_value_length(reply.get()));
}

bool onScreen(xcb_connection_t *connection, xcb_window_t window, const xcb_screen_t &screen) {
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
        &std::free);
    Reply<xcb_translate_coordinates_reply_t> at(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, window, screen.root, 0, 0), nullptr),
        &std::free);
    return geometry && at && at->dst_x < screen.width_in_pixels &&
           at->dst_y < screen.height_in_pixels && at->dst_x + geometry->width > 0 &&
           at->dst_y + geometry->height > 0;
}

double now() {
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

} // namespace

int main() {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 2;
    const xcb_screen_t &screen = *xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen.root, XCB_CW_EVENT_MASK, &mask);
    Reply<xcb_xfixes_query_version_reply_t> xfixes(
        xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 5, 0),
                                       nullptr),
        &std::free);
    Reply<xcb_intern_atom_reply_t> clipboard(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 9, "CLIPBOARD"), nullptr),
        &std::free);
    if (!xfixes || !clipboard)
        return 2;
    const uint8_t ownerChanged = xcb_get_extension_data(connection, &xcb_xfixes_id)->first_event +
                                 XCB_XFIXES_SELECTION_NOTIFY;
    xcb_xfixes_select_selection_input(connection, screen.root, clipboard->atom,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    xcb_flush(connection);
    bool copied = false;
    std::printf("ready\n");
    std::fflush(stdout);
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        Reply<xcb_generic_event_t> owned(event, &std::free);
        const double at = now();
        if ((event->response_type & 0x7F) == ownerChanged && !copied) {
            copied = true;
            std::printf("copied %.6f\n", at);
            std::fflush(stdout);
        }
        // Mapped where it can be seen, or (mapped out of sight at start) moved onto the screen.
        const uint8_t type = event->response_type & 0x7F;
        if (type != XCB_MAP_NOTIFY && type != XCB_CONFIGURE_NOTIFY)
            continue;
        const xcb_window_t window =
            type == XCB_MAP_NOTIFY
                ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window
                : reinterpret_cast<xcb_configure_notify_event_t *>(event)->window;
        if (nameOf(connection, window) == "Kobako" && onScreen(connection, window, screen)) {
            std::printf("shown %.6f\n", at);
            return 0;
        }
    }
    return 1;
}
