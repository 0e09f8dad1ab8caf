#include "clipboard.h"

#include "core/clipboard_offer.h"
#include "core/text_lines.h"
#include "platform/language.h"
#include "platform/transfer_budget.h"

#include "data_control.h"
#include "virtual_keyboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace kobako::platform {

namespace {

using Clock = std::chrono::steady_clock;

// The text types, in the order they are asked for; the program offers its picks as the UTF-8
// ones. STRING is Latin-1.
constexpr const char *kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
                                      "STRING", "TEXT"};
constexpr const char *kOfferedTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain",
                                         "TEXT"};
constexpr int kTickMs = 250;
constexpr size_t kPiece = 1 << 20;
// Each open transfer holds a pipe: a fixed number each way keeps the handles for the rest.
constexpr size_t kMostOpenCopies = 16;
constexpr size_t kMostPastes = 16;
// A program that pastes may read late or slowly; one that stays silent this long has gone.
constexpr std::chrono::seconds kPasteSilence{60};
// A question to the compositor unanswered this long is asked again: a connection the compositor
// has marked broken is closed only when the compositor next hears from it.
constexpr std::chrono::milliseconds kUnanswered{1000};
// A connection dropped again and again (a copy the compositor cannot send) is made again less
// and less often.
constexpr std::chrono::milliseconds kFirstRetry{100};
constexpr std::chrono::milliseconds kLongestRetry{2000};

} // namespace

// The connection to the compositor and the thread that serves it.
class WaylandClipboard::Session final : DataControlEvents {
  public:
    explicit Session(XCopies *xCopies);
    ~Session();
    bool connect();
    void start() {
        thread_ = std::thread([this] { run(); });
    }
    const DataControlProtocol *protocol() const { return protocol_; }

    void setListener(Listener listener);
    void whenLost(std::function<void()> lost);
    bool types() const { return types_; }

    // What the window's thread asks for: a pick offered as the clipboard's, one pasted, or the
    // keyboard that types the pastes.
    struct Pick {
        enum class Kind { Offer, Paste, MakeKeyboard } kind = Kind::Offer;
        std::optional<SharedText> text;
    };
    // From the window's thread: the thread that owns the connection carries it out.
    void ask(Pick pick);

  private:
    void onDataOffer(void *offer) override;
    void onOfferType(void *offer, const char *type) override;
    void onSelection(void *offer) override;
    void onPrimarySelection(void *offer) override;
    void onFinished() override;
    void onSend(void *source, const char *type, int fd) override;
    void onCancelled(void *source) override;

    // A pipe the compositor hands to the owner of a copy, read as the owner writes.
    struct Incoming {
        int fd = -1;
        std::string bytes;
        size_t limit = 0;
        bool open() const { return fd >= 0; }
    };
    // One copy, from the compositor's selection event until its text is known.
    struct Fetch {
        uint64_t id = 0;
        void *offer = nullptr;
        Clock::time_point announced = Clock::now();
        Clock::time_point lastHeard = announced;
        const char *textType = nullptr;
        Incoming text;
        Incoming mark;
        TransferBudget::Share share;
        MarkEvidence evidence;
        bool tooLarge = false;
        bool overBudget = false;
        bool askedOrigin = false; // of the X display beside the compositor
        std::optional<XCopies::Origin> origin;
        bool done = false;
        std::optional<std::string> result;
        bool reading() const { return text.open() || mark.open(); }
    };
    // A pick handed to a program that pastes it, as far as it has taken it.
    struct Outgoing {
        int fd;
        SharedText text;
        size_t written = 0;
        Clock::time_point lastHeard = Clock::now();
    };
    // What the X display's thread hands over; it may answer after this session has ended.
    struct Inbox {
        std::mutex mutex;
        bool open = true;
        int wake = -1;
        std::vector<std::pair<uint64_t, XCopies::Origin>> origins;
        void post(const char *why) { [[maybe_unused]] const auto woken = write(wake, why, 1); }
    };

