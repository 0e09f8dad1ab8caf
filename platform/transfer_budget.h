#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace kobako::platform {

// The memory that the copies being read may hold together, whichever way the clipboard is read:
// one copy may bring 256 MiB, but eight owners sending for ever must not take 2 GiB. Past the
// budget the largest transfer under way is dropped; the history keeps what it had.
class TransferBudget {
  public:
    static constexpr size_t kBytes = size_t{512} << 20;

    // The one budget of the process, shared by the clipboard's readers on their threads.
    static TransferBudget &processWide();
    explicit TransferBudget(size_t bytes) : bytes_(bytes) {}

    enum class Growth {
        Grow, // there is room
        Wait, // another transfer is to be dropped first: try again once it has been
        Drop, // this transfer is the largest, and is dropped
    };

    // One transfer's share of the budget, for as long as the transfer lives.
    class Share {
      public:
        explicit Share(TransferBudget &budget = processWide());
        ~Share();
        Share(Share &&other) noexcept;
        Share &operator=(Share &&other) noexcept;
        Share(const Share &) = delete;
        Share &operator=(const Share &) = delete;

        // Makes room in `text` for `more` bytes. Growing a text holds its old and its new buffer
        // for a moment: both are counted.
        Growth makeRoom(std::string &text, size_t more);
        // Whether another transfer's growth chose this one to be dropped.
        bool dropped() const;
        // What this transfer holds now (its text emptied or shrunk).
        void holding(const std::string &text);

      private:
        TransferBudget *budget_;
        uint64_t id_;
    };

  private:
    struct Held {
        size_t bytes = 0;
        bool drop = false;
    };
    uint64_t open();
    void close(uint64_t id);
    Growth grow(uint64_t id, size_t from, size_t to);
    bool dropped(uint64_t id);
    void hold(uint64_t id, size_t bytes);

    const size_t bytes_;
    std::mutex mutex_;
    std::map<uint64_t, Held> held_;
    size_t total_ = 0;
    uint64_t next_ = 1;
};

// Says on standard error that a copy being read was dropped for the budget's sake.
void sayOverBudget();

} // namespace kobako::platform
