#include "remembered_text.h"

#include <cstring>
#include <functional>

namespace kobako {

namespace {

// A second hash, independent of the standard library's: eight bytes a step, each word mixed
// before it is folded in.
uint64_t wordHash(std::string_view text) {
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
    size_t i = 0;
    auto fold = [&hash](uint64_t word) {
        word *= 0xFF51AFD7ED558CCDull;
        word ^= word >> 33;
        hash = (hash ^ word) * 0xC4CEB9FE1A85EC53ull;
        hash ^= hash >> 29;
    };
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        fold(word);
    }
    uint64_t tail = 0;
    std::memcpy(&tail, text.data() + i, text.size() - i);
    fold(tail);
    return hash;
}

} // namespace

RememberedText &RememberedText::operator=(std::string_view text) {
    size_ = text.size();
    if (text.size() <= kCopiedUpTo) {
        copy_.assign(text);
        return *this;
    }
    copy_.clear();
    copy_.shrink_to_fit();
    hashes_[0] = std::hash<std::string_view>{}(text);
    hashes_[1] = wordHash(text);
    return *this;
}

bool RememberedText::operator==(std::string_view text) const {
    if (text.size() != size_)
        return false;
    if (size_ <= kCopiedUpTo)
        return text == copy_;
    return std::hash<std::string_view>{}(text) == hashes_[0] && wordHash(text) == hashes_[1];
}

} // namespace kobako