    void run();
    void serve();
    bool serveDisplay(short events);
    void takeInbox();
    void startFetch(void *offer);
    void giveUp(Fetch &fetch);
    bool receive(Fetch &fetch, Incoming &into, const char *type, size_t limit);
    bool readSome(Fetch &fetch, Incoming &from);
    void decide(Fetch &fetch);
    void finish(Fetch &fetch);
    void writeSome(Outgoing &outgoing);
    void setSelection(std::optional<SharedText> text);
    void *sourceOf(SharedText text);
    void makeKeyboard();
    void typePaste(SharedText text);
    void checkAlive();
    void dropStale();
    void cut();
    void disconnect();
    void lose();

    XCopies *const xCopies_;
    std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();

    wl_display *display_ = nullptr;
    wl_registry *registry_ = nullptr;
    wl_seat *seat_ = nullptr;
    void *manager_ = nullptr;
    void *device_ = nullptr;
    const DataControlProtocol *protocol_ = nullptr;
    bool setsPrimary_ = false; // the manager was bound at a version that sets it
    // Made once pastes are wanted, a while before the first: a seat that had no keyboard gains
    // one, which the programs bind only as they hear of it (keystrokes sent before are lost).
    std::unique_ptr<VirtualKeyboard> keyboard_;
    std::optional<uint32_t> keyboardManager_; // its name, where the compositor offers one
    std::atomic<bool> types_ = false;
    bool keyboardRefused_ = false; // the compositor dropped the connection over it
    std::string ownType_;          // the type only this program's offers carry
    std::set<wl_callback *> syncs_;
    Clock::time_point lastSync_;
    bool needsSync_ = false;
    bool deviceFinished_ = false; // the compositor ended the data control

    // A connection dropped is made again from this moment on, and said once until it holds.
    std::optional<Clock::time_point> reconnectAt_;
    std::chrono::milliseconds retry_ = kFirstRetry;
    bool reconnecting_ = false;
    // The pick that was the clipboard's when the connection dropped, offered again if the
    // clipboard was left empty.
    std::optional<SharedText> pickToRestore_;

    std::map<void *, std::vector<std::string>> offerTypes_; // offers announced, by their types
    std::deque<Fetch> fetches_;
    uint64_t nextFetch_ = 1;
    std::map<void *, SharedText> sources_; // the program's offers still current
    std::vector<Outgoing> outgoing_;

    ChangeReports reports_;
    std::mutex mutex_; // guards what the other threads hand over: below
    std::function<void()> lost_;
    std::vector<Pick> picks_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> quitting_ = false;
    std::thread thread_;

    friend struct SyncListener;
};

