#pragma once

#include <cstdint>
#include <memory>

struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

namespace kobako::platform {

// A keyboard of the program's own, through which the compositor types into the window that has
// the keyboard (zwp_virtual_keyboard_manager_v1, offered by sway and the other wlroots
// compositors). It knows the two keys of the paste keystroke only.
class VirtualKeyboard {
  public:
    static constexpr const char *kManagerName = "zwp_virtual_keyboard_manager_v1";

    // Bound to the manager the registry announced as `name`; nothing when its key map cannot be
    // handed over.
    static std::unique_ptr<VirtualKeyboard> create(wl_registry *registry, uint32_t name,
                                                   wl_seat *seat);
    ~VirtualKeyboard();
    VirtualKeyboard(const VirtualKeyboard &) = delete;
    VirtualKeyboard &operator=(const VirtualKeyboard &) = delete;

    // Shift+Insert: the clipboard in most programs, the primary selection in terminals.
    void typePaste();

  private:
    VirtualKeyboard(zwp_virtual_keyboard_manager_v1 *manager, zwp_virtual_keyboard_v1 *keyboard)
        : manager_(manager), keyboard_(keyboard) {}

    zwp_virtual_keyboard_manager_v1 *manager_;
    zwp_virtual_keyboard_v1 *keyboard_;
};

} // namespace kobako::platform
