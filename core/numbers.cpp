#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kobako {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// True when text is exactly: [sign] digits [. digits] [e [sign] digits], with at least one digit
// before the exponent.
bool isDecimalForm(std::string_view text) {
    size_t i = 0;
    auto skipDigits = [&] {
        size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t mantissaDigits = skipDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += skipDigits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (skipDigits() == 0)
            return false;
    }
    return i == text.size();
}

// For a number out of a double's range: whether it is too large (rather than too small), from the
// place of its first significant digit and its exponent. `text` is in decimal form, unsigned.
bool isTooLarge(std::string_view text) {
    const size_t exponentAt = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = text.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 100000L);
        exponent = negative ? -exponent : exponent;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false; // zero, however written
    const long order =
        first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    return order + exponent >= 0;
}

} // namespace

std::optional<double> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!isDecimalForm(text))
        return std::nullopt;
    // from_chars rejects a leading '+'.
    bool negative = text.front() == '-';
    if (text.front() == '+' || negative)
        text.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        value = isTooLarge(text) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int16_t> roundToInt16(double value) {
    // nearbyint rounds halves to even in the default rounding mode.
    double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<int16_t>::min() &&
          rounded <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<int16_t> parseInt16(std::string_view text) {
    auto number = parseNumber(text);
    if (!number)
        return std::nullopt;
    return roundToInt16(*number);
}

int16_t roundClampedToInt16(double value) {
    if (auto fits = roundToInt16(value))
        return *fits;
    return value < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

std::string printNumber(float value) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value));
    std::string printed = std::signbit(value) && value != 0 ? "-" : " ";
    printed.append(digits, result.ptr);
    printed += ' ';
    return printed;
}

} // namespace kobako