namespace {

struct Globals {
    std::map<std::string, std::pair<uint32_t, uint32_t>> offered; // name and version, by interface
};

const wl_registry_listener kRegistryListener = {
    [](void *data, wl_registry *, uint32_t name, const char *interface, uint32_t version) {
        static_cast<Globals *>(data)->offered.emplace(interface, std::pair(name, version));
    },
    [](void *, wl_registry *, uint32_t) {}};

void closeFd(int &fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// The interface the compositor ended the connection over, when it was a protocol error.
const wl_interface *failedInterface(wl_display *display, uint32_t *code = nullptr) {
    const wl_interface *interface = nullptr;
    if (wl_display_get_error(display) == EPROTO) {
        const uint32_t error = wl_display_get_protocol_error(display, &interface, nullptr);
        if (code)
            *code = error;
    }
    return interface;
}

// Why the compositor's connection ended, in a few words.
std::string whyCut(wl_display *display) {
    const int error = wl_display_get_error(display);
    if (error == EPROTO) {
        uint32_t code = 0;
        const wl_interface *interface = failedInterface(display, &code);
        return "protocol error " + std::to_string(code) + " on " +
               (interface ? interface->name : "the display");
    }
    return std::strerror(error ? error : EPIPE);
}

bool isOneOf(const std::string &type, const auto &types) {
    return std::any_of(std::begin(types), std::end(types),
                       [&](const char *known) { return type == known; });
}

} // namespace

struct SyncListener {
    static void done(void *data, wl_callback *callback, uint32_t) {
        static_cast<WaylandClipboard::Session *>(data)->syncs_.erase(callback);
        wl_callback_destroy(callback);
    }
};
const wl_callback_listener kSyncListener = {&SyncListener::done};

WaylandClipboard::Session::Session(XCopies *xCopies) : xCopies_(xCopies) {
    std::random_device random;
    ownType_ =
        "application/x-kobako-pick-" + std::to_string(getpid()) + "-" + std::to_string(random());
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_[0] = wake_[1] = -1;
    inbox_->wake = wake_[1];
    if (xCopies_)
        xCopies_->whenJudged([inbox = inbox_] {
            std::lock_guard lock(inbox->mutex);
            if (inbox->open)
                inbox->post("j");
        });
    // A program that pastes and closes its end early must not end this one.
    std::signal(SIGPIPE, SIG_IGN);
}

bool WaylandClipboard::Session::connect() {
    if (wake_[0] < 0)
        return false;
    display_ = wl_display_connect(nullptr);
    if (!display_)
        return false;
    Globals globals;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, &globals);
    const bool answered = wl_display_roundtrip(display_) >= 0;
    const auto seat = globals.offered.find("wl_seat");
    if (!answered || seat == globals.offered.end()) {
        disconnect();
        return false;
    }
    protocol_ = nullptr;
    for (const DataControlProtocol *protocol : kDataControlProtocols) {
        const auto manager = globals.offered.find(protocol->name);
        if (manager == globals.offered.end())
            continue;
        protocol_ = protocol;
        const auto [name, version] = manager->second;
        setsPrimary_ = version >= protocol->primaryVersion;
        manager_ = wl_registry_bind(registry_, name, protocol->manager,
                                    std::min(version, protocol->primaryVersion));
        break;
    }
    if (!protocol_) {
        disconnect();
        return false;
    }
    seat_ = static_cast<wl_seat *>(
        wl_registry_bind(registry_, seat->second.first, &wl_seat_interface, 1));
    const auto keyboardManager = globals.offered.find(VirtualKeyboard::kManagerName);
    keyboardManager_.reset();
    if (keyboardManager != globals.offered.end() && !keyboardRefused_)
        keyboardManager_ = keyboardManager->second.first;
    types_ = keyboardManager_.has_value();
    // The clipboard as it stands comes as the first events: the compositor may drop the
    // connection while sending them, which the served connection then notices.
    device_ = protocol_->getDevice(manager_, seat_);
    protocol_->listenToDevice(device_, this);
    deviceFinished_ = false;
    wl_display_flush(display_);
    return true;
}

WaylandClipboard::Session::~Session() {
    if (thread_.joinable()) {
        quitting_ = true;
        [[maybe_unused]] const auto woken = write(wake_[1], "q", 1);
        thread_.join();
    }
    {
        std::lock_guard lock(inbox_->mutex);
        inbox_->open = false;
    }
    for (Fetch &fetch : fetches_)
        finish(fetch);
    for (Outgoing &outgoing : outgoing_)
        closeFd(outgoing.fd);
    disconnect();
    for (int &fd : wake_)
        closeFd(fd);
}

// The protocol objects go with the connection; the transfers under way go on, since their pipes
// do not depend on it.
void WaylandClipboard::Session::disconnect() {
    if (!display_)
        return;
    for (Fetch &fetch : fetches_)
        if (fetch.offer)
            protocol_->destroyOffer(std::exchange(fetch.offer, nullptr));
    for (auto &[offer, types] : offerTypes_)
        protocol_->destroyOffer(offer);
    offerTypes_.clear();
    for (auto &[source, text] : sources_)
        protocol_->destroySource(source);
    sources_.clear();
    for (wl_callback *sync : syncs_)
        wl_callback_destroy(sync);
    syncs_.clear();
    keyboard_.reset();
    if (device_)
        protocol_->destroyDevice(std::exchange(device_, nullptr));
    if (manager_)
        protocol_->destroyManager(std::exchange(manager_, nullptr));
    if (seat_)
        wl_seat_destroy(std::exchange(seat_, nullptr));
    if (registry_)
        wl_registry_destroy(std::exchange(registry_, nullptr));
    wl_display_disconnect(std::exchange(display_, nullptr));
}

