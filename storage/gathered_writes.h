#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kobako::storage {

// Passes pieces on to `write` in large blocks: small pieces (line ends, markers) are gathered,
// large ones go straight through. `write` returns the system's error code, or 0; after an error
// nothing more is written, and `finish` returns it.
class GatheredWrites {
  public:
    explicit GatheredWrites(std::function<int(std::string_view)> write)
        : write_(std::move(write)) {}

    void put(std::string_view piece) {
        if (error_)
            return;
        if (gathered_.size() + piece.size() > kGathered) {
            error_ = write_(gathered_);
            gathered_.clear();
        }
        if (!error_ && piece.size() > kGathered)
            error_ = write_(piece);
        else if (!error_)
            gathered_ += piece;
    }

    int finish() {
        if (!error_)
            error_ = write_(gathered_);
        gathered_.clear();
        return error_;
    }

  private:
    static constexpr size_t kGathered = 256 * 1024;
    std::function<int(std::string_view)> write_;
    std::string gathered_;
    int error_ = 0;
};

} // namespace kobako::storage
