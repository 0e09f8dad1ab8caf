#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kobako::storage {

// A failed write: the file (or directory) and the system's reason.
struct WriteFailure {
    std::string file;
    std::string reason;
};

// What became of a write: done, or its failure.
class WriteResult {
  public:
    WriteResult() = default;                                            // written
    WriteResult(WriteFailure failure) : failure_(std::move(failure)) {} // NOLINT: a failure
    bool written() const { return !failure_; }
    const WriteFailure &failure() const { return *failure_; }

  private:
    std::optional<WriteFailure> failure_;
};

} // namespace kobako::storage
