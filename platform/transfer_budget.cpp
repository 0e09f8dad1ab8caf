#include "transfer_budget.h"

#include "language.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kobako::platform {

TransferBudget &TransferBudget::processWide() {
    static TransferBudget budget(kBytes);
    return budget;
}

uint64_t TransferBudget::open() {
    std::lock_guard lock(mutex_);
    const uint64_t id = next_++;
    held_.emplace(id, Held{});
    return id;
}

void TransferBudget::close(uint64_t id) {
    std::lock_guard lock(mutex_);
    const auto found = held_.find(id);
    if (found == held_.end())
        return;
    total_ -= found->second.bytes;
    held_.erase(found);
}

// The growth is allowed when the new buffer fits beside everything held now, the old buffer
// included; otherwise the largest transfer makes room.
TransferBudget::Growth TransferBudget::grow(uint64_t id, size_t from, size_t to) {
    std::lock_guard lock(mutex_);
    Held &mine = held_.at(id);
    if (mine.drop)
        return Growth::Drop;
    if (total_ + to <= bytes_) {
        total_ += to - from;
        mine.bytes = to;
        return Growth::Grow;
    }
    auto largest = std::max_element(held_.begin(), held_.end(), [](const auto &a, const auto &b) {
        return a.second.bytes < b.second.bytes;
    });
    // Growing, this one may become the largest: it goes rather than a smaller one.
    if (largest->first == id || largest->second.bytes <= to) {
        mine.drop = true;
        return Growth::Drop;
    }
    largest->second.drop = true;
    return Growth::Wait;
}

bool TransferBudget::dropped(uint64_t id) {
    std::lock_guard lock(mutex_);
    const auto found = held_.find(id);
    return found != held_.end() && found->second.drop;
}

void TransferBudget::hold(uint64_t id, size_t bytes) {
    std::lock_guard lock(mutex_);
    Held &mine = held_.at(id);
    total_ = total_ - mine.bytes + bytes;
    mine.bytes = bytes;
}

TransferBudget::Share::Share(TransferBudget &budget) : budget_(&budget), id_(budget.open()) {}

TransferBudget::Share::~Share() {
    if (budget_)
        budget_->close(id_);
}

TransferBudget::Share::Share(Share &&other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), id_(other.id_) {}

TransferBudget::Share &TransferBudget::Share::operator=(Share &&other) noexcept {
    if (this != &other) {
        if (budget_)
            budget_->close(id_);
        budget_ = std::exchange(other.budget_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

// The buffer grows as the standard library grows it, at least doubling.
TransferBudget::Growth TransferBudget::Share::makeRoom(std::string &text, size_t more) {
    const size_t needed = text.size() + more;
    if (needed <= text.capacity())
        return Growth::Grow;
    const size_t grown = std::max(needed, 2 * text.capacity());
    const Growth growth = budget_->grow(id_, text.capacity(), grown);
    if (growth == Growth::Grow)
        text.reserve(grown);
    return growth;
}

bool TransferBudget::Share::dropped() const {
    return budget_->dropped(id_);
}

void TransferBudget::Share::holding(const std::string &text) {
    budget_->hold(id_, text.capacity());
}

void sayOverBudget() {
    std::fputs(japaneseWanted()
                   ? "kobako: 読み込み中のコピーが合わせて 512 MiB を超えたため、"
                     "いちばん大きいものを取り込みません。\n"
                   : "kobako: the copies being read held more than 512 MiB together; the "
                     "largest was not taken in.\n",
               stderr);
}

} // namespace kobako::platform
