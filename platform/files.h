#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kobako::platform {

// Hands the bytes of an ordinary file to `take` piece by piece, through one small buffer. False
// when there is no such file or it cannot be read.
bool readFileInPieces(const std::string &path, const std::function<void(std::string_view)> &take);
// The bytes of an ordinary file, or nothing when there is no such file or it cannot be read.
std::optional<std::string> readWholeFile(const std::string &path);

enum class FileAccess { Everyone, OwnerOnly };

// Writes through a temporary file in the same directory, flushed to disk and then renamed over
// the old file: a crash or a full disk leaves the old file whole. Returns the system's reason
// for a failure, or nothing on success.
std::optional<std::string> writeFileAtomically(const std::string &path, std::string_view bytes,
                                               FileAccess access);

} // namespace kobako::platform
