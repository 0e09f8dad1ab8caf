#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <vector>

namespace kobako::platform {

// The keys that give `keysyms` without a shift, from one reading of the server's keyboard map;
// nothing when one of them is on no key.
std::optional<std::vector<xcb_keycode_t>> keysOf(xcb_connection_t *connection,
                                                 const std::vector<xcb_keysym_t> &keysyms);

} // namespace kobako::platform
