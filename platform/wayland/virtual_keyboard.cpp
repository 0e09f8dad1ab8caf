#include "virtual_keyboard.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>

namespace kobako::platform {

namespace {

// Key codes as the protocol counts them (Linux input codes); the key map counts them 8 higher.
constexpr uint32_t kInsert = 110;
constexpr uint32_t kShiftMask = 1; // Shift is the first modifier of every key map

// Self-contained but for the compositor's standard key types and actions, so that whatever
// layout the user types with, these keys mean the same.
constexpr char kKeyMap[] = R"(xkb_keymap {
  xkb_keycodes "kobako" { minimum = 8; maximum = 255; <LFSH> = 50; <INS> = 118; };
  xkb_types "kobako" { include "complete" };
  xkb_compatibility "kobako" { include "complete" };
  xkb_symbols "kobako" {
    key <LFSH> { [ Shift_L ] };
    key <INS> { [ Insert ] };
    modifier_map Shift { <LFSH> };
  };
};
)";

// The compositor maps the key map from a file it is handed.
int keyMapFile() {
    const int fd = memfd_create("kobako-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    if (write(fd, kKeyMap, sizeof kKeyMap) != static_cast<ssize_t>(sizeof kKeyMap)) {
        close(fd);
        return -1;
    }
    return fd;
}

uint32_t nowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::create(wl_registry *registry, uint32_t name,
                                                         wl_seat *seat) {
    const int keyMap = keyMapFile();
    if (keyMap < 0)
        return nullptr;
    auto *manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
        wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    zwp_virtual_keyboard_v1 *keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
    // The size counts the closing NUL: the compositor reads the map as a C string.
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, keyMap,
                                   sizeof kKeyMap);
    close(keyMap);
    return std::unique_ptr<VirtualKeyboard>(new VirtualKeyboard(manager, keyboard));
}

VirtualKeyboard::~VirtualKeyboard() {
    zwp_virtual_keyboard_v1_destroy(keyboard_);
    zwp_virtual_keyboard_manager_v1_destroy(manager_);
}

void VirtualKeyboard::typePaste() {
    const uint32_t time = nowMs();
    zwp_virtual_keyboard_v1_modifiers(keyboard_, kShiftMask, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard_, time, kInsert, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard_, time, kInsert, WL_KEYBOARD_KEY_STATE_RELEASED);
    zwp_virtual_keyboard_v1_modifiers(keyboard_, 0, 0, 0, 0);
}

} // namespace kobako::platform
