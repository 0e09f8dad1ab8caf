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
    void report(ClipboardChange change);

  private:
    std::mutex mutex_;
    ClipboardWatch::Listener listener_;
    std::vector<ClipboardChange> unheard_;
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
