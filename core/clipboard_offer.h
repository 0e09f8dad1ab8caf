#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kobako {

// The largest text a copy may bring: a larger one is skipped, and its transfer dropped the
// moment it grows past this.
inline constexpr size_t kLargestText = size_t{256} << 20;
// A mark is a word; an owner that answers every request with its text sends that instead, and
// only its start is kept.
inline constexpr size_t kLongestMark = 64;

// How long the owner of a copy may keep the reader waiting: silent (one that takes seconds over
// its list of types still answers within this), and in all, however steadily it sends. A change
// not yet read holds back the changes after it only for a while; past that they are reported
// without it.
inline constexpr std::chrono::milliseconds kOwnerSilence{5000};
inline constexpr std::chrono::seconds kLongestTransfer{30};
inline constexpr std::chrono::milliseconds kLongestHoldBack{2000};

// Whether a reader gives up on the owner of a transfer still under way: one not `done`, heard
// from last at `lastHeard`, its copy announced at `announced`.
template <typename TimePoint, typename Transfer>
bool ownerOverdue(TimePoint now, const Transfer &transfer) {
    return !transfer.done && (now - transfer.lastHeard > kOwnerSilence ||
                              now - transfer.announced > kLongestTransfer);
}

// The MIME type by which password managers mark what they copy, and the value that means secret.
inline constexpr std::string_view kSecretMarkType = "x-kde-passwordManagerHint";
inline constexpr std::string_view kSecretMarkValue = "secret";

// What is known of that mark on one clipboard change: from the list of types its owner offers,
// and from asking for the mark itself.
struct MarkEvidence {
    // Whether the offered types name the mark; nothing while the list is not known.
    std::optional<bool> listed;
    enum class Answer {
        Pending, // asked and not answered yet, or not asked
        Refused, // the owner said it has no such thing
        Read,    // `value` holds what it sent
        Lost,    // never to be answered: the owner left or stopped answering
    } answer = Answer::Pending;
    std::string value;
};

enum class MarkVerdict { Undecided, Secret, Public };

// A text may be kept only when the mark is known to be absent, or was read and is not exactly
// "secret". A mark offered but not sent counts as secret, and so does one never answered.
// A refusal is an answer: without a list of types, or once it is overdue (`listOverdue`), a
// refused mark means there is none. An owner that answers every request with its text answers
// the mark with it too: that is read as a mark like any other.
MarkVerdict judgeMark(const MarkEvidence &evidence, bool listOverdue);

// The clipboard formats by which Windows programs keep a copy out of every clipboard history
// (password managers, and the system's own history): the first two by being offered, the third
// by holding a zero (a 32-bit number).
inline constexpr std::string_view kExcludeFromMonitoringFormat =
    "ExcludeClipboardContentFromMonitorProcessing";
inline constexpr std::string_view kViewerIgnoreFormat = "Clipboard Viewer Ignore";
inline constexpr std::string_view kHistoryPermissionFormat = "CanIncludeInClipboardHistory";

struct WindowsMarks {
    bool excludeFromMonitoring = false;
    bool viewerIgnore = false;
    std::optional<std::string> historyPermission; // its bytes, where offered
};

// Whether a copy carries a mark that keeps it out. A permission too short to hold its number
// keeps it out too: read as a mark that could not be read.
bool keptOutOfHistories(const WindowsMarks &marks);

} // namespace kobako