// The compositor dropped the connection: said once, and made again a moment later.
void WaylandClipboard::Session::cut() {
    if (!reconnecting_)
        std::fprintf(stderr,
                     japaneseWanted()
                         ? "kobako: コンポジターとのクリップボードの接続が切れました（%s）。"
                           "つなぎ直します。\n"
                         : "kobako: the compositor dropped the clipboard connection (%s); "
                           "connecting again.\n",
                     deviceFinished_ ? "data control finished" : whyCut(display_).c_str());
    reconnecting_ = true;
    // A compositor that refuses programs a keyboard of their own says so by dropping them.
    const wl_interface *failed = failedInterface(display_);
    if (failed && std::strncmp(failed->name, "zwp_virtual_keyboard", 20) == 0) {
        keyboardRefused_ = true;
        types_ = false;
    }
    if (!sources_.empty())
        pickToRestore_ = sources_.rbegin()->second;
    disconnect();
    reconnectAt_ = Clock::now() + retry_;
    retry_ = std::min(retry_ * 2, kLongestRetry);
}

void WaylandClipboard::Session::setListener(Listener listener) {
    reports_.setListener(std::move(listener));
}

void WaylandClipboard::Session::whenLost(std::function<void()> lost) {
    std::lock_guard lock(mutex_);
    lost_ = std::move(lost);
}

// From the window's thread: the thread that owns the connection sets the selection.
void WaylandClipboard::Session::ask(Pick pick) {
    {
        std::lock_guard lock(mutex_);
        picks_.push_back(std::move(pick));
    }
    [[maybe_unused]] const auto woken = write(wake_[1], "p", 1);
}

// Only the types the program can use are kept: an offer of thousands of types costs nothing.
void WaylandClipboard::Session::onDataOffer(void *offer) {
    offerTypes_[offer];
    protocol_->listenToOffer(offer, this);
    needsSync_ = true;
}

void WaylandClipboard::Session::onOfferType(void *offer, const char *type) {
    const std::string offered(type);
    if (isOneOf(offered, kTextTypes) || offered == kSecretMarkType || offered == ownType_)
        offerTypes_[offer].push_back(offered);
}

void WaylandClipboard::Session::onSelection(void *offer) {
    needsSync_ = true;
    // The connection holds: a connection made again is said to hold once it is served.
    retry_ = kFirstRetry;
    if (std::exchange(reconnecting_, false))
        std::fputs(japaneseWanted() ? "kobako: コンポジターのクリップボードにつなぎ直しました。\n"
                                    : "kobako: connected to the compositor's clipboard again.\n",
                   stderr);
    std::optional<SharedText> restore = std::exchange(pickToRestore_, std::nullopt);
    if (!offer) { // the clipboard was emptied
        if (restore)
            return setSelection(std::move(restore));
        Fetch &fetch = fetches_.emplace_back();
        fetch.done = true;
        return;
    }
    startFetch(offer);
}

// Only the regular clipboard is watched.
void WaylandClipboard::Session::onPrimarySelection(void *offer) {
    if (!offer)
        return;
    offerTypes_.erase(offer);
    protocol_->destroyOffer(offer);
}

// The connection is made again once the events at hand are dispatched.
void WaylandClipboard::Session::onFinished() {
    deviceFinished_ = true;
}

