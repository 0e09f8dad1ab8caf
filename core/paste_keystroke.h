#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kobako {

// The keystroke that makes a program paste. Shift+Insert pastes in most programs (in terminals
// the primary selection, which holds the pick too); some want another one.
enum class PasteKeystroke { ShiftInsert, CtrlV, CtrlShiftV };

// The keystroke for the window of `windowClass` (an X window's WM_CLASS: its instance and its
// class): the settings file's line "paste-keystroke.NAME=KEYS" whose NAME is either, ignoring
// case, with KEYS one of "Shift+Insert", "Ctrl+V", "Ctrl+Shift+V" (ignoring case); else
// Shift+Insert. The first line that names the window holds.
PasteKeystroke pasteKeystrokeFor(const std::vector<std::string> &settingsLines,
                                 const std::vector<std::string> &windowClass);

} // namespace kobako
