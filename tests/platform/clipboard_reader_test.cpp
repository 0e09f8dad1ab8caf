// The X11 reader against owners that behave and owners that do not (test_owner.cpp).
#include "platform/x11/clipboard_reader.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>

namespace kobako {
namespace {

using namespace std::chrono_literals;
using Report = std::optional<std::string>;

// Runs test_owner with its arguments and returns once it owns the clipboard.
class Owner {
  public:
    explicit Owner(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TEST_OWNER);
        int output[2];
        if (pipe(output) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(output[1], STDOUT_FILENO);
            std::vector<char *> argv;
            for (std::string &argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(output[1]);
        char line[16] = {};
        [[maybe_unused]] const auto got = read(output[0], line, sizeof line - 1);
        close(output[0]);
    }
    ~Owner() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Owner(const Owner &) = delete;
    Owner &operator=(const Owner &) = delete;

  private:
    pid_t pid_ = -1;
};

// One reader for all the tests, as the program has one for its whole run.
class ClipboardReader : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        reader_ = platform::X11ClipboardReader::open().release();
        if (reader_)
            reader_->setListener([](ClipboardChange change) {
                std::lock_guard lock(mutex_);
                reports_.push_back(std::move(change.text));
                arrived_.notify_all();
            });
    }
    static void TearDownTestSuite() { delete reader_; }
    void SetUp() override { ASSERT_TRUE(reader_) << "no X display with XFixes"; }

    // The next report, or a failure after `timeout`.
    Report next(std::chrono::milliseconds timeout = 6000ms) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, timeout, [this] { return taken_ < reports_.size(); })) {
            ADD_FAILURE() << "no report within " << timeout.count() << " ms";
            return "<nothing reported>";
        }
        return reports_[taken_++];
    }

    // A plain copy made after whatever came before is reported within `timeout`; the reports
    // before it are passed over, and the one of its owner leaving is taken too, so that the
    // next report is the next copy's.
    void expectCopyReported(const std::string &text, std::chrono::milliseconds timeout) {
        {
            Owner owner({"plain", text});
            const auto deadline = std::chrono::steady_clock::now() + timeout;
            while (true) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left <= 0ms) {
                    ADD_FAILURE() << "\"" << text << "\" was not reported";
                    return;
                }
                if (next(left) == text)
                    break;
            }
        }
        EXPECT_EQ(next(), std::nullopt) << "the owner of \"" << text << "\" left";
    }

    static inline platform::X11ClipboardReader *reader_ = nullptr;
    static inline std::mutex mutex_;
    static inline std::condition_variable arrived_;
    static inline std::vector<Report> reports_;
    static inline size_t taken_ = 0;
};

struct OwnerCase {
    const char *mode;
    std::string text;
    Report expected;
    int rounds = 1;
    std::chrono::milliseconds within = 6000ms;
};

// Each owner's copy gives the expected text, or none; and the reader still reads the next copy.
TEST_F(ClipboardReader, EachOwnerGivesItsTextOrNoneAndNeverStopsTheNext) {
    const OwnerCase cases[] = {
        {"plain", "hello 日本語", "hello 日本語"},
        {"plain",
         "abc\xE9"
         "def",
         "abc\xEF\xBF\xBD"
         "def"},
        {"string-only", "caf\xE9", "café"},
        {"public-mark", "shown", "shown"},
        {"many-targets", "many", "many"},
        // A secret is never kept: not when the owner hands the clipboard on or exits right
        // after giving the text, nor when the mark is offered but not sent or comes too late.
        {"secret-handoff", "s1", std::nullopt, 20},
        {"secret-exit", "s2", std::nullopt, 20},
        {"secret-refuse", "s3", std::nullopt, 20},
        {"secret-late", "s4", std::nullopt},
        // An owner that never tells, or tells late, what it offers still gives its text.
        {"no-targets", "kept 1", "kept 1", 3},
        {"slow-targets", "kept 2", "kept 2"},
        {"wrong-type", "w", std::nullopt},
        {"incr-die", "d", std::nullopt},
        // Past the largest text a transfer is dropped at once, not when its time is up (30 s);
        // 256 MiB through the X server can take seconds on a busy machine.
        {"incr-endless", "e", std::nullopt, 1, 20000ms},
        {"never", "n", std::nullopt},
    };
    int copy = 0;
    for (const OwnerCase &c : cases) {
        for (int round = 0; round < c.rounds; ++round) {
            {
                Owner owner({c.mode, c.text});
                EXPECT_EQ(next(c.within), c.expected) << c.mode << " round " << round;
            }
            expectCopyReported("after " + std::to_string(copy++), 6000ms);
        }
    }
}

// A program that answers any request with its own text (as xclip does) takes the clipboard a
// moment after a password manager: what is reported for the secret's copy is nothing, or that
// program's text if it answered for it, never the secret.
TEST_F(ClipboardReader, AProgramTakingTheClipboardNeverAnswersForTheSecretsMark) {
    for (int round = 0; round < 10; ++round) {
        {
            Owner owner({"secret-then-any", "s5"});
            const Report first = next();
            EXPECT_TRUE(first == std::nullopt || first == "next") << first.value_or("<nothing>");
            EXPECT_EQ(next(), "next");
        }
        expectCopyReported("after " + std::to_string(round), 6000ms);
    }
}

// Copies a few milliseconds apart are all read, in order, each from the owner's time of it.
TEST_F(ClipboardReader, CopiesFiveMillisecondsApartAreAllReadInOrder) {
    Owner owner({"burst", "b", "40", "5"});
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(next(), "b-" + std::to_string(i));
}

// An owner that keeps a transfer alive for ever holds the next copies back only briefly.
TEST_F(ClipboardReader, ASlowTransferDoesNotHoldBackTheNextCopy) {
    Owner slow({"incr-slow"});
    const auto start = std::chrono::steady_clock::now();
    expectCopyReported("after the slow one", 4000ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4000ms);
}

// The size an owner announces is its word, not memory to set aside: under a memory limit, an
// announcement of 4 GiB must not end the program.
TEST_F(ClipboardReader, AnAnnouncedSizeReservesNoMemory) {
    rlimit previous{};
    getrlimit(RLIMIT_AS, &previous);
    std::ifstream status("/proc/self/status");
    std::string line;
    size_t virtualKb = 0;
    while (std::getline(status, line))
        if (line.starts_with("VmSize:"))
            virtualKb = std::stoul(line.substr(7));
    rlimit limited = previous;
    limited.rlim_cur = (virtualKb << 10) + (1ull << 30);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    {
        Owner huge({"incr-huge"});
        EXPECT_EQ(next(), std::nullopt);
    }
    setrlimit(RLIMIT_AS, &previous);
    expectCopyReported("after the huge one", 6000ms);
}

} // namespace
} // namespace kobako