// The mark (when listed) and the text are asked of the same offer at once: no later copy can
// answer for them. Beside an X display, where the copy comes from is asked too.
void WaylandClipboard::Session::startFetch(void *offer) {
    const std::vector<std::string> types = std::move(offerTypes_[offer]);
    offerTypes_.erase(offer);
    if (std::find(types.begin(), types.end(), ownType_) != types.end()) {
        protocol_->destroyOffer(offer); // the program's own pick
        return;
    }
    Fetch &fetch = fetches_.emplace_back();
    fetch.id = nextFetch_++;
    fetch.offer = offer;
    for (const char *type : kTextTypes) {
        if (std::find(types.begin(), types.end(), type) != types.end()) {
            fetch.textType = type;
            break;
        }
    }
    fetch.evidence.listed = std::find(types.begin(), types.end(), kSecretMarkType) != types.end();
    if (!fetch.textType) { // an image, files: no text to keep
        finish(fetch);
        return;
    }
    // The oldest copy still unanswered is given up for this one.
    if (std::count_if(fetches_.begin(), fetches_.end(), [](const Fetch &f) {
            return f.reading();
        }) >= static_cast<std::ptrdiff_t>(kMostOpenCopies))
        giveUp(*std::find_if(fetches_.begin(), fetches_.end(),
                             [](const Fetch &f) { return f.reading(); }));
    if (xCopies_) {
        fetch.askedOrigin = true;
        xCopies_->askOrigin([inbox = inbox_, id = fetch.id](XCopies::Origin origin) {
            std::lock_guard lock(inbox->mutex);
            if (!inbox->open)
                return;
            inbox->origins.emplace_back(id, origin);
            inbox->post("o");
        });
    }
    // A mark that cannot be asked for is never read, and counts as secret.
    if (*fetch.evidence.listed)
        receive(fetch, fetch.mark, std::string(kSecretMarkType).c_str(), kLongestMark);
    if (!receive(fetch, fetch.text, fetch.textType, kLargestText))
        return finish(fetch);
    wl_display_flush(display_);
}

bool WaylandClipboard::Session::receive(Fetch &fetch, Incoming &into, const char *type,
                                        size_t limit) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    protocol_->receive(fetch.offer, type, ends[1]);
    close(ends[1]);
    into.fd = ends[0];
    into.limit = limit;
    return true;
}

