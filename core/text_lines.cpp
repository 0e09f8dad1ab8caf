#include "text_lines.h"

#include "cp932.h"
#include "numbers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kobako {

bool LineReader::next(std::string_view &line) {
    if (rest_.empty())
        return false;
    const size_t cr = rest_.find('\r');
    if (cr == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        return true;
    }
    line = rest_.substr(0, cr);
    const size_t after = cr + 1 < rest_.size() && rest_[cr + 1] == '\n' ? cr + 2 : cr + 1;
    rest_.remove_prefix(after);
    return true;
}

std::optional<double> readNumberLine(LineReader &reader) {
    std::string_view line;
    if (!reader.next(line))
        return std::nullopt;
    return parseNumber(line);
}

namespace {

// The length of the UTF-8 sequence at `i`, or 0 when none starts there (a stray continuation
// byte, a cut or overlong sequence, a surrogate, a code point beyond U+10FFFF).
size_t sequenceLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length;
    char32_t codePoint;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

// Most text is ASCII: the length of the run of such bytes from `i`, eight at a time.
size_t asciiRun(std::string_view text, size_t i) {
    const size_t start = i;
    uint64_t eight;
    while (i + 8 <= text.size() &&
           (std::memcpy(&eight, text.data() + i, 8), (eight & 0x8080808080808080ull) == 0))
        i += 8;
    return i - start;
}

} // namespace

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        i += asciiRun(text, i);
        if (i == text.size())
            break;
        const size_t length = sequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string toValidUtf8(std::string text) {
    if (isValidUtf8(text))
        return text; // the usual case: no copy
    std::string valid;
    valid.reserve(text.size() + 16);
    size_t i = 0;
    while (i < text.size()) {
        const size_t run = asciiRun(text, i);
        valid.append(text, i, run);
        i += run;
        if (i == text.size())
            break;
        const size_t length = sequenceLength(text, i);
        if (length == 0) {
            valid += kReplacementCharacter; // one for each byte that starts no character
            ++i;
        } else {
            valid.append(text, i, length);
            i += length;
        }
    }
    return valid;
}

namespace {

// The bytes that start no UTF-8 character.
size_t invalidUtf8Bytes(std::string_view text) {
    size_t invalid = 0;
    for (size_t i = 0; i < text.size();) {
        i += asciiRun(text, i);
        if (i == text.size())
            break;
        const size_t length = sequenceLength(text, i);
        invalid += length == 0 ? 1 : 0;
        i += std::max<size_t>(length, 1);
    }
    return invalid;
}

} // namespace

// A stray byte in a UTF-8 text does not make it CP932: CP932 is taken only where it decodes
// more of the record.
std::string decodeRecord(std::string bytes) {
    if (isValidUtf8(bytes))
        return bytes;
    if (auto cp932 = fromCp932(bytes); cp932 && cp932->undecodable < invalidUtf8Bytes(bytes))
        return std::move(cp932->text);
    return toValidUtf8(std::move(bytes));
}

std::string decodeLines(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    LineReader lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        text += decodeRecord(std::string(line));
        text += kLineEnd;
    }
    return text;
}

} // namespace kobako
