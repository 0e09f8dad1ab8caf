#include "paste_keystroke.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kobako {

namespace {

constexpr std::string_view kPrefix = "paste-keystroke.";
constexpr std::array<std::pair<std::string_view, PasteKeystroke>, 3> kKeystrokes = {{
    {"shift+insert", PasteKeystroke::ShiftInsert},
    {"ctrl+v", PasteKeystroke::CtrlV},
    {"ctrl+shift+v", PasteKeystroke::CtrlShiftV},
}};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<PasteKeystroke> keystrokeNamed(std::string_view keys) {
    for (const auto &[name, keystroke] : kKeystrokes)
        if (sameIgnoringCase(keys, name))
            return keystroke;
    return std::nullopt;
}

} // namespace

PasteKeystroke pasteKeystrokeFor(const std::vector<std::string> &settingsLines,
                                 const std::vector<std::string> &windowClass) {
    for (std::string_view line : settingsLines) {
        if (!line.starts_with(kPrefix))
            continue;
        line.remove_prefix(kPrefix.size());
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0)
            continue;
        const std::string_view name = line.substr(0, equals);
        const auto keystroke = keystrokeNamed(line.substr(equals + 1));
        const bool names =
            std::any_of(windowClass.begin(), windowClass.end(),
                        [&](const std::string &part) { return sameIgnoringCase(part, name); });
        if (keystroke && names)
            return *keystroke;
    }
    return PasteKeystroke::ShiftInsert;
}

} // namespace kobako
