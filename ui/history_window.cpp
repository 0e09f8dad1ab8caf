#include "history_window.h"

#include "core/numbers.h"
#include "help.h"
#include "history_list_model.h"
#include "history_saver.h"
#include "list_finder.h"
#include "platform/caption_bar.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/global_key.h"
#include "platform/resize_edges.h"
#include "platform/twips.h"
#include "platform/window_manager.h"
#include "platform/window_presence.h"
#include "settings_window.h"
#include "storage/files.h"
#include "storage/settings_file.h"
#include "text_display.h"
#include "write_failure_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTimer>

#include <cstdio>
#include <iostream>

namespace kobako::ui {

using platform::WindowTwips;

namespace {

// The client area as designed, before the saved size is applied.
constexpr float kDesignClientWidth = 3510;
constexpr float kDesignClientHeight = 1830;
constexpr float kCheckWidth = 195;
constexpr float kCheckHeight = 240;

} // namespace

HistoryWindow::HistoryWindow(Settings &settings, ClipboardReader &clipboardReader,
                             ClipboardWriter &clipboardWriter, platform::Dialogs &dialogs,
                             storage::FileNames files)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), settings_(settings),
      history_(settings), clipboardReader_(clipboardReader), clipboardWriter_(clipboardWriter),
      pickWriter_(clipboardWriter, settings), dialogs_(dialogs), files_(std::move(files)),
      sizeFile_(files_), historyFile_(files_) {
    setWindowTitle(QStringLiteral("Kobako"));
    // Brought back by a copy while the user types elsewhere: the keys must stay there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // It stays in front while the user works elsewhere: its buttons explain themselves then too.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    platform::setProgramIcon(*this);
    setFont(platform::japaneseFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    captionBar_ = new platform::CaptionBar(this);
    captionBar_->setObjectName(QStringLiteral("captionBar"));
    describeCaptionButtons();
    client_ = new QWidget(this);

    historyList_ = new QListView(client_);
    historyList_->setObjectName(QStringLiteral("historyList"));
    historyList_->setAccessibleName(tr("履歴"));
    listModel_ = new HistoryListModel(history_, this);
    historyList_->setModel(listModel_);
    historyList_->setSelectionMode(QAbstractItemView::NoSelection);
    historyList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyList_->setUniformItemSizes(true);
    historyList_->setWordWrap(false);
    historyList_->setTextElideMode(Qt::ElideRight);
    historyList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    historyList_->setFocusPolicy(Qt::TabFocus); // a click picks; it leaves the keyboard be
    historyList_->viewport()->installEventFilter(this);
    historyList_->installEventFilter(this);
    finder_ = new ListFinder(history_, *historyList_, *client_);
    finder_->field().installEventFilter(this);
    connect(finder_, &ListFinder::shownChanged, this, [this] {
        placeFindField();
        refreshViews();
    });
    edges_ = new platform::ResizeEdges(*this);
    presence_ = new platform::WindowPresence(*this, {[this] { restoreSavedSize(); },
                                                     [this](PlacementKind kind) { placeBy(kind); },
                                                     [this] { return history_.holdsAnyText(); }});

    callKey_ = new platform::GlobalKey(this);
    connect(callKey_, &platform::GlobalKey::pressed, this, &HistoryWindow::summon);
    connect(captionBar_, &platform::CaptionBar::clicked, this, &HistoryWindow::onCaptionButton);
    clipboardReader_.whenChanged([this] { onClipboardChanged(); });

    resize(platform::toPixels(kDesignClientWidth),
           platform::toPixels(kDesignClientHeight) + captionBar_->height());
    // Until the settings are confirmed the window stays in front, as the program is meant to.
    captionBar_->setAlwaysOnTop(true);
}

HistoryWindow::~HistoryWindow() = default;

// The slots are made when first shown: a list-mode window never needs them.
void HistoryWindow::ensureSlots() {
    if (slotsBuilt())
        return;
    for (int i = 0; i < History::kSlotCount; ++i) {
        QCheckBox *mark = slotMarks_[i] = new QCheckBox(client_);
        mark->setObjectName(QStringLiteral("slotMark%1").arg(i));
        mark->setFixedSize(platform::toPixels(kCheckWidth), platform::toPixels(kCheckHeight));
        mark->setFocusPolicy(Qt::NoFocus);
        mark->installEventFilter(this);
        mark->setAccessibleName(tr("履歴 %1 のチェック").arg(i + 1));
        mark->setToolTip(HistoryListModel::gesturesTip());

        QPlainTextEdit *text = slotTexts_[i] = new QPlainTextEdit(client_);
        text->setObjectName(QStringLiteral("slotText%1").arg(i));
        text->setAccessibleName(tr("履歴 %1").arg(i + 1));
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        // The slot below covers the foot of each slot: what remains shows the first line.
        text->document()->setDocumentMargin(1);
        text->setContextMenuPolicy(Qt::NoContextMenu);
        text->setAcceptDrops(false);    // text dropped in would change a slot unasked
        text->setTabChangesFocus(true); // Tab goes to the next slot; a pasted tab stays
        text->installEventFilter(this);
        text->viewport()->installEventFilter(this);
        connect(text, &QPlainTextEdit::textChanged, this, [this, i] { onSlotEdited(i); });
    }
}

// Parked beyond the screen's corner: out of sight also where no window manager minimizes it.
void HistoryWindow::load() {
    WindowTwips::setTop(*this, platform::screenHeightTwips());
    WindowTwips::setLeft(*this, platform::screenWidthTwips());
    storage::SettingsFile(files_).load(settings_); // the settings window shows them when opened
    if (settings_.pasteAfterPick)
        platform::prepareToPaste();
    savedSize_ = sizeFile_.load();
    storage::StoredHistory stored =
        storedHistory_.valid() ? storedHistory_.get() : historyFile_.read();
    if (stored.unreadable())
        historyUnreadable_ = stored.outcome.reason;
    history_.load(std::move(stored.records));
    captionBar_->setCaptionButtonHeight(
        std::max<int16_t>(settings_.iconHeight(), Settings::kSmallestIconHeight));
    showDisplay(settings_.isListMode());
    refreshViews();
    // Told once the program runs, so that the start itself is not held up by the message.
    if (const storage::WriteResult writable = storage::checkWritable(files_.startDirectory);
        !writable.written())
        QTimer::singleShot(
            0, this, [this, failure = writable.failure()] { reportUnwritableDirectory(failure); });
    takeCallKey();
    if (callKeyRefusal_) {
        std::fprintf(stderr, "kobako: %s\n", callKeyRefusal_->toLocal8Bit().constData());
        QTimer::singleShot(0, this, [this] { dialogs_.message(*callKeyRefusal_); });
    }
    if (historyUnreadable_) {
        QTimer::singleShot(0, this, &HistoryWindow::reportUnreadableHistory);
        return;
    }
    saver_ = new HistorySaver(
        historyFile_, [this] { return history_.textsToSave(); }, this);
}

void HistoryWindow::showAtStart() {
    presence_->handle(PresenceEvent::Started);
}

void HistoryWindow::reportUnwritableDirectory(const storage::WriteFailure &failure) {
    dialogs_.message(withFailure(tr("ディレクトリ「%1」にはファイルを書き込めません。\n理由: %2\n"
                                    "履歴はこのまま使えますが、保存はされません。"),
                                 failure));
}

void HistoryWindow::reportUnreadableHistory() {
    dialogs_.message(tr("ファイル「%1」を読み込めません。\n理由: %2\n"
                        "このファイルの履歴を守るため、今回は履歴を保存しません。")
                         .arg(QString::fromStdString(historyFile_.path()),
                              QString::fromLocal8Bit(historyUnreadable_->c_str())));
}

void HistoryWindow::showDisplay(bool list) {
    historyList_->setVisible(list);
    if (list && !slotsBuilt())
        return;
    setSlotsVisible(History::kSlotCount, !list);
}

void HistoryWindow::setSlotsVisible(int count, bool visible) {
    ensureSlots();
    for (int i = 0; i < count; ++i) {
        slotTexts_[i]->setVisible(visible);
        slotMarks_[i]->setVisible(visible);
    }
}

void HistoryWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layoutCaptionAndClient();
    fitDisplayToWindow();
}

