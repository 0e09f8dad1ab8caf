#include "slot_file.h"

#include "text_lines.h"

namespace kobako {

std::vector<std::string> readSlotFile(std::string_view text, size_t maxRecords) {
    std::vector<std::string> records;
    std::string collected;
    bool anyLine = false;
    LineReader reader(text);
    std::string_view line;
    while (records.size() < maxRecords && reader.next(line)) {
        if (line.substr(0, kRecordMarker.size()) == kRecordMarker) {
            records.push_back(std::move(collected));
            collected.clear();
            anyLine = false;
            continue;
        }
        if (anyLine)
            collected += kLineEnd;
        collected += line;
        anyLine = true;
    }
    return records;
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
