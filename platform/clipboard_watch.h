#pragma once

#include "core/clipboard_offer.h"
#include "core/clipboard_ports.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kobako::platform {

// A watch's listener, set from one thread and called from the watch's.
class ChangeReports {
  public:
    // Changes reported before are passed on at once, in order.
    void setListener(ClipboardWatch::Listener listener);
    void report(ClipboardChange change);

  private:
    std::mutex mutex_;
    ClipboardWatch::Listener listener_;
    std::vector<ClipboardChange> unheard_;
};

// What the data control asks of the X display beside a Wayland compositor. The compositor hands
// an X program's copy on to Wayland programs without its secret mark (a type without a slash),
// so such a copy is judged where it was made, by the X11 reader, which takes it in itself.
class XCopies {
  public:
    // Where the newest change of the X clipboard came from.
    struct Origin {
        enum class Source { Wayland, OwnWindows, XProgram } source = Source::Wayland;
        uint64_t change = 0; // an X program's, counted by the reader
    };
    // How the reader judged an X program's change: its text taken in, or not (a secret, a copy
    // without text, an owner that never answered).
    struct Verdict {
        bool kept = false;
        size_t textHash = 0;
    };
    // Calls `answer`, on the reader's thread, once every change announced before the call is
    // known to the reader.
    virtual void askOrigin(std::function<void(Origin)> answer) = 0;
    virtual std::optional<Verdict> verdict(uint64_t change) const = 0;
    // `judged` runs on the reader's thread after each verdict.
    virtual void whenJudged(std::function<void()> judged) = 0;

  protected:
    ~XCopies() = default;
};

// Reports the changes a watch is fetching in the order they happened, each once it is `done`,
// taking its `result`; one that takes too long (since it was `announced`) holds back the later
// ones only for a while, and is placed among them by when it was announced.
template <typename Fetches> void reportInOrder(Fetches &fetches, ChangeReports &reports) {
    const auto now = std::chrono::steady_clock::now();
    for (auto fetch = fetches.begin(); fetch != fetches.end();) {
        if (!fetch->done) {
            if (now - fetch->announced < kLongestHoldBack)
                break;
            ++fetch;
            continue;
        }
        ClipboardChange change{std::move(fetch->result), fetch->announced};
        fetch = fetches.erase(fetch);
        reports.report(std::move(change));
    }
}

// Says on standard error that a copy larger than the largest text was not taken in.
void sayTooLarge();

} // namespace kobako::platform