void HistoryWindow::layoutCaptionAndClient() {
    captionBar_->setGeometry(0, 0, width(), captionBar_->height());
    client_->setGeometry(0, captionBar_->height(), width(),
                         std::max(0, height() - captionBar_->height()));
    edges_->place();
}

void HistoryWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        fitDisplayToWindow();
}

void HistoryWindow::fitDisplayToWindow() {
    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    if (settings_.isListMode()) {
        historyList_->move(0, 0);
        if (normal) {
            restoreSavedSize();
            placeFindField();
        }
        return;
    }
    if (normal)
        restoreSavedSize();
    applySlotLayout();
}

// The list takes the window's size; while finding, the field takes the foot of the client area
// and the list ends above it.
void HistoryWindow::placeFindField() {
    QLineEdit &field = finder_->field();
    if (!field.isVisibleTo(this))
        return historyList_->resize(width(), height());
    const int height = field.sizeHint().height();
    field.setGeometry(0, client_->height() - height, client_->width(), height);
    historyList_->resize(client_->width(), client_->height() - height);
}

void HistoryWindow::restoreSavedSize() {
    if (sizeRestored_)
        return;
    // A hand-edited file may ask for any size: never more than the screen's work area.
    const storage::SavedSize &saved = savedSize_.size;
    WindowTwips::setHeight(*this, std::min(saved.savedHeight, platform::screenHeightTwips()));
    WindowTwips::setWidth(*this, std::min(saved.savedWidth, platform::screenWidthTwips()));
    sizeRestored_ = true;
}

