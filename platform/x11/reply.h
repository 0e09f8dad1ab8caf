#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace kobako::platform {

// An XCB reply or event, which the caller must free(): freed when it goes out of scope.
struct FreeWithStdFree {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using XReply = std::unique_ptr<Reply, FreeWithStdFree>;
template <typename Reply> XReply<Reply> own(Reply *reply) {
    return XReply<Reply>(reply);
}

// The atom of a name, made if the server does not know it yet; XCB_NONE on a failed request.
inline xcb_atom_t internAtom(xcb_connection_t *connection, const char *name) {
    const auto reply = own(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : XCB_NONE;
}

// The window with the X input focus (XCB_NONE or PointerRoot where none has it); nothing on a
// failed request.
inline std::optional<xcb_window_t> inputFocus(xcb_connection_t *connection) {
    const auto reply =
        own(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return reply ? std::optional(reply->focus) : std::nullopt;
}

} // namespace kobako::platform
