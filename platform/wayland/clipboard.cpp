#include "clipboard.h"

#include "core/clipboard_offer.h"
#include "core/text_lines.h"

#include "data_control.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <deque>
#include <map>
#include <mutex>
#include <random>
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

} // namespace

// One connection to the compositor and the thread that serves it.
class WaylandClipboard::Session final : DataControlEvents {
  public:
    ~Session();
    bool connect();
    void start() {
        thread_ = std::thread([this] { run(); });
    }
    const DataControlProtocol *protocol() const { return protocol_; }

    void setListener(Listener listener);
    void whenLost(std::function<void()> lost);
    void offer(std::optional<SharedText> text);

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
        bool over = false;
        bool open() const { return fd >= 0; }
    };
    // One copy, from the compositor's selection event until its text is known.
    struct Fetch {
        void *offer = nullptr;
        Clock::time_point announced = Clock::now();
        Clock::time_point lastHeard = announced;
        const char *textType = nullptr;
        Incoming text;
        Incoming mark;
        MarkEvidence evidence;
        bool tooLarge = false;
        bool done = false;
        std::optional<std::string> result;
    };
    // A pick handed to a program that pastes it, as far as it has taken it.
    struct Outgoing {
        int fd;
        SharedText text;
        size_t written = 0;
        Clock::time_point lastHeard = Clock::now();
    };

    void run();
    bool serveDisplay(short events);
    void startFetch(void *offer);
    bool receive(Fetch &fetch, Incoming &into, const char *type, size_t limit);
    bool readSome(Fetch &fetch, Incoming &from);
    void decide(Fetch &fetch);
    void finish(Fetch &fetch);
    void writeSome(Outgoing &outgoing);
    void setSelection(std::optional<SharedText> text);
    void dropStale();
    void lose();

    wl_display *display_ = nullptr;
    wl_registry *registry_ = nullptr;
    wl_seat *seat_ = nullptr;
    void *manager_ = nullptr;
    void *device_ = nullptr;
    const DataControlProtocol *protocol_ = nullptr;
    std::string ownType_; // the type only this program's offers carry

    std::map<void *, std::vector<std::string>> offerTypes_; // offers announced, by their types
    std::deque<Fetch> fetches_;
    std::map<void *, SharedText> sources_; // the program's offers still current
    std::vector<Outgoing> outgoing_;

    ChangeReports reports_;
    std::mutex mutex_; // guards what the other threads hand over: below
    std::function<void()> lost_;
    std::vector<std::optional<SharedText>> picks_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> quitting_ = false;
    std::thread thread_;
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

} // namespace

bool WaylandClipboard::Session::connect() {
    display_ = wl_display_connect(nullptr);
    if (!display_)
        return false;
    Globals globals;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, &globals);
    if (wl_display_roundtrip(display_) < 0)
        return false;
    const auto seat = globals.offered.find("wl_seat");
    if (seat == globals.offered.end())
        return false;
    for (const DataControlProtocol *protocol : kDataControlProtocols) {
        const auto manager = globals.offered.find(protocol->name);
        if (manager == globals.offered.end())
            continue;
        protocol_ = protocol;
        manager_ = wl_registry_bind(registry_, manager->second.first, protocol->manager, 1);
        break;
    }
    if (!protocol_)
        return false;
    seat_ = static_cast<wl_seat *>(
        wl_registry_bind(registry_, seat->second.first, &wl_seat_interface, 1));
    device_ = protocol_->getDevice(manager_, seat_);
    protocol_->listenToDevice(device_, this);
    std::random_device random;
    ownType_ =
        "application/x-kobako-pick-" + std::to_string(getpid()) + "-" + std::to_string(random());
    // A program that pastes and closes its end early must not end this one.
    std::signal(SIGPIPE, SIG_IGN);
    return pipe2(wake_, O_CLOEXEC | O_NONBLOCK) == 0 && wl_display_roundtrip(display_) >= 0;
}

WaylandClipboard::Session::~Session() {
    if (thread_.joinable()) {
        quitting_ = true;
        [[maybe_unused]] const auto woken = write(wake_[1], "q", 1);
        thread_.join();
    }
    for (Fetch &fetch : fetches_)
        finish(fetch);
    for (Outgoing &outgoing : outgoing_)
        closeFd(outgoing.fd);
    if (display_) {
        for (auto &[source, text] : sources_)
            protocol_->destroySource(source);
        for (auto &[offer, types] : offerTypes_)
            protocol_->destroyOffer(offer);
        if (device_)
            protocol_->destroyDevice(device_);
        if (manager_)
            protocol_->destroyManager(manager_);
        if (seat_)
            wl_seat_destroy(seat_);
        if (registry_)
            wl_registry_destroy(registry_);
        wl_display_disconnect(display_);
    }
    for (int &fd : wake_)
        closeFd(fd);
}

void WaylandClipboard::Session::setListener(Listener listener) {
    reports_.setListener(std::move(listener));
}

void WaylandClipboard::Session::whenLost(std::function<void()> lost) {
    std::lock_guard lock(mutex_);
    lost_ = std::move(lost);
}

// From the window's thread: the thread that owns the connection sets the selection.
void WaylandClipboard::Session::offer(std::optional<SharedText> text) {
    {
        std::lock_guard lock(mutex_);
        picks_.push_back(std::move(text));
    }
    [[maybe_unused]] const auto woken = write(wake_[1], "p", 1);
}

void WaylandClipboard::Session::onDataOffer(void *offer) {
    offerTypes_[offer];
    protocol_->listenToOffer(offer, this);
}

void WaylandClipboard::Session::onOfferType(void *offer, const char *type) {
    offerTypes_[offer].emplace_back(type);
}

