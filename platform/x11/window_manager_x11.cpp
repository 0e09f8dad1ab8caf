#include "platform/window_manager.h"

#include "platform/caption_pictures.h"
#include "qt_x11.h"
#include "reply.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

namespace kobako::platform {

namespace {

// A request of the EWMH: a client message about a window, sent to the root window, where the
// window manager listens for it.
void askWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                      std::initializer_list<uint32_t> data) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = type;
    std::copy(data.begin(), data.end(), request.data.data32);
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(connection);
}

// The 32-bit values of a window's property; empty when it is not set.
std::vector<uint32_t> cardinals(xcb_connection_t *connection, xcb_window_t window,
                                xcb_atom_t property, xcb_atom_t type) {
    const auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

} // namespace

void requestKeepAbove(QWidget &window, bool above) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.isVisible() || !window.internalWinId())
        return;
    static const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    static const xcb_atom_t keepAbove = internAtom(connection, "_NET_WM_STATE_ABOVE");
    constexpr uint32_t kRemove = 0, kAdd = 1, kFromAnApplication = 1;
    askWindowManager(connection, static_cast<xcb_window_t>(window.internalWinId()), state,
                     {above ? kAdd : kRemove, keepAbove, 0, kFromAnApplication});
}

namespace {

// What the running window manager says of a feature of the EWMH: no window manager at all,
// one that supports it, or one that does not.
enum class Support { NoWindowManager, Supported, Unsupported };
Support windowManagerSupport(xcb_connection_t *connection, const char *feature) {
    static const xcb_atom_t supported = internAtom(connection, "_NET_SUPPORTED");
    static const xcb_atom_t check = internAtom(connection, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t root = rootOf(connection);
    if (cardinals(connection, root, check, XCB_ATOM_WINDOW).empty())
        return Support::NoWindowManager;
    const auto features = cardinals(connection, root, supported, XCB_ATOM_ATOM);
    const bool listed = std::find(features.begin(), features.end(),
                                  internAtom(connection, feature)) != features.end();
    return listed ? Support::Supported : Support::Unsupported;
}

// The frame extents the window manager has set on a window, if it has.
std::optional<QMargins> frameExtents(xcb_connection_t *connection, xcb_window_t window) {
    static const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");
    const auto sides = cardinals(connection, window, extents, XCB_ATOM_CARDINAL);
    if (sides.size() != 4)
        return std::nullopt;
    return QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                    static_cast<int>(sides[1]), static_cast<int>(sides[3]));
}

} // namespace

std::optional<QMargins> expectedFrame(QWidget &window) {
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return QMargins();
    static const xcb_atom_t request = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    switch (windowManagerSupport(connection, "_NET_REQUEST_FRAME_EXTENTS")) {
    case Support::NoWindowManager:
        return QMargins(); // no window manager: no frame
    case Support::Unsupported:
        return std::nullopt;
    case Support::Supported:
        break;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    askWindowManager(connection, id, request, {});
    // A window manager that answers does so at once; some answer only once the window is mapped.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (auto frame = frameExtents(connection, id))
            return frame;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

void whenFramed(QWidget &window, std::function<void(QMargins)> placed) {
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    auto *poll = new QTimer(&window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, &window,
                     [connection, id, poll, placed = std::move(placed), attempts = 0]() mutable {
                         const auto frame = frameExtents(connection, id);
                         if (frame)
                             placed(*frame);
                         if (frame || ++attempts == 50)
                             poll->deleteLater();
                     });
    poll->start();
}

// Mapped iconic when not yet mapped.
void showMinimized(QWidget &window) {
    window.setWindowState(window.windowState() | Qt::WindowMinimized);
    window.show();
}

bool windowManagerMinimizes() {
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return true;
    // Without a window manager a minimized window is simply not shown by anyone.
    return windowManagerSupport(connection, "_NET_WM_STATE_HIDDEN") != Support::Unsupported;
}

// Straight in WM_HINTS: through Qt's window flags the change would also restate the window's
// other states from Qt's flags, which hold no keeping above.
void setProgramIcon(QWidget &window) {
    window.setWindowIcon(QIcon(drawProgramIcon(64)));
}

void setTakesFocus(QWidget &window, bool takes) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.internalWinId())
        return;
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    const auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9),
        nullptr));
    // The nine fields of WM_HINTS; the first holds which of the others are set.
    std::array<uint32_t, 9> hints{};
    if (reply && reply->format == 32)
        std::memcpy(hints.data(), xcb_get_property_value(reply.get()),
                    std::min<size_t>(xcb_get_property_value_length(reply.get()), sizeof hints));
    constexpr uint32_t kInputHint = 1;
    hints[0] |= kInputHint;
    hints[1] = takes ? 1 : 0;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                        32, hints.size(), hints.data());
    xcb_flush(connection);
}

