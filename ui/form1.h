#pragma once

#include "core/history.h"
#include "core/layout.h"
#include "core/settings.h"
#include "core/size_file.h"
#include "storage/three_files.h"

#include <QWidget>

#include <array>
#include <future>

class QCheckBox;
class QListView;
class QPlainTextEdit;

namespace kobako::platform {
class CaptionBar;
class ResizeEdges;
class Clipboard;
class Dialogs;
class WindowPresence;
} // namespace kobako::platform

namespace kobako::ui {

class Form2;
class HistoryListModel;
class HistorySaver;

// The history window: the list or the ten text slots under its own caption bar.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    Form1(Settings &settings, platform::Clipboard &clipboard, platform::Dialogs &dialogs,
          FileNames files);
    ~Form1() override;

    // The history file, read ahead on another thread while the program starts; Form_Load reads
    // it itself when it was not.
    void readStoredHistoryAhead(std::future<StoredRecords> records) {
        storedHistory_ = std::move(records);
    }
    // Start-up: park, read the three files, show the list or the slots.
    void Form_Load();
    // Out of sight in the taskbar until a copy or the user brings it back.
    void showAtStart();
    // The layout, run on every resize and change of window state.
    void Form_Resize();
    // The clipboard changed.
    void vsInForm1_NewClipboardData();
    // A second start in the same directory: shown and placed as a copy would, or raised.
    void comeForward();
    // The caption buttons, left group (0 settings, 1 help, 2 capture) and right group (0 save
    // and quit, 1 minimize, 2 clear all).
    void vsInForm1_ClickLButton(int16_t button);
    void vsInForm1_ClickRButton(int16_t button);

    // Saves the window size and the history, then ends the program. When a write fails the user
    // is told; with `mayAsk` they may then choose to keep running.
    void saveAndEnd(bool mayAsk);

    History &history() { return history_; }
    const platform::CaptionBar &captionBar() const { return *vsInForm1; }
    // Shows the history anew after it changed.
    void refreshViews();

    // What the settings window applies.
    void setAlwaysOnTop(bool inFront);
    void setCaptionButtonHeight(int16_t height);
    bool listShown() const;
    bool slotsShown() const;
    // From the slots to the list: the filled slots' texts become the first entries.
    void switchToList();
    // From the list to the slots, in two steps: the list goes, then the first `listMax` slots
    // show the first entries.
    void hideList();
    void showSlotsFromList();
    void trimList(size_t keep);
    QFont listFont() const;
    // A chosen font for the display in use: the list, or the slots shown.
    void applyFont(const QFont &font);
    Form2 &settingsWindow();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void ensureSlots();
    bool slotsBuilt() const { return Text1[0] != nullptr; }
    void showDisplay(bool list);
    void setShaded(QWidget *display, bool shaded) const;
    void layoutCaptionAndClient();
    void placeBy(PlacementKind kind);
    void applySlotLayout();
    void restoreSavedSize();

    bool listEvent(QEvent *event);
    bool listKeyEvent(QEvent *event);
    bool checkBoxEvent(int index, QEvent *event);
    bool slotTextEvent(int index, QEvent *event);
    bool slotKeyEvent(int index, QEvent *event);
    bool mayType(int index);
    void onSlotEdited(int index);
    void toggleCapture();
    void openHelp();
    void describeCaptionButtons();
    void reportUnwritableDirectory(const std::string &reason);
    void reportUnreadableHistory();
    std::optional<WriteFailure> saveSize();
    std::optional<WriteFailure> saveHistory();
    void end();

    Settings &settings_;
    History history_;
    platform::Clipboard &clipboard_;
    platform::Dialogs &dialogs_;
    FileNames files_;
    SavedSize saved_;
    std::future<StoredRecords> storedHistory_;
    // Why the history file could not be read at start-up: this session then never writes it.
    std::optional<std::string> historyUnreadable_;
    HistorySaver *saver_ = nullptr; // from the end of Form_Load on

    Form2 *form2_ = nullptr;
    platform::CaptionBar *vsInForm1; // the caption bar and its six buttons
    platform::ResizeEdges *edges_;
    platform::WindowPresence *presence_;
    QWidget *client_;
    QListView *List1; // the list display
    HistoryListModel *listModel_;
    std::array<QPlainTextEdit *, History::kSlotCount> Text1{}; // the text slots
    std::array<QCheckBox *, History::kSlotCount> Check1{};     // their check boxes
    std::array<QString, History::kSlotCount> shownSlotText_;   // what each slot shows

    bool sizeRestored_ = false;
    bool updatingSlots_ = false;
    bool askingToEnd_ = false; // whether to end without saving, after a failed save
    std::array<bool, History::kSlotCount> doubleClicked_{};
    std::array<bool, History::kSlotCount> pressedInSelection_{};
};

} // namespace kobako::ui
