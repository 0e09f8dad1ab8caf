#pragma once

#include "core/history.h"
#include "core/layout.h"
#include "core/settings.h"
#include "pasting_writer.h"
#include "settings_target.h"
#include "storage/file_names.h"
#include "storage/history_file.h"
#include "storage/size_file.h"

#include <QWidget>

#include <array>
#include <future>

class QCheckBox;
class QKeyEvent;
class QListView;
class QPlainTextEdit;

namespace kobako::platform {
class CaptionBar;
enum class CaptionButton;
class Dialogs;
class GlobalKey;
class ResizeEdges;
class WindowPresence;
} // namespace kobako::platform

namespace kobako::ui {

class HistoryListModel;
class HistorySaver;
class ListFinder;
class SettingsWindow;

// The history window: the list or the ten text slots under its own caption bar.
class HistoryWindow : public QWidget, public SettingsTarget {
    Q_OBJECT
  public:
    HistoryWindow(Settings &settings, ClipboardReader &clipboardReader,
                  ClipboardWriter &clipboardWriter, platform::Dialogs &dialogs,
                  storage::FileNames files);
    ~HistoryWindow() override;

    // The history file, read ahead on another thread while the program starts; `load` reads it
    // itself when it was not.
    void readStoredHistoryAhead(std::future<storage::StoredHistory> stored) {
        storedHistory_ = std::move(stored);
    }
    // Says on standard error what becomes of each clipboard change, and each call (--verbose).
    void sayEachChange() { sayingChanges_ = true; }
    // Start-up: read the three files, show the list or the slots.
    void load();
    // Out of sight in the taskbar until a copy or the user brings it back.
    void showAtStart();
    // A second start in the same directory: shown and placed as a copy would, or raised.
    void comeForward();
    // The user's key, or a start with --show: the window comes with the keyboard, ready to find
    // by typing. Pressed again while the window has the keyboard, it gives the keyboard back.
    void summon();
    void onCaptionButton(platform::CaptionButton button);

    // Saves the window size and the history, then ends the program. When a write fails the user
    // is told; with `mayAsk` they may then choose to keep running.
    void saveAndEnd(bool mayAsk);

    const History &history() const { return history_; }
    const platform::CaptionBar &captionBar() const { return *captionBar_; }
    SettingsWindow &settingsWindow();

    // What the settings window applies.
    void keepInFront(bool inFront) override;
    std::optional<SettingsRefusal> applySettings(const CheckedNumbers &numbers) override;
    // The layout, run on every resize and change of window state.
    void fitDisplayToWindow() override;
    QFont listFont() const override;
    void applyFont(const QFont &font) override;
    void takeCallKey() override;
    std::optional<QString> callKeyRefusal() const override { return callKeyRefusal_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void onClipboardChanged();
    void saveChanges();
    void refreshViews();
    void ensureSlots();
    bool slotsBuilt() const { return slotTexts_[0] != nullptr; }
    bool listShown() const;
    bool slotsShown() const;
    void showDisplay(bool list);
    void setSlotsVisible(int count, bool visible);
    void switchToList();
    void showSlotsFromList();
    void setShaded(QWidget *display, bool shaded) const;
    void layoutCaptionAndClient();
    void placeBy(PlacementKind kind);
    void applySlotLayout();
    static void fitScrollBars(QPlainTextEdit &slot, int shown);
    void restoreSavedSize();

    bool listEvent(QEvent *event);
    bool listKeyEvent(QEvent *event);
    bool findFieldKeyEvent(QEvent *event);
    bool listPickKey(const QKeyEvent &key);
    void pickCurrentByKey(bool thenPaste);
    void focusForTyping();
    void giveKeyboardBack();
    void pasteWhereCalledFrom(const SharedText &picked);
    void placeFindField();
    bool slotMarkEvent(int index, QEvent *event);
    bool slotTextEvent(int index, QEvent *event);
    bool slotKeyEvent(int index, QEvent *event);
    bool mayType(int index);
    void onSlotEdited(int index);
    void toggleCapture();
    void openHelp();
    void describeCaptionButtons();
    void reportUnwritableDirectory(const storage::WriteFailure &failure);
    void reportUnreadableHistory();
    storage::WriteResult saveSize();
    storage::WriteResult saveHistory();
    void end();

    Settings &settings_;
    History history_;
    ClipboardReader &clipboardReader_;
    ClipboardWriter &clipboardWriter_;
    PastingWriter pickWriter_; // for the click gestures
    platform::Dialogs &dialogs_;
    storage::FileNames files_;
    storage::SizeFile sizeFile_;
    storage::HistoryFile historyFile_;
    storage::SizeFile::Loaded savedSize_;
    std::future<storage::StoredHistory> storedHistory_;
    // Why the history file could not be read at start-up: this session then never writes it.
    std::optional<std::string> historyUnreadable_;
    HistorySaver *saver_ = nullptr; // from the end of `load` on
    unsigned savedRevision_ = 0;    // of the history, when the saver was last told

    SettingsWindow *settingsWindow_ = nullptr;
    platform::CaptionBar *captionBar_;
    platform::ResizeEdges *edges_;
    platform::WindowPresence *presence_;
    platform::GlobalKey *callKey_;
    std::optional<QString> callKeyRefusal_;
    QWidget *client_;
    QListView *historyList_;
    HistoryListModel *listModel_;
    ListFinder *finder_;
    quintptr keyboardLentBy_ = 0; // the window that had the keyboard before the user's key
    std::array<QPlainTextEdit *, History::kSlotCount> slotTexts_{};
    std::array<QCheckBox *, History::kSlotCount> slotMarks_{};
    std::array<QString, History::kSlotCount> shownSlotText_{}; // what each slot shows

    bool sayingChanges_ = false;
    bool sizeRestored_ = false;
    bool updatingSlots_ = false;
    bool askingToEnd_ = false; // whether to end without saving, after a failed save
    std::array<bool, History::kSlotCount> doubleClicked_{};
    std::array<bool, History::kSlotCount> pressedInSelection_{};
};

} // namespace kobako::ui
