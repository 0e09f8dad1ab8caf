#pragma once

#include "write_result.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kobako::storage {

// What became of reading a file: read whole; missing (no such file, or something that is no
// ordinary file: a FIFO, a device, a directory); or there but unreadable, with the system's reason.
struct ReadOutcome {
    enum Kind { Missing, Read, Unreadable } kind = Missing;
    std::string reason;
    static ReadOutcome failed(int error);
};

// Hands the bytes of an ordinary file to `take` piece by piece, through one small buffer.
ReadOutcome readFileInPieces(const std::string &path,
                             const std::function<void(std::string_view)> &take);
// The bytes of an ordinary file, or nothing when there is no such file or it cannot be read.
std::optional<std::string> readWholeFile(const std::string &path);

// The system's text for an errno value, safe on any thread.
std::string systemReason(int error);

// Writes through a temporary file in the same directory, flushed to disk and then renamed over
// the old file: a crash or a full disk leaves the old file whole. The file is readable by its
// owner only, and a file of another user's is never replaced (a save never changes a file's
// owner).
WriteResult writeFileAtomically(const std::string &path, std::string_view bytes);
// The same for a file given piece by piece: `produce` calls its argument with each piece.
using Producer = std::function<void(const std::function<void(std::string_view)> &)>;
WriteResult writeFileAtomically(const std::string &path, const Producer &produce);

// Who owns a directory or one of the named files in it, when that is another user than the one
// this process runs as: the path and the owner's name.
struct ForeignOwner {
    std::string path;
    std::string user;
};
std::optional<ForeignOwner> ownedByAnotherUser(const std::string &directory,
                                               const std::vector<std::string> &names);

// Removes the temporary files that a write of one of `names` left in `directory` when the process
// was killed in the middle of it. Only the user's own are removed; call it holding the lock that
// keeps any other instance from writing there.
void removeStaleTemporaries(const std::string &directory, const std::vector<std::string> &names);

// Makes a directory and any missing directory above it, each readable by its owner only (as XDG
// asks of the user's data directory).
WriteResult makePrivateDirectories(const std::string &path);

// Whether files can be written in a directory.
WriteResult checkWritable(const std::string &directory);

} // namespace kobako::storage
