#include "keyboard_map.h"

#include "reply.h"

namespace kobako::platform {

std::optional<std::vector<xcb_keycode_t>> keysOf(xcb_connection_t *connection,
                                                 const std::vector<xcb_keysym_t> &keysyms) {
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = own(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (!map || map->keysyms_per_keycode == 0)
        return std::nullopt;
    const xcb_keysym_t *onKeys = xcb_get_keyboard_mapping_keysyms(map.get());
    std::vector<xcb_keycode_t> keys;
    for (const xcb_keysym_t keysym : keysyms) {
        int i = 0;
        while (i < count && onKeys[i * map->keysyms_per_keycode] != keysym)
            ++i;
        if (i == count)
            return std::nullopt;
        keys.push_back(static_cast<xcb_keycode_t>(setup->min_keycode + i));
    }
    return keys;
}

} // namespace kobako::platform
