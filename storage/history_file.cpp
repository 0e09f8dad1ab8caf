#include "history_file.h"

#include "core/text_lines.h"

namespace kobako::storage {

void HistoryFileReader::add(std::string_view bytes) {
    if (bytes.empty())
        return;
    if (skipLineFeed_ && bytes.front() == '\n')
        bytes.remove_prefix(1);
    skipLineFeed_ = false;
    const size_t lastCr = bytes.rfind('\r');
    if (lastCr == std::string_view::npos) {
        partialLine_ += bytes;
        return;
    }
    // Up to the last CR the piece holds whole lines, the first of them begun in earlier pieces.
    LineReader lines(bytes.substr(0, lastCr + 1));
    std::string_view line;
    while (lines.next(line)) {
        if (partialLine_.empty()) {
            takeLine(line);
        } else {
            partialLine_ += line;
            takeLine(partialLine_);
            partialLine_.clear();
        }
    }
    std::string_view rest = bytes.substr(lastCr + 1);
    if (rest.empty())
        skipLineFeed_ = true; // an LF at the start of the next piece ends the same line
    else if (rest.front() == '\n')
        rest.remove_prefix(1);
    partialLine_ += rest;
}

std::vector<std::string> HistoryFileReader::finish() {
    if (!partialLine_.empty())
        takeLine(partialLine_); // a last line without a line end
    return std::move(records_);
}

namespace {

// A lone CR: one not followed by LF.
bool isLoneCr(std::string_view text, size_t i) {
    return text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
}

constexpr char kEscape = '%';

std::string unescapeText(std::string_view escaped) {
    std::string text;
    text.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        const std::string_view code = escaped.substr(i + 1, 2);
        const char original = code == "25" ? '%' : code == "0D" ? '\r' : code == "54" ? 'T' : 0;
        if (escaped[i] == kEscape && original) {
            text += original;
            i += 2;
        } else {
            text += escaped[i]; // anything else stays as it is: a file edited by hand
        }
    }
    return text;
}

// A line of the text (lines end with CR LF) that begins, at i, with the marker.
bool beginsMarkerLine(std::string_view text, size_t i) {
    const bool lineStart = i == 0 || (text[i - 1] == '\n' && i >= 2 && text[i - 2] == '\r');
    return lineStart && text.substr(i).starts_with(kRecordMarker);
}

// Whether a text must be written escaped.
bool needsEscape(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (isLoneCr(text, i) || beginsMarkerLine(text, i))
            return true;
    return false;
}

// The escaped form of a text, without the record's line end.
std::string escapeText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kEscape)
            escaped += "%25";
        else if (isLoneCr(text, i))
            escaped += "%0D";
        else if (beginsMarkerLine(text, i))
            escaped += "%54";
        else
            escaped += text[i];
    }
    return escaped;
}

} // namespace

void HistoryFileReader::takeLine(std::string_view line) {
    if (records_.size() >= maxRecords_)
        return;
    if (line == kRecordMarker || line == kEscapedRecordMarker) {
        std::string text = line == kRecordMarker ? std::move(collected_) : unescapeText(collected_);
        records_.push_back(decodeRecord(std::move(text)));
        collected_.clear();
        anyLine_ = false;
        return;
    }
    if (anyLine_)
        collected_ += kLineEnd;
    collected_ += line;
    anyLine_ = true;
}

std::vector<std::string> readHistoryRecords(std::string_view text, size_t maxRecords) {
    HistoryFileReader reader(maxRecords);
    reader.add(text);
    return reader.finish();
}

void writeHistoryRecords(size_t count, const std::function<const std::string &(size_t)> &textAt,
                         const std::function<void(std::string_view)> &put) {
    for (size_t i = 0; i < count; ++i) {
        const std::string &text = textAt(i);
        const bool escaped = needsEscape(text);
        put(escaped ? escapeText(text) : text);
        put(kLineEnd);
        put(escaped ? kEscapedRecordMarker : kRecordMarker);
        put(kLineEnd);
    }
}

std::string writeHistoryText(size_t count,
                             const std::function<const std::string &(size_t)> &textAt) {
    std::string file;
    writeHistoryRecords(count, textAt, [&](std::string_view piece) { file += piece; });
    return file;
}

StoredHistory HistoryFile::read() const {
    HistoryFileReader reader;
    const ReadOutcome outcome =
        readFileInPieces(path_, [&](std::string_view piece) { reader.add(piece); });
    if (outcome.kind == ReadOutcome::Unreadable)
        return {{}, outcome};
    return {reader.finish(), outcome};
}

WriteResult HistoryFile::save(const std::vector<SharedText> &texts) const {
    return writeFileAtomically(path_, [&](const auto &put) {
        writeHistoryRecords(
            texts.size(), [&](size_t i) -> const std::string & { return texts[i]; }, put);
    });
}

} // namespace kobako::storage
