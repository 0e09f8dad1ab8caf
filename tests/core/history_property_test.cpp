// Random sequences of copies, picks, deletes and restarts against a simple model of what the
// history must hold: every text copied elsewhere, newest first, except an immediate repeat of
// the text copied last (unless the user deleted it), minus what the user deleted; the program's
// own writes never.
#include "core/history.h"
#include "display_driver.h"
#include "fake_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

// A step as a failure shows it: the action and its value (a copy's text is kTexts[value % 9]).
std::string describe(const Step &step) {
    static const char *names[] = {"copy",      "click",       "ctrl+click",
                                  "alt+click", "right click", "restart"};
    return std::string(names[static_cast<int>(step.action)]) + ' ' + std::to_string(step.value) +
           "; ";
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
        default: // a pick changes no entry, nor what the repeat rule compares a copy with
            if (count > 0)
                display().leftClick(static_cast<int>(step.value % count),
                                    step.action == Action::Click       ? Modifiers::None
                                    : step.action == Action::CtrlClick ? Modifiers::Ctrl
                                                                       : Modifiers::Alt);
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

class HistoryProperty : public ::testing::TestWithParam<bool> {};

TEST_P(HistoryProperty, HoldsWhatWasCopiedMinusWhatWasDeleted) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        // Copies most often, as a user makes them; restarts now and then.
        std::discrete_distribution<int> action({40, 15, 12, 6, 10, 4});
        Session session(GetParam());
        std::string steps;
        for (int i = 0; i < 300; ++i) {
            const Step step{static_cast<Action>(action(random)), random() % 64};
            steps += describe(step);
            if (!session.run(step)) {
                ADD_FAILURE() << "seed " << seed << ": " << steps << "\nhistory "
                              << ::testing::PrintToString(session.texts()) << "\nexpected "
                              << ::testing::PrintToString(session.model());
                return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, HistoryProperty, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "List" : "TextBoxes"; });

} // namespace
} // namespace kobako
