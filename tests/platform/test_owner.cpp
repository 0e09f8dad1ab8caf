// A clipboard owner for the reader's tests, written against xcb: it copies as a well-behaved
// editor does, or misbehaves in one chosen way. It prints "owned" once it owns the clipboard.
//
//   test_owner MODE [TEXT]
//
// plain          serves TARGETS and UTF8_STRING
// burst N MS     copies TEXT-0 .. TEXT-(N-1), MS milliseconds apart, each served to the requests
//                stamped with its own time (as an owner that keeps its texts would)
// string-only    offers only STRING, TEXT taken as Latin-1 bytes
// secret         offers the secret mark, as a password manager does
// secret-handoff offers the secret mark; hands the clipboard on right after giving the text
// secret-exit    offers the secret mark; exits right after giving the text
// secret-refuse  offers the secret mark but refuses to send it
// secret-late    answers the list of targets only after 3.5 s
// secret-then-any offers the secret mark; a millisecond later another window of its own takes the
//                clipboard and answers any target with "next" (as xclip does)
// public-mark    offers the mark with a value other than "secret"
// history-off    offers Windows' CanIncludeInClipboardHistory holding 0, as a Windows password
//                manager does (for the Windows program under wine); history-on holds 1
// no-targets     never answers the list of targets
// slow-targets   answers the list of targets only after 3.5 s
// never          answers nothing
// wrong-type     answers UTF8_STRING with an INTEGER
// incr-huge      announces 4 GiB in pieces, sends 64 KiB, then stops
// incr-slow      sends a piece of one byte every 500 ms, for ever
// incr-die       sends one piece of a text in pieces, then exits
// incr-endless   sends pieces of 1 MiB as fast as they are taken, for ever
// many-targets   offers 1,000,000 targets, TEXT among them as UTF8_STRING
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

xcb_connection_t *connection;
xcb_screen_t *screen;
xcb_window_t window;
std::deque<xcb_generic_event_t *> backlog; // events that came while waiting for another one

xcb_atom_t atom(const std::string &name) {
    static std::map<std::string, xcb_atom_t> atoms;
    if (auto found = atoms.find(name); found != atoms.end())
        return found->second;
    auto *reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atoms[name] = value;
}

xcb_window_t newWindow(uint32_t events) {
    const xcb_window_t made = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, made, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    return made;
}

// Waits for an event of `type` that `wanted` accepts; others wait in the backlog.
template <typename Event, typename Wanted> bool waitFor(uint8_t type, Wanted wanted) {
    xcb_flush(connection);
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7F) == type && wanted(*reinterpret_cast<Event *>(event))) {
            std::free(event);
            return true;
        }
        backlog.push_back(event);
    }
    return false;
}

// A real server time: a zero-length append to a property of our own window.
xcb_timestamp_t serverTime() {
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, atom("OWNER_TIME"),
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_timestamp_t time = 0;
    if (!waitFor<xcb_property_notify_event_t>(XCB_PROPERTY_NOTIFY, [&](const auto &notify) {
            time = notify.time;
            return true;
        }))
        std::exit(2);
    return time;
}

void own(xcb_window_t owner, xcb_timestamp_t time) {
    xcb_set_selection_owner(connection, owner, atom("CLIPBOARD"), time);
    xcb_flush(connection);
}

void answer(const xcb_selection_request_event_t &request, xcb_atom_t property) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&notify));
    xcb_flush(connection);
}

// Puts data on the requestor's property; answers the request unless it is a piece of a transfer.
void put(const xcb_selection_request_event_t &request, xcb_atom_t type, int format,
         const void *data, size_t count, bool piece = false) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                        type, static_cast<uint8_t>(format), static_cast<uint32_t>(count), data);
    if (piece)
        xcb_flush(connection);
    else
        answer(request, request.property);
}

void putText(const xcb_selection_request_event_t &request, const std::string &text,
             bool piece = false) {
    put(request, atom("UTF8_STRING"), 8, text.data(), text.size(), piece);
}

void putTargets(const xcb_selection_request_event_t &request, std::vector<std::string> names) {
    std::vector<xcb_atom_t> list;
    for (const std::string &name : names)
        list.push_back(atom(name));
    put(request, XCB_ATOM_ATOM, 32, list.data(), list.size());
}

// Waits until the requestor deletes the property, the go-ahead for the next piece.
bool pieceTaken(const xcb_selection_request_event_t &request) {
    return waitFor<xcb_property_notify_event_t>(XCB_PROPERTY_NOTIFY, [&](const auto &notify) {
        return notify.window == request.requestor && notify.atom == request.property &&
               notify.state == XCB_PROPERTY_DELETE;
    });
}

