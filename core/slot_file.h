#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kobako {

// The slot contents file: each history entry, newest first, as its text followed by a line end
// and the marker line.
inline constexpr std::string_view kRecordMarker = "Text Start Point";

// The records of the file, at most `maxRecords`. A line that begins with the marker ends a
// record; lines after the last marker belong to no record and are dropped.
std::vector<std::string> readSlotFile(std::string_view text, size_t maxRecords);

std::string writeSlotFile(size_t count, const std::function<const std::string &(size_t)> &textAt);

} // namespace kobako