void WaylandClipboard::Session::onSelection(void *offer) {
    if (!offer) { // the clipboard was emptied
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

void WaylandClipboard::Session::onFinished() {
    lose();
}

// The mark (when listed) and the text are asked of the same offer at once: no later copy can
// answer for them.
void WaylandClipboard::Session::startFetch(void *offer) {
    const std::vector<std::string> types = std::move(offerTypes_[offer]);
    offerTypes_.erase(offer);
    if (std::find(types.begin(), types.end(), ownType_) != types.end()) {
        protocol_->destroyOffer(offer); // the program's own pick
        return;
    }
    Fetch &fetch = fetches_.emplace_back();
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
// without pause leaves the others their turn; false once the pipe is closed.
bool WaylandClipboard::Session::readSome(Fetch &fetch, Incoming &from) {
    char buffer[64 * 1024];
    for (int turn = 0; turn < 64; ++turn) {
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
            from.bytes.append(buffer, from.limit - from.bytes.size());
            from.over = true;
            if (&from == &fetch.text) {
                fetch.tooLarge = true; // dropped at once
                closeFd(from.fd);
                return false;
            }
            continue; // a long mark is let through; its start is kept
        }
        from.bytes.append(buffer, size);
    }
    return true;
}

// A mark read empty was offered but not sent: it counts as secret.
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
    if (verdict == MarkVerdict::Secret || fetch.tooLarge)
        return finish(fetch);
    if (fetch.text.open() || verdict == MarkVerdict::Undecided)
        return;
    std::string &text = fetch.text.bytes;
    fetch.result =
        std::string(fetch.textType) == "STRING" ? latin1ToUtf8(text) : toValidUtf8(std::move(text));
    finish(fetch);
}

void WaylandClipboard::Session::finish(Fetch &fetch) {
    if (fetch.tooLarge) {
        sayTooLarge();
        fetch.result.reset();
    }
    closeFd(fetch.text.fd);
    closeFd(fetch.mark.fd);
    fetch.text.bytes = std::string();
    fetch.mark.bytes = std::string();
    if (fetch.offer && display_)
        protocol_->destroyOffer(fetch.offer);
    fetch.offer = nullptr;
    fetch.done = true;
}

// A program pastes one of the program's picks: it is written as the program reads it.
void WaylandClipboard::Session::onSend(void *source, const char *type, int fd) {
    const auto found = sources_.find(source);
    if (found == sources_.end() ||
        !std::any_of(std::begin(kOfferedTypes), std::end(kOfferedTypes),
                     [&](const char *offered) { return std::string(type) == offered; })) {
        close(fd); // the type that marks the program's own offers carries nothing
        return;
    }
    fcntl(fd, F_SETFL, O_NONBLOCK);
    outgoing_.push_back({fd, found->second});
}

// Another program's copy took the clipboard: the program's offer is done with (what is being
// pasted from it still is written).
void WaylandClipboard::Session::onCancelled(void *source) {
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
    if (!text) {
        protocol_->setSelection(device_, nullptr);
        return;
    }
    void *source = protocol_->createSource(manager_);
    protocol_->listenToSource(source, this);
    for (const char *type : kOfferedTypes)
        protocol_->offerType(source, type);
    protocol_->offerType(source, ownType_.c_str());
    sources_.emplace(source, std::move(*text));
    protocol_->setSelection(device_, source);
}

// Owners that stop writing are given up on, and so are programs that stop pasting.
void WaylandClipboard::Session::dropStale() {
    const auto now = Clock::now();
    for (Fetch &fetch : fetches_) {
        if (fetch.done ||
            (now - fetch.lastHeard <= kOwnerSilence && now - fetch.announced <= kLongestTransfer))
            continue;
        if (fetch.mark.open())
            fetch.evidence.answer = MarkEvidence::Answer::Lost;
        if (fetch.text.open())
            fetch.text.bytes.clear(); // a text cut short is no text
        finish(fetch);
    }
    for (Outgoing &outgoing : outgoing_)
        if (now - outgoing.lastHeard > kOwnerSilence)
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

void WaylandClipboard::Session::run() {
    while (!quitting_) {
        while (wl_display_prepare_read(display_) != 0) {
            if (wl_display_dispatch_pending(display_) < 0)
                return lose();
        }
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            return lose();
        }
        std::vector<pollfd> watched = {{wl_display_get_fd(display_), POLLIN, 0},
                                       {wake_[0], POLLIN, 0}};
        for (const Fetch &fetch : fetches_)
            for (const Incoming *incoming : {&fetch.text, &fetch.mark})
                if (incoming->open())
                    watched.push_back({incoming->fd, POLLIN, 0});
        for (const Outgoing &outgoing : outgoing_)
            watched.push_back({outgoing.fd, POLLOUT, 0});
        if (poll(watched.data(), watched.size(), kTickMs) < 0 && errno != EINTR) {
            wl_display_cancel_read(display_);
            return lose();
        }
        if (!serveDisplay(watched[0].revents))
            return lose();
        if (watched[1].revents & POLLIN) {
            char drained[64];
            while (read(wake_[0], drained, sizeof drained) > 0) {
            }
            std::vector<std::optional<SharedText>> picks;
            {
                std::lock_guard lock(mutex_);
                picks.swap(picks_);
            }
            for (auto &pick : picks)
                setSelection(std::move(pick));
        }
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
}

std::unique_ptr<WaylandClipboard> WaylandClipboard::open() {
    if (!std::getenv("WAYLAND_DISPLAY"))
        return nullptr;
    auto session = std::make_unique<Session>();
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
    session_->offer(std::move(text));
}

std::string WaylandClipboard::describe() const {
    return std::string("Wayland data control (") + session_->protocol()->name + ")";
}

} // namespace kobako::platform
