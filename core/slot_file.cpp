#include "slot_file.h"

#include "text_lines.h"

namespace kobako {

void SlotFileReader::add(std::string_view bytes) {
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

std::vector<std::string> SlotFileReader::finish() {
    if (!partialLine_.empty())
        takeLine(partialLine_); // a last line without a line end
    return std::move(records_);
}

void SlotFileReader::takeLine(std::string_view line) {
    if (records_.size() >= maxRecords_)
        return;
    if (line == kRecordMarker) {
        records_.push_back(decodeRecord(std::move(collected_)));
        collected_.clear();
        anyLine_ = false;
        return;
    }
    if (anyLine_)
        collected_ += kLineEnd;
    collected_ += line;
    anyLine_ = true;
}

std::vector<std::string> readSlotFile(std::string_view text, size_t maxRecords) {
    SlotFileReader reader(maxRecords);
    reader.add(text);
    return reader.finish();
}

std::string writeSlotFile(size_t count, const std::function<const std::string &(size_t)> &textAt) {
    size_t total = 0;
    for (size_t i = 0; i < count; ++i)
        total += textAt(i).size() + kLineEnd.size() * 2 + kRecordMarker.size();
    std::string file;
    file.reserve(total);
    for (size_t i = 0; i < count; ++i) {
        file += textAt(i);
        file += kLineEnd;
        file += kRecordMarker;
        file += kLineEnd;
    }
    return file;
}

} // namespace kobako
