#pragma once

#include "file_names.h"
#include "write_result.h"

#include <optional>
#include <string>
#include <string_view>

namespace kobako::storage {

// The window size file: two lines, height then width, in twips.
struct SavedSize {
    static constexpr float kDefaultHeight = 3540;
    static constexpr float kDefaultWidth = 3140;
    static constexpr float kSmallest = 200;

    float savedHeight = kDefaultHeight;
    float savedWidth = kDefaultWidth;
};

// Reads what the file holds (nothing when there is no file). Reading stops at the first line
// that is missing or not a number; any value below 200 twips gives way to its default.
SavedSize readSizeFile(std::optional<std::string_view> text);
std::string writeSizeFile(float height, float width);

// The window size file among the program's files.
class SizeFile {
  public:
    explicit SizeFile(const FileNames &files) : path_(files.sizeFile()) {}
    // What the file holds (the defaults without a file), and whether there was one.
    struct Loaded {
        SavedSize size;
        bool found = false;
    };
    Loaded load() const;
    WriteResult save(float height, float width) const;

  private:
    std::string path_;
};

} // namespace kobako::storage