void HistoryWindow::applySlotLayout() {
    ensureSlots();
    const auto placements = layoutSlots({WindowTwips::width(*this), WindowTwips::height(*this),
                                         captionBar_->captionButtonHeight(), kCheckWidth},
                                        settings_, platform::storedTwips);
    using platform::toPixels;
    for (int i = 0; i < History::kSlotCount; ++i) {
        const SlotPlacement &slot = placements[i];
        if (slot.visible) {
            const QRect box(toPixels(slot.text.left), toPixels(slot.text.top),
                            std::max(0, toPixels(slot.text.width)),
                            std::max(0, toPixels(slot.text.height)));
            slotTexts_[i]->setGeometry(box);
            slotMarks_[i]->move(toPixels(slot.checkLeft), toPixels(slot.checkTop));
            const bool last = i + 1 == History::kSlotCount || !placements[i + 1].visible;
            fitScrollBars(*slotTexts_[i],
                          last ? box.height() : toPixels(placements[i + 1].text.top) - box.y());
        }
        slotTexts_[i]->setVisible(slot.visible);
        slotMarks_[i]->setVisible(slot.visible);
    }
}

// A slot's scroll bars only where they leave its first line whole in the part of it that shows
// (`shown` pixels from its top): a horizontal one below the line, a vertical one tall enough for
// its two arrows and a handle.
void HistoryWindow::fitScrollBars(QPlainTextEdit &slot, int shown) {
    const int line = 2 * slot.frameWidth() + 2 + slot.fontMetrics().lineSpacing();
    const int bar = slot.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &slot);
    slot.setHorizontalScrollBarPolicy(shown >= line + bar ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
    slot.setVerticalScrollBarPolicy(shown >= 3 * bar ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
}

void HistoryWindow::placeBy(PlacementKind kind) {
    const auto at = appearAt(settings_.appearPosition, kind, platform::screenWidthTwips(),
                             platform::screenHeightTwips(), WindowTwips::width(*this),
                             WindowTwips::height(*this));
    if (!at)
        return;
    WindowTwips::setTop(*this, at->top);
    WindowTwips::setLeft(*this, at->left);
}

void HistoryWindow::onClipboardChanged() {
    const ClipboardOrigin origin = clipboardReader_.origin();
    std::optional<size_t> taken;
    // While paused, not even a look at the clipboard.
    if (!history_.capturePaused()) {
        ClipboardChange change = clipboardReader_.takeChange();
        const size_t size = change.text ? change.text->size() : 0;
        if (history_.capture(std::move(change.text), origin, change.madeAt) ==
            CaptureOutcome::Stored)
            taken = size;
    }
    if (sayingChanges_ && origin == ClipboardOrigin::Elsewhere) {
        if (taken)
            std::fprintf(stderr, "kobako: a copy of %zu bytes taken in\n", *taken);
        else
            std::fprintf(stderr, "kobako: a clipboard change left alone\n");
    }
    if (!taken)
        return;
    refreshViews();
    presence_->handle(PresenceEvent::Captured);
}

void HistoryWindow::comeForward() {
    presence_->handle(PresenceEvent::SecondStart);
}

void HistoryWindow::summon() {
    if (platform::hasKeyboard(*this))
        return giveKeyboardBack();
    keyboardLentBy_ = platform::keyboardHolder();
    presence_->handle(PresenceEvent::Summoned);
    focusForTyping();
    if (sayingChanges_)
        std::fprintf(stderr, "kobako: called, with the keyboard\n");
}

// In the list, ready to find; among the slots, in the first one checked.
void HistoryWindow::focusForTyping() {
    if (settings_.isListMode())
        return historyList_->setFocus(Qt::OtherFocusReason);
    const auto &textSlots = history_.textSlots();
    const auto checked = std::ranges::find_if(textSlots, &Slot::marked);
    slotTexts_[checked == textSlots.end() ? 0 : checked - textSlots.begin()]->setFocus(
        Qt::OtherFocusReason);
}

// The window goes back out of sight when the key brought it.
void HistoryWindow::giveKeyboardBack() {
    finder_->stop();
    platform::giveKeyboardTo(std::exchange(keyboardLentBy_, 0));
    presence_->handle(PresenceEvent::KeyboardReturned);
}

// A pick by the keyboard, when the key took the keyboard from another program: it goes back
// there, and the pick is pasted once it has arrived.
void HistoryWindow::pasteWhereCalledFrom(const SharedText &picked) {
    if (keyboardLentBy_ == 0)
        return;
    giveKeyboardBack();
    pickWriter_.pasteOnceGivenBack(picked);
}

// The file is written again only when what it holds changed: a pick changes nothing in it.
void HistoryWindow::saveChanges() {
    if (saver_ && history_.revision() != savedRevision_)
        saver_->changed();
    savedRevision_ = history_.revision();
}

void HistoryWindow::refreshViews() {
    saveChanges();
    finder_->followHistory();
    listModel_->refresh();
    // The view shows the history's current entry; it keeps none of its own (with none, Qt would
    // make the first row current when the list takes the focus).
    const QModelIndex current = listModel_->index(history_.placeOfRow(history_.currentRow()));
    historyList_->setCurrentIndex(current);
    if (finder_->finding())
        historyList_->scrollTo(current);
    setShaded(historyList_, history_.listShaded());

    if (!slotsBuilt())
        return;
    updatingSlots_ = true;
    for (int i = 0; i < History::kSlotCount; ++i) {
        const Slot &slot = history_.textSlots()[i];
        QString shown = slotDisplayText(slot.text);
        if (shownSlotText_[i] != shown) {
            slotTexts_[i]->setPlainText(shown);
            slotTexts_[i]->setReadOnly(!isShownWhole(slot.text));
            shownSlotText_[i] = std::move(shown);
        }
        slotMarks_[i]->setChecked(slot.marked);
        setShaded(slotTexts_[i], slot.shaded);
    }
    updatingSlots_ = false;
}

// The pick-all shading: the button face instead of the window background. A new palette makes
// the widget repaint, so it is set only when the shading changes.
void HistoryWindow::setShaded(QWidget *display, bool shaded) const {
    const QColor colour = QWidget::palette().color(shaded ? QPalette::Button : QPalette::Base);
    if (display->palette().color(QPalette::Base) == colour)
        return;
    QPalette colours = display->palette();
    colours.setColor(QPalette::Base, colour);
    display->setPalette(colours);
}

void HistoryWindow::onSlotEdited(int index) {
    if (updatingSlots_)
        return;
    QString shown = slotTexts_[index]->document()->toRawText();
    history_.editSlot(
        index, slotTextFromEdit(shownSlotText_[index], shown, history_.textSlots()[index].text));
    shownSlotText_[index] = std::move(shown);
    saveChanges();
}

void HistoryWindow::onCaptionButton(platform::CaptionButton button) {
    using platform::CaptionButton;
    switch (button) {
    case CaptionButton::Settings:
        settingsWindow().open();
        break;
    case CaptionButton::Help:
        openHelp();
        break;
    case CaptionButton::Capture:
        toggleCapture();
        break;
    case CaptionButton::Exit:
        saveAndEnd(true);
        break;
    case CaptionButton::Minimize:
        presence_->handle(PresenceEvent::MinimizeButton);
        break;
    case CaptionButton::ClearAll:
        dialogs_.askYesNo(tr("全消去します"), [this](bool clear) {
            if (!clear)
                return;
            history_.clearAll();
            refreshViews();
        });
        break;
    }
}

void HistoryWindow::describeCaptionButtons() {
    using platform::CaptionButton;
    const std::pair<CaptionButton, QString> descriptions[] = {
        {CaptionButton::Settings, tr("設定")},
        {CaptionButton::Help, tr("ヘルプ")},
        {CaptionButton::Capture,
         history_.capturePaused() ? tr("取り込みの再開") : tr("取り込みの一時停止")},
        {CaptionButton::Exit, tr("保存して終了")},
        {CaptionButton::Minimize, tr("最小化")},
        {CaptionButton::ClearAll, tr("すべて消去")}};
    for (const auto &[button, description] : descriptions)
        captionBar_->describeButton(button, description);
}

void HistoryWindow::openHelp() {
    const QString path = helpFile(files_);
    if (path.isEmpty())
        return dialogs_.message(tr("ヘルプのファイルが見つかりません。"));
    dialogs_.openDocument(path, [this, path] {
        dialogs_.message(
            tr("ヘルプを開くプログラムが見つかりません。\nヘルプのファイル: %1").arg(path));
    });
}

void HistoryWindow::toggleCapture() {
    const bool pausing = !history_.capturePaused();
    history_.setCapturePaused(pausing);
    const QPixmap file(
        QString::fromStdString(files_.inStartDirectory(pausing ? "Trffc10c.ico" : "Trffc10a.ico")));
    // Without the picture file the state must still show: the lamp is drawn for it.
    captionBar_->setCaptureButtonPicture(pausing ? platform::CaptionPicture::TrafficLightRed
                                                 : platform::CaptionPicture::TrafficLightGreen,
                                         file);
    describeCaptionButtons();
}

// A size that was never applied is not one the user chose: the file keeps its values, and
// without a file the size written is the one the window would have taken.
storage::WriteResult HistoryWindow::saveSize() {
    if (sizeRestored_)
        return sizeFile_.save(WindowTwips::height(*this), WindowTwips::width(*this));
    if (savedSize_.found)
        return {};
    return sizeFile_.save(platform::storedTwips(savedSize_.size.savedHeight),
                          platform::storedTwips(savedSize_.size.savedWidth));
}

storage::WriteResult HistoryWindow::saveHistory() {
    if (historyUnreadable_)
        return storage::WriteFailure{historyFile_.path(),
                                     tr("起動時に読み込めなかったため、上書きしませんでした（%1）")
                                         .arg(QString::fromLocal8Bit(historyUnreadable_->c_str()))
                                         .toStdString()};
    if (saver_ && history_.revision() != savedRevision_)
        saver_->finishPending(); // an older save must not land after this one
    return historyFile_.save(history_.textsToSave());
}

void HistoryWindow::saveAndEnd(bool mayAsk) {
    if (mayAsk && askingToEnd_)
        return; // the question of the first request is still open
    std::vector<storage::WriteFailure> failures;
    for (const storage::WriteResult &saved : {saveSize(), saveHistory()})
        if (!saved.written())
            failures.push_back(saved.failure());
    if (!failures.empty()) {
        QString report;
        for (const storage::WriteFailure &failure : failures)
            report +=
                withFailure(tr("ファイル「%1」を保存できませんでした。\n理由: %2\n"), failure);
        if (mayAsk) {
            askingToEnd_ = true;
            dialogs_.askYesNo(report + tr("\n保存せずに終了しますか？"), [this](bool endAnyway) {
                askingToEnd_ = false;
                if (endAnyway)
                    end();
            });
            return;
        }
        std::cerr << report.toStdString();
    }
    end();
}

void HistoryWindow::end() {
    hide();
    QCoreApplication::exit(0);
}

// Made when first opened: until then it would only hold memory.
SettingsWindow &HistoryWindow::settingsWindow() {
    if (!settingsWindow_)
        settingsWindow_ = new SettingsWindow(settings_, *this, dialogs_, files_, this);
    return *settingsWindow_;
}

void HistoryWindow::keepInFront(bool inFront) {
    captionBar_->setAlwaysOnTop(inFront);
}

// A switch to the text slots that must stop leaves neither display shown until OK is pressed
// again: the list goes first.
std::optional<SettingsRefusal> HistoryWindow::applySettings(const CheckedNumbers &numbers) {
    captionBar_->setCaptionButtonHeight(numbers.iconHeight);
    layoutCaptionAndClient();
    const bool listMode = settings_.isListMode();
    if (listMode && !listShown()) {
        switchToList();
    } else if (!listMode) {
        const bool switching = !slotsShown();
        if (switching) {
            finder_->stop(); // the slots have no find field
            historyList_->setVisible(false);
        }
        if (auto refusal = checkTextSlotCount(settings_))
            return refusal;
        if (switching)
            showSlotsFromList();
    }
    // The value checked is the value used: 0.6 passed as 1 and must keep one entry.
    if (static_cast<size_t>(numbers.listMax) < history_.list().size()) {
        history_.trimList(static_cast<size_t>(numbers.listMax));
        refreshViews();
    }
    fitDisplayToWindow();
    return std::nullopt;
}

bool HistoryWindow::listShown() const {
    return historyList_->isVisibleTo(this);
}

bool HistoryWindow::slotsShown() const {
    return slotsBuilt() && slotTexts_[0]->isVisibleTo(this);
}

void HistoryWindow::switchToList() {
    historyList_->setGeometry(0, 0, width(), height());
    historyList_->setVisible(true);
    history_.copySlotsToList(history_.filledSlotCount());
    // All slots go, not only the filled ones: none may stay drawn over the list.
    if (slotsBuilt())
        setSlotsVisible(History::kSlotCount, false);
    refreshViews();
}

void HistoryWindow::showSlotsFromList() {
    const int count = usableSlotCount(settings_);
    history_.copyListToSlots(count);
    setSlotsVisible(count, true);
    refreshViews();
}

// The font the list is really drawn in (the requested family may be missing and stand in for
// the fallback), at its exact size: 10.5 pt stays 10.5.
QFont HistoryWindow::listFont() const {
    QFont font(QFontInfo(historyList_->font()).family());
    font.setPointSizeF(historyList_->font().pointSizeF());
    return font;
}

void HistoryWindow::applyFont(const QFont &font) {
    QFont chosen;
    chosen.setFamilies(font.families());
    chosen.setBold(font.bold());
    chosen.setItalic(font.italic());
    chosen.setUnderline(font.underline());
    chosen.setPointSizeF(font.pointSizeF());
    if (settings_.isListMode()) {
        historyList_->setFont(chosen);
        return;
    }
    // In text-box mode the number of slots is the list maximum: without a number, nothing changes.
    if (!parseNumber(settings_.listMaxText()))
        return;
    ensureSlots();
    for (int i = 0; i < usableSlotCount(settings_); ++i)
        slotTexts_[i]->setFont(chosen);
}

void HistoryWindow::takeCallKey() {
    callKeyRefusal_ = callKey_->take(QString::fromStdString(settings_.callKey()));
}

// A close request can wait for an answer, as the exit button does.
void HistoryWindow::closeEvent(QCloseEvent *event) {
    event->ignore();
    saveAndEnd(true);
}

} // namespace kobako::ui
