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

// One record of a file (a line, or a text of the history file) as UTF-8: valid UTF-8 stays as it
// is; a record that decodes better as CP932 (Shift_JIS, as the Windows original wrote it) is
// converted; undecodable bytes become U+FFFD either way. One record never changes how another is
// read.
std::string decodeRecord(std::string bytes);
// A file of lines, each decoded on its own; every line then ends with CR LF.
std::string decodeLines(std::string_view bytes);
bool isValidUtf8(std::string_view text);
// Text offered as UTF-8 by another program: each byte that starts no character becomes U+FFFD.
std::string toValidUtf8(std::string text);
// Text offered as Latin-1 (X11's STRING), in UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

} // namespace kobako