// Sends the text in pieces as the mode says; false when the owner is to end.
bool sendInPieces(const std::string &mode, const xcb_selection_request_event_t &request) {
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE, size = mode == "incr-huge" ? ~0u : 1000;
    xcb_change_window_attributes(connection, request.requestor, XCB_CW_EVENT_MASK, &events);
    put(request, atom("INCR"), 32, &size, 1);
    const std::string piece = mode == "incr-huge"      ? std::string(64 * 1024, 'h')
                              : mode == "incr-endless" ? std::string(1 << 20, 'e')
                                                       : "s";
    const bool forEver = mode == "incr-slow" || mode == "incr-endless";
    if (!pieceTaken(request))
        return false;
    do {
        if (mode == "incr-slow")
            std::this_thread::sleep_for(500ms);
        putText(request, piece, true);
    } while (forEver && pieceTaken(request));
    return mode != "incr-die";
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    const std::string mode = argv[1];
    const std::string text = argc > 2 ? argv[2] : "text";
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 2;
    screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    window = newWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    const bool marks = mode.starts_with("secret") || mode == "public-mark";
    const xcb_atom_t targets = atom("TARGETS"), utf8 = atom("UTF8_STRING");
    xcb_window_t anyTarget = XCB_NONE; // the second window of secret-then-any

    // In a burst each copy's text serves the requests stamped from its time on.
    std::vector<std::pair<xcb_timestamp_t, std::string>> copies;
    const int burstCount = argc > 3 ? std::atoi(argv[3]) : 1;
    const auto burstGap = std::chrono::milliseconds(argc > 4 ? std::atoi(argv[4]) : 5);
    auto copyNext = [&] {
        // Two copies in one millisecond of the server's clock carry the same time, and nobody
        // could tell which one a request is for: as a person's copies, each has a time of its own.
        xcb_timestamp_t time = serverTime();
        while (!copies.empty() && time == copies.back().first) {
            std::this_thread::sleep_for(1ms);
            time = serverTime();
        }
        copies.emplace_back(time,
                            mode == "burst" ? text + "-" + std::to_string(copies.size()) : text);
        own(window, time);
    };
    copyNext();
    if (mode == "secret-then-any") {
        std::this_thread::sleep_for(1ms);
        own(anyTarget = newWindow(0), XCB_CURRENT_TIME);
    }
    std::printf("owned\n");
    std::fflush(stdout);
    auto nextCopyAt = std::chrono::steady_clock::now() + burstGap;

    while (true) {
        xcb_generic_event_t *next =
            backlog.empty() ? xcb_poll_for_event(connection) : backlog.front();
        if (!backlog.empty())
            backlog.pop_front();
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(next, &std::free);
        if (!event) {
            if (xcb_connection_has_error(connection))
                return 0;
            if (mode == "burst" && static_cast<int>(copies.size()) < burstCount &&
                std::chrono::steady_clock::now() >= nextCopyAt) {
                copyNext();
                nextCopyAt += burstGap;
            }
            std::this_thread::sleep_for(200us);
            continue;
        }
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_SELECTION_CLEAR && mode != "burst") {
            const auto *clear = reinterpret_cast<xcb_selection_clear_event_t *>(event.get());
            if (clear->owner != window || anyTarget == XCB_NONE)
                return 0; // another program copied
        }
        if (type != XCB_SELECTION_REQUEST)
            continue;
        const auto request = *reinterpret_cast<xcb_selection_request_event_t *>(event.get());
        if (mode == "never" || (request.target == targets && mode == "no-targets"))
            continue;
        if (request.owner == anyTarget && anyTarget != XCB_NONE) {
            if (request.target == targets)
                putTargets(request, {"TARGETS", "UTF8_STRING"});
            else
                putText(request, "next"); // whatever was asked for
        } else if (request.owner != window) {
            answer(request, XCB_NONE); // the window a handoff gave the clipboard to
        } else if (request.target == targets) {
            if (mode == "secret-late" || mode == "slow-targets")
                std::this_thread::sleep_for(3500ms);
            if (mode == "many-targets") {
                std::vector<xcb_atom_t> many(1000000, XCB_ATOM_INTEGER);
                many.back() = atom("UTF8_STRING");
                put(request, XCB_ATOM_ATOM, 32, many.data(), many.size());
            } else {
                std::vector<std::string> offered{"TARGETS",
                                                 mode == "string-only" ? "STRING" : "UTF8_STRING"};
                if (marks)
                    offered.push_back("x-kde-passwordManagerHint");
                if (mode.starts_with("history-"))
                    offered.push_back("CanIncludeInClipboardHistory");
                putTargets(request, offered);
            }
        } else if (request.target == atom("x-kde-passwordManagerHint") && marks) {
            if (mode == "secret-refuse")
                answer(request, XCB_NONE);
            else
                putText(request, mode == "public-mark" ? "public" : "secret");
        } else if (request.target == atom("CanIncludeInClipboardHistory") &&
                   mode.starts_with("history-")) {
            const uint32_t allowed = mode == "history-on" ? 1 : 0;
            put(request, request.target, 32, &allowed, 1);
        } else if (request.target == utf8 && mode == "wrong-type") {
            const uint32_t number = 42;
            put(request, XCB_ATOM_INTEGER, 32, &number, 1);
        } else if (request.target == utf8 && mode.starts_with("incr")) {
            if (!sendInPieces(mode, request))
                return 0;
        } else if (request.target == utf8 && mode != "string-only") {
            std::string served;
            for (const auto &[time, copied] : copies)
                if (request.time == XCB_CURRENT_TIME || time <= request.time)
                    served = copied;
            if (served.empty()) {
                answer(request, XCB_NONE); // stamped before our ownership
                continue;
            }
            putText(request, served);
            if (mode == "secret-exit")
                return 0;
            if (mode == "secret-handoff") // the next copy, by a window of ours that refuses all
                own(newWindow(0), XCB_CURRENT_TIME);
        } else if (request.target == XCB_ATOM_STRING && mode == "string-only") {
            put(request, XCB_ATOM_STRING, 8, text.data(), text.size());
        } else {
            answer(request, XCB_NONE);
        }
    }
}