void activateOnlyOnClicksThat(QWidget &, std::function<bool(QPoint)>) {}

WindowManagerMessages::WindowManagerMessages(QWidget &window) : QObject(&window), window_(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowManagerMessages::~WindowManagerMessages() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowManagerMessages::nativeEventFilter(const QByteArray &type, void *message, qintptr *) {
    xcb_connection_t *connection = x11Connection();
    if (type != "xcb_generic_event_t" || !connection || !window_.internalWinId())
        return false;
    const auto id = static_cast<xcb_window_t>(window_.internalWinId());
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7F) {
    case XCB_MAP_NOTIFY:
        if (reinterpret_cast<const xcb_map_notify_event_t *>(event)->window == id)
            emit mapped();
        break;
    case XCB_CLIENT_MESSAGE: {
        static const xcb_atom_t protocols = internAtom(connection, "WM_PROTOCOLS");
        static const xcb_atom_t takeFocus = internAtom(connection, "WM_TAKE_FOCUS");
        const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event);
        if (client->window == id && client->type == protocols && client->format == 32 &&
            client->data.data32[0] == takeFocus)
            emit focusOffered(client->data.data32[1]);
        break;
    }
    default:
        break;
    }
    return false; // Qt sees them too
}

void takeFocus(QWidget &window, uint32_t time) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.internalWinId())
        return;
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT,
                        static_cast<xcb_window_t>(window.internalWinId()), time);
    xcb_flush(connection);
}

QPoint windowPosition(const QWidget &window) {
    xcb_connection_t *connection = x11Connection();
    if (!connection || window.internalWinId() == 0)
        return window.pos();
    const auto reply = own(xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window.internalWinId()),
                                  rootOf(connection), 0, 0),
        nullptr));
    return reply ? QPoint(reply->dst_x, reply->dst_y) : window.pos();
}

quintptr keyboardHolder() {
    xcb_connection_t *x11 = x11Connection();
    if (!x11)
        return 0;
    static const xcb_atom_t active = internAtom(x11, "_NET_ACTIVE_WINDOW");
    const std::vector<uint32_t> named = cardinals(x11, rootOf(x11), active, XCB_ATOM_WINDOW);
    xcb_window_t holder = named.empty() ? XCB_NONE : named.front();
    if (holder == XCB_NONE) {
        const auto focus = inputFocus(x11);
        if (focus && *focus != XCB_INPUT_FOCUS_POINTER_ROOT)
            holder = *focus;
    }
    return holder == XCB_NONE || isOwnWindow(holder) ? 0 : holder;
}

bool hasKeyboard(const QWidget &window) {
    xcb_connection_t *x11 = x11Connection();
    if (!x11 || !window.internalWinId())
        return false;
    return inputFocus(x11) == window.internalWinId();
}

// As a pager asks (source 2), which every window manager grants.
void giveKeyboardTo(quintptr window) {
    xcb_connection_t *x11 = x11Connection();
    if (!x11 || window == 0)
        return;
    static const xcb_atom_t active = internAtom(x11, "_NET_ACTIVE_WINDOW");
    askWindowManager(x11, static_cast<xcb_window_t>(window), active, {2, XCB_CURRENT_TIME, 0});
    // Without a window manager nothing answers the request.
    if (cardinals(x11, rootOf(x11), active, XCB_ATOM_WINDOW).empty()) {
        xcb_set_input_focus(x11, XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window),
                            XCB_CURRENT_TIME);
        xcb_flush(x11);
    }
}

} // namespace kobako::platform
