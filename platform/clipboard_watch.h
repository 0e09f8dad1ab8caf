#pragma once

#include "core/clipboard_offer.h"
#include "core/shared_text.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kobako::platform {

// Something that watches the system clipboard from outside Qt and reports the text of each
// change made elsewhere: the X11 reader, or Wayland's data control. The program starts one
// before Qt is loaded and hands it over, so that only this interface crosses into the part of
// the program that uses Qt. Every way of watching follows the same rules: the text types, the
// secret mark (judgeMark), the size cap and the owners' deadlines (core/clipboard_offer.h).
class ClipboardWatch {
  public:
    // The text of one change, or nothing when it offers no text or is marked secret.
    using Listener = std::function<void(std::optional<std::string>)>;

    virtual ~ClipboardWatch() = default;
    // Changes that came before a listener was set are reported to it at once, in order.
    virtual void setListener(Listener listener) = 0;
    // `lost` runs, on the watch's thread, if the display the clipboard belongs to goes away.
    virtual void whenLost(std::function<void()> lost) { (void)lost; }
    // Changes made by any window of the X client whose resource ids these are (the program's
    // own connection, through Qt) are the program's own and are not reported.
    virtual void ignoreClient(uint32_t resourceBase, uint32_t resourceMask) {
        (void)resourceBase;
        (void)resourceMask;
    }
    // Whether the program's own writes go through this watch rather than through Qt's
    // clipboard; they are never reported.
    virtual bool writes() const { return false; }
    // Offers `text` as the clipboard's, or empties the clipboard (nothing).
    virtual void offer(std::optional<SharedText> text) { (void)text; }
    // Which way the clipboard is watched, in a few words, for --verbose.
    virtual std::string describe() const = 0;
};

// A watch's listener, set from one thread and called from the watch's.
class ChangeReports {
  public:
    // Changes reported before are passed on at once, in order.
    void setListener(ClipboardWatch::Listener listener);
    void report(std::optional<std::string> text);

  private:
    std::mutex mutex_;
    ClipboardWatch::Listener listener_;
    std::vector<std::optional<std::string>> unheard_;
};

// Reports the changes a watch is fetching in the order they happened, each once it is `done`,
// taking its `result`; one that takes too long (since it was `announced`) holds back the later
// ones only for a while.
template <typename Fetches> void reportInOrder(Fetches &fetches, ChangeReports &reports) {
    const auto now = std::chrono::steady_clock::now();
    for (auto fetch = fetches.begin(); fetch != fetches.end();) {
        if (!fetch->done) {
            if (now - fetch->announced < kLongestHoldBack)
                break;
            ++fetch;
            continue;
        }
        std::optional<std::string> text = std::move(fetch->result);
        fetch = fetches.erase(fetch);
        reports.report(std::move(text));
    }
}

// Says on standard error that a copy larger than the largest text was not taken in.
void sayTooLarge();

} // namespace kobako::platform
