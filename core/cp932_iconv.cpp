#include "cp932.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace kobako {

std::optional<Cp932Decoded> fromCp932(std::string_view bytes) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);

    Cp932Decoded out;
    out.text.reserve(bytes.size() * 3 / 2 + 16);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char *dest = buffer;
        size_t destLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &dest, &destLeft);
        out.text.append(buffer, dest);
        if (result != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // An undecodable or truncated sequence: mark it and go on with the next byte.
        out.text += kReplacementCharacter;
        ++out.undecodable;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

} // namespace kobako
