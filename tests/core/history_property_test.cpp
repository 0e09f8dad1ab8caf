// Random sequences of copies, picks, deletes and restarts against a simple model of what the
// history must hold: every text copied elsewhere, newest first, except an immediate repeat of
// the text copied last (unless the user deleted it), minus what the user deleted; the program's
// own writes never.
#include "core/history.h"
#include "core/numbers.h"
#include "display_driver.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace kobako {
namespace {

enum class Action { Copy, Click, CtrlClick, AltClick, RightClick, Restart };

struct Step {
    Action action;
    size_t value; // the text copied, or the row clicked (modulo the history's length)
};

// Texts of every kind (line ends, the history file's marker line), with repeats likely.
const std::vector<std::string> kTexts = {
    "a",      "b",    "c",
    "a\r\nb", "x\ny", "日本語",
    "",       "ab",   "cr\rText Start Point\r\nText Start Point"};

std::string describe(const std::vector<Step> &steps) {
    static const char *names[] = {"copy",      "click",       "ctrl+click",
                                  "alt+click", "right click", "restart"};
    std::ostringstream out;
    for (const Step &step : steps) {
        out << names[static_cast<int>(step.action)];
        if (step.action == Action::Copy)
            out << " \"" << kTexts[step.value % kTexts.size()] << "\"";
        else if (step.action != Action::Restart)
            out << " " << step.value;
        out << "; ";
    }
    return out.str();
}

class Session {
  public:
    explicit Session(bool listMode) {
        settings_.displayMode = listMode ? DisplayMode::List : DisplayMode::TextBoxes;
        settings_.setListMaxText(listMode ? "8" : "5");
        start({});
    }

    // Runs one step on the program and on the model; false when they disagree afterwards.
    bool run(const Step &step) {
        const size_t count = texts().size();
        switch (step.action) {
        case Action::Copy:
            copy(kTexts[step.value % kTexts.size()]);
            break;
        case Action::Restart:
            restart();
            break;
        case Action::RightClick:
            if (count > 0)
                deleteAt(static_cast<int>(step.value % count));
            break;
        default:
            if (count > 0)
                pick(static_cast<int>(step.value % count), step.action);
            break;
        }
        return texts() == model_;
    }

    std::vector<std::string> texts() const { return display().texts(); }
    const std::vector<std::string> &model() const { return model_; }

  private:
    testing::DisplayDriver display() const { return {settings_, *history_, *clipboard_}; }

    void start(const std::vector<std::string> &records) {
        history_ = std::make_unique<History>(settings_);
        clipboard_ = std::make_unique<testing::FakeClipboard>(*history_);
        history_->load(records);
        lastTaken_.reset();
    }

    void copy(const std::string &text) {
        const bool repeat = !model_.empty() && text == lastTaken_;
        clipboard_->copyElsewhere(text);
        if (repeat)
            return;
        lastTaken_ = text;
        if (text.empty())
            return;
        model_.insert(model_.begin(), text);
        model_.resize(std::min<size_t>(model_.size(), settings_.listMax()));
    }

    void pick(int row, Action action) {
        const Modifiers keys = action == Action::Click       ? Modifiers::None
                               : action == Action::CtrlClick ? Modifiers::Ctrl
                                                             : Modifiers::Alt;
        // The write changes no entry, nor what the repeat rule compares a copy with: a copy
        // made elsewhere of the text just picked is the user's own.
        display().leftClick(row, keys);
    }

    // A right click deletes what is marked: the list's selected entries, or the clicked slot
    // when it is checked.
    void deleteAt(int row) {
        std::vector<bool> deleted = display().marks();
        if (!settings_.isListMode())
            for (size_t i = 0; i < deleted.size(); ++i)
                deleted[i] = deleted[i] && i == static_cast<size_t>(row);
        display().rightClick(row);
        std::vector<std::string> kept;
        for (size_t i = 0; i < model_.size(); ++i) {
            if (!deleted[i])
                kept.push_back(model_[i]);
            else if (model_[i] == lastTaken_)
                lastTaken_.reset();
        }
        model_ = kept;
    }

    // What is saved is what the next start loads (the file keeps texts byte for byte).
    void restart() {
        std::vector<std::string> saved;
        for (const SharedText &text : history_->textsToSave())
            saved.push_back(text);
        start(saved);
    }

