#include "language.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdlib>
#include <string_view>

namespace kobako::platform {

bool japaneseWanted() {
    // The variables in the order in which they decide the language of messages.
    std::string_view locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    const bool noLanguage = locale.empty() || locale == "C" || locale == "POSIX" ||
                            locale.starts_with("C.") || locale.starts_with("POSIX.");
#ifdef _WIN32
    // Windows users set their language in the system, not in the environment.
    if (locale.empty())
        return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
#endif
    if (noLanguage)
        return true;
    // LANGUAGE lists the languages wanted, first choice first, when a locale is set at all.
    if (const char *languages = std::getenv("LANGUAGE"); languages && *languages)
        locale = languages;
    return locale.starts_with("ja");
}

} // namespace kobako::platform
