#include "clipboard_offer.h"

namespace kobako {

MarkVerdict judgeMark(const MarkEvidence &evidence, bool listOverdue) {
    using Answer = MarkEvidence::Answer;
    switch (evidence.answer) {
    case Answer::Read:
        return evidence.value == kSecretMarkValue ? MarkVerdict::Secret : MarkVerdict::Public;
    case Answer::Refused:
        if (evidence.listed)
            return *evidence.listed ? MarkVerdict::Secret : MarkVerdict::Public;
        return listOverdue ? MarkVerdict::Public : MarkVerdict::Undecided;
    case Answer::Lost:
        return MarkVerdict::Secret;
    case Answer::Pending:
        return evidence.listed == false ? MarkVerdict::Public : MarkVerdict::Undecided;
    }
    return MarkVerdict::Secret;
}

bool keptOutOfHistories(const WindowsMarks &marks) {
    if (marks.excludeFromMonitoring || marks.viewerIgnore)
        return true;
    if (!marks.historyPermission)
        return false;
    const std::string &number = *marks.historyPermission;
    return number.size() < 4 || number.substr(0, 4) == std::string(4, '\0');
}

} // namespace kobako
