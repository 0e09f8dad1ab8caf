#include "history.h"

#include <algorithm>

namespace kobako {

int History::filledSlotCount() const {
    const auto usable = slots_.begin() + usableSlotCount(settings_);
    return static_cast<int>(
        std::count_if(slots_.begin(), usable, [](const Slot &slot) { return !slot.text.empty(); }));
}

void History::load(std::vector<std::string> records) {
    changed();
    if (settings_.isListMode()) {
        list_.reserve(list_.size() + records.size());
        for (std::string &record : records)
            list_.push_back({std::move(record), false});
        return;
    }
    // Slots that do not exist take no record.
    for (size_t i = 0; i < std::min<size_t>(records.size(), kSlotCount); ++i)
        slots_[i].text = std::move(records[i]);
}

std::vector<SharedText> History::textsToSave() const {
    std::vector<SharedText> texts;
    if (settings_.isListMode()) {
        texts.reserve(list_.size());
        for (const ListEntry &entry : list_)
            texts.push_back(entry.text);
        return texts;
    }
    // Every filled slot in order, also one that editing left above an empty slot.
    for (int i = 0; i < usableSlotCount(settings_); ++i)
        if (!slots_[i].text.empty())
            texts.push_back(slots_[i].text);
    return texts;
}

void History::editSlot(int index, std::string text) {
    slots_[index].text = std::move(text);
    changed();
}

void History::clearAll() {
    changed();
    for (int i = 0, n = filledSlotCount(); i < n; ++i)
        slots_[i].text.clear();
    list_.clear();
    if (shown_)
        shown_->clear();
    currentRow_ = -1;
}

void History::copySlotsToList(int count) {
    changed();
    for (int i = 0; i < count; ++i) {
        if (static_cast<size_t>(i) >= list_.size())
            list_.emplace_back();
        list_[i].text = slots_[i].text;
        list_[i].madeAt = slots_[i].madeAt;
    }
}

void History::copyListToSlots(int count) {
    changed();
    for (int i = 0; i < std::min(count, kSlotCount); ++i) {
        const bool listed = static_cast<size_t>(i) < list_.size();
        slots_[i].text = listed ? list_[i].text : SharedText();
        slots_[i].madeAt = listed ? list_[i].madeAt : Moment();
    }
}

void History::trimList(size_t keep) {
    changed();
    while (list_.size() > keep)
        removeListEntry(static_cast<int>(list_.size()) - 1);
}

void History::insertListEntry(int index, std::string text, Moment madeAt) {
    list_.insert(list_.begin() + index, ListEntry{std::move(text), false, madeAt});
    if (currentRow_ >= index)
        ++currentRow_; // the current entry stays the same entry
    // The entries shown stay the same entries; the new one is not among them until found.
    if (shown_)
        for (int &row : *shown_)
            row += row >= index;
}

void History::removeListEntry(int index) {
    list_.erase(list_.begin() + index);
    if (currentRow_ == index)
        currentRow_ = -1;
    else if (currentRow_ > index)
        --currentRow_;
    if (shown_) {
        std::erase(*shown_, index);
        for (int &row : *shown_)
            row -= row > index;
    }
}

} // namespace kobako
