// What the files do alike on every system; the system's side is in files_posix.cpp and
// files_windows.cpp.
#include "files.h"

namespace kobako::storage {

std::optional<std::string> readWholeFile(const std::string &path) {
    std::string bytes;
    if (readFileInPieces(path, [&](std::string_view piece) { bytes += piece; }).kind !=
        ReadOutcome::Read)
        return std::nullopt;
    return bytes;
}

ReadOutcome ReadOutcome::failed(int error) {
    return {Unreadable, systemReason(error)};
}

WriteResult writeFileAtomically(const std::string &path, std::string_view bytes) {
    return writeFileAtomically(path, [bytes](const auto &put) { put(bytes); });
}

} // namespace kobako::storage
