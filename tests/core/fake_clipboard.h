#pragma once

#include "core/history.h"

#include <optional>
#include <string>
#include <vector>

namespace kobako::testing {

// A clipboard that keeps the contract of the real one: every write is announced to the capture
// before the write returns.
class FakeClipboard : public ClipboardWriter {
  public:
    explicit FakeClipboard(History &history) : history_(history) {}

    void clear() override {
        content.reset();
        announce();
    }
    void setText(const SharedText &text) override {
        content = text.str();
        writes.push_back(text);
        announce();
    }
    // Another program copies `text`.
    CaptureOutcome copyElsewhere(const std::string &text) {
        content = text;
        return history_.capture(content, ClipboardOrigin::Elsewhere);
    }

    std::optional<std::string> content;
    std::vector<std::string> writes;

  private:
    void announce() { history_.capture(content, ClipboardOrigin::OwnPickWrite); }
    History &history_;
};

// A history on its settings, with the clipboard it writes to.
struct HistoryParts {
    Settings settings;
    History history{settings};
    FakeClipboard clipboard{history};
};

} // namespace kobako::testing
