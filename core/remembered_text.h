#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kobako {

// The text taken last, for the repeat rule. A long text is remembered by its size and two
// independent 64-bit hashes rather than by a second copy: a capture of 100 MB would otherwise
// be held twice. Two different long texts are taken for the same only if both hashes collide.
class RememberedText {
  public:
    RememberedText &operator=(std::string_view text);
    bool operator==(std::string_view text) const;

  private:
    static constexpr size_t kCopiedUpTo = 64 * 1024;

    std::string copy_; // the text itself, when short
    size_t size_ = 0;
    uint64_t hashes_[2] = {0, 0};
};

} // namespace kobako