// Reads what the owner has written so far, a few MiB at the most so that an owner writing
// without pause leaves the others their turn; false once the pipe is closed. The text's buffer
// grows only where the budget has room.
bool WaylandClipboard::Session::readSome(Fetch &fetch, Incoming &from) {
    char buffer[64 * 1024];
    const bool isText = &from == &fetch.text;
    for (int turn = 0; turn < 64; ++turn) {
        if (isText) {
            const auto growth = fetch.share.makeRoom(
                from.bytes, std::min(sizeof buffer, from.limit - from.bytes.size()));
            if (growth == TransferBudget::Growth::Wait)
                return true; // once a larger transfer has gone
            if (growth == TransferBudget::Growth::Drop) {
                fetch.overBudget = true;
                closeFd(from.fd);
                return false;
            }
        }
        const ssize_t got = read(from.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return true;
        if (got <= 0) {
            closeFd(from.fd);
            return false;
        }
        fetch.lastHeard = Clock::now();
        const auto size = static_cast<size_t>(got);
        if (from.bytes.size() + size > from.limit) {
            if (isText) {
                fetch.tooLarge = true; // dropped at once
                closeFd(from.fd);
                return false;
            }
            // A long mark is let through; its start is kept.
            from.bytes.append(buffer, from.limit - from.bytes.size());
            continue;
        }
        from.bytes.append(buffer, size);
    }
    return true;
}

// A mark read empty was offered but not sent: it counts as secret. Beside an X display, an X
// program's copy is the X11 reader's: left alone here when that reader kept it out, or took in
// this same text.
void WaylandClipboard::Session::decide(Fetch &fetch) {
    if (fetch.done)
        return;
    if (fetch.evidence.listed == true && !fetch.mark.open() &&
        fetch.evidence.answer == MarkEvidence::Answer::Pending) {
        fetch.evidence.answer =
            fetch.mark.bytes.empty() ? MarkEvidence::Answer::Refused : MarkEvidence::Answer::Read;
        fetch.evidence.value = fetch.mark.bytes;
    }
    const MarkVerdict verdict = judgeMark(fetch.evidence, true);
    if (verdict == MarkVerdict::Secret || fetch.tooLarge || fetch.overBudget ||
        fetch.share.dropped())
        return finish(fetch);
    std::optional<XCopies::Verdict> onX;
    if (fetch.askedOrigin) {
        if (!fetch.origin)
            return;
        if (fetch.origin->source == XCopies::Origin::Source::OwnWindows)
            return finish(fetch); // read through the window toolkit
        if (fetch.origin->source == XCopies::Origin::Source::XProgram) {
            onX = xCopies_->verdict(fetch.origin->change);
            if (!onX)
                return;
            if (!onX->kept)
                return finish(fetch);
        }
    }
    if (fetch.text.open() || verdict == MarkVerdict::Undecided)
        return;
    std::string &bytes = fetch.text.bytes;
    std::string text = std::string(fetch.textType) == "STRING" ? latin1ToUtf8(bytes)
                                                               : toValidUtf8(std::move(bytes));
    // Different, the copy is a Wayland program's made while the X program's was still shown.
    if (!onX || std::hash<std::string>{}(text) != onX->textHash)
        fetch.result = std::move(text);
    finish(fetch);
}

void WaylandClipboard::Session::finish(Fetch &fetch) {
    if (fetch.done)
        return;
    if (fetch.tooLarge)
        sayTooLarge();
    if (fetch.overBudget || fetch.share.dropped())
        sayOverBudget();
    closeFd(fetch.text.fd);
    closeFd(fetch.mark.fd);
    fetch.text.bytes = std::string();
    fetch.mark.bytes = std::string();
    fetch.share.holding(fetch.text.bytes);
    if (fetch.offer && display_)
        protocol_->destroyOffer(fetch.offer);
    fetch.offer = nullptr;
    fetch.done = true;
}

// A copy whose owner stopped writing, or that a newer one pushes out: a text cut short is no
// text, and a mark never sent counts as secret.
void WaylandClipboard::Session::giveUp(Fetch &fetch) {
    if (fetch.mark.open())
        fetch.evidence.answer = MarkEvidence::Answer::Lost;
    if (fetch.text.open())
        fetch.text.bytes.clear();
    finish(fetch);
}

// A program pastes one of the program's picks: it is written as the program reads it. The
// program that has waited longest without reading makes room for it.
void WaylandClipboard::Session::onSend(void *source, const char *type, int fd) {
    needsSync_ = true;
    const auto found = sources_.find(source);
    if (found == sources_.end() || !isOneOf(type, kOfferedTypes)) {
        close(fd); // the type that marks the program's own offers carries nothing
        return;
    }
    if (outgoing_.size() >= kMostPastes) {
        const auto idlest = std::min_element(
            outgoing_.begin(), outgoing_.end(),
            [](const Outgoing &a, const Outgoing &b) { return a.lastHeard < b.lastHeard; });
        closeFd(idlest->fd);
        outgoing_.erase(idlest);
    }
    fcntl(fd, F_SETFL, O_NONBLOCK);
    outgoing_.push_back({fd, found->second});
}

// Another program's copy took the clipboard: the program's offer is done with (what is being
// pasted from it still is written).
void WaylandClipboard::Session::onCancelled(void *source) {
    needsSync_ = true;
    sources_.erase(source);
    protocol_->destroySource(source);
}

void WaylandClipboard::Session::writeSome(Outgoing &outgoing) {
    const std::string &text = outgoing.text.str();
    while (outgoing.written < text.size()) {
        const size_t piece = std::min(kPiece, text.size() - outgoing.written);
        const ssize_t put = write(outgoing.fd, text.data() + outgoing.written, piece);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno == EAGAIN)
            return;
        if (put <= 0)
            break; // the program that pastes went away
        outgoing.written += static_cast<size_t>(put);
        outgoing.lastHeard = Clock::now();
    }
    closeFd(outgoing.fd);
}

