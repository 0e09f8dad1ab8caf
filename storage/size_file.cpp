#include "size_file.h"

#include "core/numbers.h"
#include "core/text_lines.h"
#include "files.h"

#include <cmath>
#include <limits>

namespace kobako::storage {

namespace {

std::optional<float> readSingle(LineReader &reader) {
    const auto number = readNumberLine(reader);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*number);
}

} // namespace

SavedSize readSizeFile(std::optional<std::string_view> text) {
    float height = 0;
    float width = 0;
    if (text) {
        LineReader reader(*text);
        if (auto h = readSingle(reader)) {
            height = *h;
            if (auto w = readSingle(reader))
                width = *w;
        }
    }
    SavedSize size;
    if (height >= SavedSize::kSmallest)
        size.savedHeight = height;
    if (width >= SavedSize::kSmallest)
        size.savedWidth = width;
    return size;
}

std::string writeSizeFile(float height, float width) {
    std::string text = printNumber(height);
    text += kLineEnd;
    text += printNumber(width);
    text += kLineEnd;
    return text;
}

SizeFile::Loaded SizeFile::load() const {
    const auto bytes = readWholeFile(path_);
    if (!bytes)
        return {readSizeFile(std::nullopt), false};
    return {readSizeFile(decodeLines(*bytes)), true};
}

WriteResult SizeFile::save(float height, float width) const {
    return writeFileAtomically(path_, writeSizeFile(height, width));
}

} // namespace kobako::storage