    Settings settings_;
    std::unique_ptr<History> history_;
    std::unique_ptr<testing::FakeClipboard> clipboard_;
    std::vector<std::string> model_;
    std::optional<std::string> lastTaken_;
};

// The index of the first step after which the program and the model disagree, or -1.
int firstDivergence(bool listMode, const std::vector<Step> &steps) {
    Session session(listMode);
    for (size_t i = 0; i < steps.size(); ++i)
        if (!session.run(steps[i]))
            return static_cast<int>(i);
    return -1;
}

// Leaves out steps one at a time while the sequence still fails.
std::vector<Step> shortestFailing(bool listMode, std::vector<Step> steps) {
    steps.resize(firstDivergence(listMode, steps) + 1);
    for (bool shorter = true; shorter;) {
        shorter = false;
        for (size_t i = 0; i < steps.size(); ++i) {
            std::vector<Step> without = steps;
            without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
            if (firstDivergence(listMode, without) >= 0) {
                steps = std::move(without);
                shorter = true;
                break;
            }
        }
    }
    return steps;
}

class HistoryProperty : public ::testing::TestWithParam<bool> {};

TEST_P(HistoryProperty, HoldsWhatWasCopiedMinusWhatWasDeleted) {
    const bool listMode = GetParam();
    constexpr int kSeeds = 40;
    constexpr int kSteps = 300;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        std::mt19937 random(seed);
        // Copies most often, as a user makes them; restarts now and then.
        std::discrete_distribution<int> action({40, 15, 12, 6, 10, 4});
        std::vector<Step> steps;
        for (int i = 0; i < kSteps; ++i)
            steps.push_back({static_cast<Action>(action(random)), random() % 64});
        if (firstDivergence(listMode, steps) < 0)
            continue;
        const auto shortest = shortestFailing(listMode, steps);
        Session replay(listMode);
        for (const Step &step : shortest)
            replay.run(step);
        ADD_FAILURE() << "seed " << seed << ": " << describe(shortest) << "\nhistory "
                      << ::testing::PrintToString(replay.texts()) << "\nexpected "
                      << ::testing::PrintToString(replay.model());
        return;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, HistoryProperty, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "List" : "TextBoxes"; });

// No setting can make a copy empty the history: under any list maximum a file or a box may hold
// (below one, fractions, beyond 16 bits, text), in either display, every copy is kept as the
// newest entry and the entries held stay, up to the maximum (at least one).
TEST(CaptureUnderAnySettings, KeepsTheNewestCopyAndTheEntriesTheMaximumAllows) {
    const char *values[] = {"0", "-5", "0.4", "0.6", "1", "2.5", "10", "11", "1e30", "abc", ""};
    for (const char *value : values) {
        for (const bool listMode : {true, false}) {
            for (const size_t held : {0, 1, 3, 12}) {
                SCOPED_TRACE(::testing::Message()
                             << "list maximum \"" << value << "\", "
                             << (listMode ? "list" : "slots") << ", " << held << " held");
                Settings settings;
                settings.displayMode = listMode ? DisplayMode::List : DisplayMode::TextBoxes;
                settings.setListMaxText(value);
                History history(settings);
                testing::FakeClipboard clipboard(history);
                testing::DisplayDriver display(settings, history, clipboard);
                std::vector<std::string> stored;
                for (size_t i = 0; i < held; ++i)
                    stored.push_back("stored " + std::to_string(i));
                history.load(stored);
                // Rounded, beyond 16 bits the nearest end; text keeps the default 5.
                const auto number = parseNumber(value);
                const int asTyped = number ? roundClampedToInt16(*number) : 5;
                const auto maximum =
                    static_cast<size_t>(std::clamp(asTyped, 1, listMode ? 32767 : 10));
                for (int copy = 0; copy < 12; ++copy) {
                    const size_t before = display.texts().size();
                    const std::string text = "copy " + std::to_string(copy);
                    history.capture(text, ClipboardOrigin::Elsewhere);
                    const std::vector<std::string> after = display.texts();
                    ASSERT_FALSE(after.empty()) << "copy " << copy;
                    EXPECT_EQ(after.front(), text);
                    EXPECT_GE(after.size(), std::min(before + 1, maximum)) << "copy " << copy;
                }
            }
        }
    }
}

} // namespace
} // namespace kobako
