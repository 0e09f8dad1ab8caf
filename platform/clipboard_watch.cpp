#include "clipboard_watch.h"

#include "language.h"

#include <cstdio>
#include <utility>

namespace kobako::platform {

void ChangeReports::setListener(ClipboardWatch::Listener listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
    for (auto &change : unheard_)
        listener_(std::move(change));
    unheard_.clear();
}

void ChangeReports::report(ClipboardChange change) {
    std::lock_guard lock(mutex_);
    if (listener_)
        listener_(std::move(change));
    else
        unheard_.push_back(std::move(change));
}

void sayTooLarge() {
    std::fputs(japaneseWanted() ? "kobako: 256 MiB を超えるコピーは取り込みません。\n"
                                : "kobako: a copy of more than 256 MiB was not taken in.\n",
               stderr);
}

} // namespace kobako::platform