void WaylandClipboard::Session::setSelection(std::optional<SharedText> text) {
    protocol_->setSelection(device_, text ? sourceOf(std::move(*text)) : nullptr);
}

void *WaylandClipboard::Session::sourceOf(SharedText text) {
    void *source = protocol_->createSource(manager_);
    protocol_->listenToSource(source, this);
    for (const char *type : kOfferedTypes)
        protocol_->offerType(source, type);
    protocol_->offerType(source, ownType_.c_str());
    sources_.emplace(source, std::move(text));
    return source;
}

void WaylandClipboard::Session::makeKeyboard() {
    if (!keyboard_ && keyboardManager_)
        keyboard_ = VirtualKeyboard::create(registry_, *keyboardManager_, seat_);
}

// The text goes on the primary selection too, which terminals paste by Shift+Insert; on the same
// connection before the keystroke, so that the compositor has it when the keystroke arrives.
void WaylandClipboard::Session::typePaste(SharedText text) {
    makeKeyboard();
    if (!keyboard_)
        return;
    if (setsPrimary_)
        protocol_->setPrimarySelection(device_, sourceOf(std::move(text)));
    keyboard_->typePaste();
}

// A compositor that could not send an event (an offer of too many types) marks the connection
// broken but closes it only when it next hears from it: after events it is asked to answer, and
// asked again while no answer comes, so that a break shows at once rather than as silence.
void WaylandClipboard::Session::checkAlive() {
    const auto now = Clock::now();
    if (!std::exchange(needsSync_, false) && (syncs_.empty() || now - lastSync_ < kUnanswered))
        return;
    wl_callback *sync = wl_display_sync(display_);
    wl_callback_add_listener(sync, &kSyncListener, this);
    syncs_.insert(sync);
    lastSync_ = now;
}

// Owners that stop writing are given up on, and so are programs that stop pasting.
void WaylandClipboard::Session::dropStale() {
    const auto now = Clock::now();
    for (Fetch &fetch : fetches_)
        if (ownerOverdue(now, fetch))
            giveUp(fetch);
    for (Outgoing &outgoing : outgoing_)
        if (now - outgoing.lastHeard > kPasteSilence)
            closeFd(outgoing.fd);
    std::erase_if(outgoing_, [](const Outgoing &outgoing) { return outgoing.fd < 0; });
}

void WaylandClipboard::Session::lose() {
    std::function<void()> lost;
    {
        std::lock_guard lock(mutex_);
        lost = std::exchange(lost_, nullptr);
    }
    quitting_ = true;
    types_ = false; // nothing serves the pastes any more
    if (lost)
        lost();
}

// Reads and dispatches the compositor's events; false once the connection is gone.
bool WaylandClipboard::Session::serveDisplay(short events) {
    if (events & POLLIN) {
        if (wl_display_read_events(display_) < 0)
            return false;
    } else {
        wl_display_cancel_read(display_);
    }
    return wl_display_dispatch_pending(display_) >= 0;
}

void WaylandClipboard::Session::takeInbox() {
    char drained[64];
    while (read(wake_[0], drained, sizeof drained) > 0) {
    }
    std::vector<std::pair<uint64_t, XCopies::Origin>> origins;
    {
        std::lock_guard lock(inbox_->mutex);
        origins.swap(inbox_->origins);
    }
    for (const auto &[id, origin] : origins)
        for (Fetch &fetch : fetches_)
            if (fetch.id == id)
                fetch.origin = origin;
    if (!display_)
        return; // the picks wait for the connection
    std::vector<Pick> picks;
    {
        std::lock_guard lock(mutex_);
        picks.swap(picks_);
    }
    for (Pick &pick : picks) {
        switch (pick.kind) {
        case Pick::Kind::Offer:
            pickToRestore_.reset();
            setSelection(std::move(pick.text));
            break;
        case Pick::Kind::Paste:
            typePaste(std::move(*pick.text));
            break;
        case Pick::Kind::MakeKeyboard:
            makeKeyboard();
            break;
        }
    }
}

