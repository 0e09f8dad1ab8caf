#pragma once

#include "core/clipboard_offer.h"
#include "core/clipboard_ports.h"

#include <chrono>
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
