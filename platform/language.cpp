#include "language.h"

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
    if (noLanguage)
        return true;
    // LANGUAGE lists the languages wanted, first choice first, when a locale is set at all.
    if (const char *languages = std::getenv("LANGUAGE"); languages && *languages)
        locale = languages;
    return locale.starts_with("ja");
}

} // namespace kobako::platform
