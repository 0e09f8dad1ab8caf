#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kobako {

// Reads text line by line as the stored files expect: a line ends at CR LF or at a lone CR, the
// line end is not part of the line, a lone LF stays inside it, and a last line without a line
// end is still read.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest_(text) {}
    bool atEnd() const { return rest_.empty(); }
    // The next line, or nothing at the end of the text.
    bool next(std::string_view &line);

  private:
    std::string_view rest_;
};

inline constexpr std::string_view kLineEnd = "\r\n";

// The next line read as a number (blanks around it allowed); nothing when the text has no more
// lines or the line is no number.
std::optional<double> readNumberLine(LineReader &reader);

// A file's bytes as UTF-8: valid UTF-8 stays as it is; anything else was written by the Windows
// original in CP932 (Shift_JIS) and is converted, undecodable bytes becoming U+FFFD.
std::string decodeFileText(std::string bytes);
bool isValidUtf8(std::string_view text);
std::string fromCp932(std::string_view bytes);

} // namespace kobako
