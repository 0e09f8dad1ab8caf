// The Wayland clipboard against a server that offers only the standard data control
// (data_control_server.cpp): no compositor here offers it. Sway, which offers wlroots' data
// control, runs the same clipboard end to end (tests/e2e/test_sway.py).
#include "platform/wayland/clipboard.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace kobako {
namespace {

using namespace std::chrono_literals;
using Report = std::optional<std::string>;

class ExtDataControl : public ::testing::Test {
  protected:
    void SetUp() override {
        char runtime[] = "/tmp/kobako-ext-XXXXXX";
        ASSERT_TRUE(mkdtemp(runtime));
        runtime_ = runtime;
        setenv("XDG_RUNTIME_DIR", runtime, 1);
        setenv("WAYLAND_DISPLAY", "ext-test", 1);
        int input[2], output[2];
        ASSERT_EQ(pipe2(input, O_CLOEXEC), 0);
        ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
        server_ = fork();
        if (server_ == 0) {
            dup2(input[0], STDIN_FILENO);
            dup2(output[1], STDOUT_FILENO);
            execl(DATA_CONTROL_SERVER, DATA_CONTROL_SERVER, "ext-test", nullptr);
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        commands_ = fdopen(input[1], "w");
        said_ = fdopen(output[0], "r");
        ASSERT_EQ(line(), "ready");
        clipboard_ = platform::WaylandClipboard::open();
        ASSERT_TRUE(clipboard_);
        clipboard_->setListener([this](ClipboardChange change) {
            std::lock_guard lock(mutex_);
            reports_.push_back(std::move(change.text));
            arrived_.notify_all();
        });
    }
    void TearDown() override {
        clipboard_.reset();
        if (commands_)
            std::fclose(commands_);
        if (said_)
            std::fclose(said_);
        if (server_ > 0)
            waitpid(server_, nullptr, 0);
        std::filesystem::remove_all(runtime_);
    }

    void tell(const std::string &command) {
        std::fprintf(commands_, "%s\n", command.c_str());
        std::fflush(commands_);
    }
    std::string line() {
        char buffer[256] = {};
        if (!std::fgets(buffer, sizeof buffer, said_))
            return "<the server ended>";
        std::string text(buffer);
        return text.substr(0, text.find('\n'));
    }
    Report next() {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, 5s, [this] { return taken_ < reports_.size(); })) {
            ADD_FAILURE() << "no report";
            return "<nothing reported>";
        }
        return reports_[taken_++];
    }

    std::string runtime_;
    pid_t server_ = -1;
    FILE *commands_ = nullptr;
    FILE *said_ = nullptr;
    std::unique_ptr<platform::WaylandClipboard> clipboard_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Report> reports_;
    size_t taken_ = 0;
};

// The standard protocol is chosen, copies are read, a secret is not, and a pick is set as the
// clipboard and never read back as a copy.
TEST_F(ExtDataControl, ReadsCopiesAndSetsPicks) {
    EXPECT_NE(clipboard_->describe().find("ext_data_control_manager_v1"), std::string::npos);
    tell("copy hello 日本語");
    EXPECT_EQ(next(), "hello 日本語");
    tell("secret hunter2");
    EXPECT_EQ(next(), std::nullopt);
    clipboard_->offer(SharedText("given back"));
    EXPECT_EQ(line(), "selection given back");
    tell("copy after");
    EXPECT_EQ(next(), "after"); // nothing in between: the program's own selection
}

} // namespace
} // namespace kobako
