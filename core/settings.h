#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kobako {

enum class DisplayMode { List = 0, TextBoxes = 1 };

// A check box's state; greyed only as a settings file may give it.
enum class CheckState { Unchecked = 0, Checked = 1, Greyed = 2 };

// Where the history window appears; the values are the indices of the settings window's
// position buttons.
enum class AppearPosition {
    TopRight = 0,
    MiddleRight = 1,
    BottomRight = 2,
    TopLeft = 3,
    MiddleLeft = 4,
    BottomLeft = 5,
    Unspecified = 6
};

// The five settings as the settings window's controls hold them. The two numbers stay text, as
// typed; every reader converts them at the moment of use.
class Settings {
  public:
    static constexpr int kListSpinMin = 1;
    static constexpr int kListSpinMax = 50;
    static constexpr int kIconSpinMin = 10;
    static constexpr int kIconSpinMax = 30;
    // The caption buttons' height the settings window accepts, in units of 20 twips: from 18 to
    // 60, which is already a large caption. A file cannot hold more.
    static constexpr int kSmallestIconHeight = 18;
    static constexpr int kLargestIconHeight = 60;
    static constexpr int kMaxSlots = 10;

    CheckState alwaysOnTop = CheckState::Checked;
    DisplayMode displayMode = DisplayMode::List;
    AppearPosition appearPosition = AppearPosition::MiddleRight;
    // After a pick the program that has the keyboard pastes it.
    bool pasteAfterPick = false;
    // Lines after the five that this program does not know (a later version's settings, a hand
    // edit), written back as they were.
    std::vector<std::string> otherLines;

    const std::string &listMaxText() const { return listMaxText_; }
    const std::string &iconHeightText() const { return iconHeightText_; }
    void setListMaxText(std::string text);
    void setIconHeightText(std::string text);

    // The key that calls the window from anywhere: the line "hotkey=KEYS" after the five (the
    // first such line), "Ctrl+Alt+H" without one; an empty KEYS calls by no key.
    std::string callKey() const;
    // A key chosen: that line is rewritten, or added where there was none.
    void setCallKey(const std::string &keys);

    bool isListMode() const { return displayMode == DisplayMode::List; }
    bool keepsInFront() const { return alwaysOnTop == CheckState::Checked; }

    // `listMax` as a 16-bit integer, at least 1. A number beyond 16 bits reads as the nearest end
    // of the range; text that is no number (half-typed in the settings window) reads as the last
    // number the box held, so a stray keystroke never trims the history.
    int16_t listMax() const;
    // `listMax` as a plain number, at least 1, for the slot pitch ("2.5" divides by 2.5).
    double listMaxNumber() const;
    int16_t iconHeight() const;

    // The spin controls: positions stay within their ranges, and a change of position writes the
    // position into its box. In text-box mode the list spin stops at 10.
    int listSpin() const { return listSpin_; }
    int iconSpin() const { return iconSpin_; }
    void setListSpin(int position);
    void setIconSpin(int position);

  private:
    void onListSpinMoved();
    void onIconSpinMoved();

    std::string listMaxText_ = "5";
    std::string iconHeightText_ = "18";
    double listMaxNumber_ = 5;
    double iconHeightNumber_ = 18;
    int listSpin_ = kListSpinMin;
    int iconSpin_ = kIconSpinMin;
};

// The number of text slots the history may use: `listMax`, but never more than the ten slots
// that exist.
int usableSlotCount(const Settings &settings);

} // namespace kobako
