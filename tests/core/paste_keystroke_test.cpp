#include "core/paste_keystroke.h"

#include <gtest/gtest.h>

namespace kobako {
namespace {

TEST(PasteKeystroke, ALineOfTheSettingsFileChoosesItByTheWindowsClass) {
    const std::vector<std::string> lines = {
        "paste-after-pick=1",
        "paste-keystroke.=Ctrl+V",      // names no program
        "paste-keystroke.emacs=Ctrl+X", // no keystroke the program types
        "paste-keystroke.Emacs=ctrl+v",
        "paste-keystroke.emacs=Ctrl+Shift+V", // a later line naming the same program
        "paste-keystroke.kitty=Ctrl+Shift+V",
        "paste-keystroke.xterm",
    };
    struct Case {
        std::vector<std::string> windowClass;
        PasteKeystroke keystroke;
    };
    for (const auto &[windowClass, keystroke] : {
             Case{{"emacs", "Emacs"}, PasteKeystroke::CtrlV},
             Case{{"EMACS"}, PasteKeystroke::CtrlV},
             Case{{"kitty-1", "KITTY"}, PasteKeystroke::CtrlShiftV},
             Case{{"xterm", "XTerm"}, PasteKeystroke::ShiftInsert},
             Case{{"emacsclient"}, PasteKeystroke::ShiftInsert},
             Case{{}, PasteKeystroke::ShiftInsert},
             Case{{""}, PasteKeystroke::ShiftInsert},
         })
        EXPECT_EQ(pasteKeystrokeFor(lines, windowClass), keystroke)
            << (windowClass.empty() ? "" : windowClass.back());
}

} // namespace
} // namespace kobako
