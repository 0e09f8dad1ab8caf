#include "cp932.h"
#include "windows_text.h"

#include <windows.h>

namespace kobako {

namespace {

constexpr UINT kCp932 = 932;

// UTF-16 from `bytes`, or nothing when a byte of them starts no CP932 character.
std::optional<std::wstring> strictly(std::string_view bytes) {
    const int length = static_cast<int>(bytes.size());
    const int wide =
        MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), wide);
    return text;
}

} // namespace

std::optional<Cp932Decoded> fromCp932(std::string_view bytes) {
    CPINFO info;
    if (!GetCPInfo(kCp932, &info))
        return std::nullopt;
    Cp932Decoded out;
    if (bytes.empty())
        return out;
    if (auto whole = strictly(bytes)) {
        out.text = utf8(*whole);
        return out;
    }
    // Character by character, so that an undecodable byte costs only itself.
    for (size_t i = 0; i < bytes.size();) {
        const bool lead = IsDBCSLeadByteEx(kCp932, static_cast<BYTE>(bytes[i]));
        const size_t length = lead && i + 1 < bytes.size() ? 2 : 1;
        if (auto character = strictly(bytes.substr(i, length))) {
            out.text += utf8(*character);
            i += length;
        } else {
            out.text += kReplacementCharacter;
            ++out.undecodable;
            ++i;
        }
    }
    return out;
}

} // namespace kobako
