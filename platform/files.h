#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kobako::platform {

// The bytes of a file read whole, into a buffer that is not cleared first.
struct FileBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

// The bytes of an ordinary file, or nothing when there is no such file or it cannot be read.
std::optional<FileBytes> readWholeFile(const std::string &path);

// Hands the bytes of an ordinary file to `take` piece by piece, through one small buffer. False
// when there is no such file or it cannot be read.
bool readFileInPieces(const std::string &path, const std::function<void(std::string_view)> &take);

enum class FileAccess { Everyone, OwnerOnly };

// Writes through a temporary file in the same directory, flushed to disk and then renamed over
// the old file: a crash or a full disk leaves the old file whole. Returns the system's reason
// for a failure, or nothing on success.
std::optional<std::string> writeFileAtomically(const std::string &path, std::string_view bytes,
                                               FileAccess access);

} // namespace kobako::platform