void WaylandClipboard::Session::run() {
    while (!quitting_) {
        if (!display_ && reconnectAt_ && Clock::now() >= *reconnectAt_) {
            reconnectAt_.reset();
            if (!connect())
                return lose(); // no compositor any more
            takeInbox();       // the picks made meanwhile
        }
        serve();
    }
}

// One turn: the compositor's events (while connected), the transfers each way, the deadlines.
void WaylandClipboard::Session::serve() {
    std::vector<pollfd> watched = {{-1, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    int timeout = kTickMs;
    if (display_) {
        while (wl_display_prepare_read(display_) != 0) {
            if (wl_display_dispatch_pending(display_) < 0)
                return cut();
        }
        checkAlive();
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            return cut();
        }
        watched[0].fd = wl_display_get_fd(display_);
    } else if (reconnectAt_) {
        timeout = static_cast<int>(std::clamp<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(*reconnectAt_ - Clock::now())
                .count(),
            0, kTickMs));
    }
    for (const Fetch &fetch : fetches_)
        for (const Incoming *incoming : {&fetch.text, &fetch.mark})
            if (incoming->open())
                watched.push_back({incoming->fd, POLLIN, 0});
    for (const Outgoing &outgoing : outgoing_)
        watched.push_back({outgoing.fd, POLLOUT, 0});
    if (poll(watched.data(), watched.size(), timeout) < 0 && errno != EINTR) {
        if (display_)
            wl_display_cancel_read(display_);
        return lose();
    }
    if (display_ && (!serveDisplay(watched[0].revents) || deviceFinished_))
        cut();
    if (watched[1].revents & POLLIN)
        takeInbox();
    for (Fetch &fetch : fetches_) {
        for (Incoming *incoming : {&fetch.text, &fetch.mark})
            if (incoming->open())
                readSome(fetch, *incoming);
        decide(fetch);
    }
    for (Outgoing &outgoing : outgoing_)
        if (outgoing.fd >= 0)
            writeSome(outgoing);
    dropStale();
    reportInOrder(fetches_, reports_);
}

std::unique_ptr<WaylandClipboard> WaylandClipboard::open(XCopies *xCopies) {
    if (!std::getenv("WAYLAND_DISPLAY"))
        return nullptr;
    auto session = std::make_unique<Session>(xCopies);
    if (!session->connect())
        return nullptr;
    session->start();
    return std::unique_ptr<WaylandClipboard>(new WaylandClipboard(std::move(session)));
}

WaylandClipboard::WaylandClipboard(std::unique_ptr<Session> session)
    : session_(std::move(session)) {}

WaylandClipboard::~WaylandClipboard() = default;

void WaylandClipboard::setListener(Listener listener) {
    session_->setListener(std::move(listener));
}

void WaylandClipboard::whenLost(std::function<void()> lost) {
    session_->whenLost(std::move(lost));
}

void WaylandClipboard::offer(std::optional<SharedText> text) {
    session_->ask({Session::Pick::Kind::Offer, std::move(text)});
}

bool WaylandClipboard::types() const {
    return session_->types();
}

void WaylandClipboard::paste(SharedText text) {
    session_->ask({Session::Pick::Kind::Paste, std::move(text)});
}

void WaylandClipboard::prepareTyping() {
    session_->ask({Session::Pick::Kind::MakeKeyboard, std::nullopt});
}

std::string WaylandClipboard::describe() const {
    return std::string("Wayland data control (") + session_->protocol()->name + ")";
}

} // namespace kobako::platform
