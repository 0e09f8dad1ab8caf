#include "clipboard_reader.h"

#include "reply.h"

#include "core/clipboard_offer.h"
#include "core/text_lines.h"
#include "platform/transfer_budget.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace kobako::platform {

namespace {

constexpr int kPropertyPool = 64;
using Clock = std::chrono::steady_clock;
// Some owners never send the list of what they offer, some take seconds: once the mark and the
// text are in, the list is waited for this long, and then a refused mark means there is none.
constexpr std::chrono::milliseconds kListPatience{1000};
// A request left unanswered may still be answered late: its property is not used again before.
constexpr std::chrono::seconds kLateAnswers{30};
constexpr int kStaleCheckMs = 250;
// What an owner's announced size may make us set aside before the text arrives: the size is the
// owner's word, not a promise.
constexpr uint32_t kMostReservedAhead = 16u << 20;
// The verdicts kept for the data control beside a compositor, which asks within moments.
constexpr size_t kVerdictsKept = 64;
} // namespace

struct X11ClipboardReader::Atoms {
    xcb_atom_t clipboard, utf8String, targets, incr, string, text, plainUtf8, passwordHint,
        windowManagerCheck;
};

// The properties our requests name. One is given out again only once nothing can write to it
// any more: after its answer was read, or after a while for a request left unanswered (an answer
// may still come). One that a cut-short transfer in pieces may still write to is never given
// out again; more are made when none is free.
class X11ClipboardReader::Properties {
  public:
    explicit Properties(xcb_connection_t *connection) : connection_(connection) {}
    // False when the server cannot be asked.
    bool make(int count) {
        for (int i = 0; i < count; ++i) {
            const xcb_atom_t made = makeOne();
            if (made == XCB_NONE)
                return false;
            free_.push_back(made);
        }
        return true;
    }
    uint32_t take() {
        const auto now = Clock::now();
        std::erase_if(late_, [&](const auto &late) {
            if (now < late.second)
                return false;
            free_.push_back(late.first);
            return true;
        });
        if (free_.empty())
            free_.push_back(makeOne());
        const uint32_t property = free_.front();
        free_.pop_front();
        return property;
    }
    void giveBack(uint32_t property) { free_.push_back(property); }
    void answerMayComeLate(uint32_t property) {
        late_.emplace_back(property, Clock::now() + kLateAnswers);
    }

  private:
    xcb_atom_t makeOne() {
        const std::string name = "KOBAKO_SELECTION_" + std::to_string(made_++);
        return internAtom(connection_, name.c_str());
    }
    xcb_connection_t *connection_;
    std::deque<uint32_t> free_;
    std::vector<std::pair<uint32_t, Clock::time_point>> late_;
    int made_ = 0;
};

// One change of the clipboard, from its announcement until its text is known.
struct X11ClipboardReader::Fetch {
    uint64_t change = 0;
    uint32_t timestamp = 0;
    Clock::time_point announced = Clock::now();
    Clock::time_point lastHeard = announced;
    // Requests under way: target asked for, and the property the answer goes to.
    struct Pending {
        uint32_t window; // ours, that the answer goes to
        uint32_t target;
        uint32_t property;
        bool incremental = false;
        bool wrongType = false;
        uint32_t pieceType = 0;
        uint32_t announcedSize = 0; // the owner's lower bound on the whole size
        std::string pieces;
        bool askedAgain = false;
        TransferBudget::Share share{};
    };
    std::vector<Pending> pending;
    bool utf8Answered = false;
    std::optional<std::string> utf8;
    bool askedOtherText = false;
    bool otherTextAnswered = false;
    std::optional<std::string> otherText;
    std::vector<uint32_t> targets;
    bool targetsAnswered = false; // answered or refused
    bool targetsLost = false;     // the owner left or stopped answering first
    MarkEvidence mark;
    bool tooLarge = false;
    bool overBudget = false;
    bool done = false;
    std::optional<std::string> result;
};

std::unique_ptr<X11ClipboardReader> X11ClipboardReader::open() {
    std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    std::unique_ptr<X11ClipboardReader> reader(new X11ClipboardReader(connection.release()));
    if (!reader->setUp())
        return nullptr;
    reader->thread_ = std::thread([raw = reader.get()] { raw->run(); });
    return reader;
}

void X11ClipboardReader::Disconnect::operator()(xcb_connection_t *connection) const {
    xcb_disconnect(connection);
}

X11ClipboardReader::X11ClipboardReader(xcb_connection_t *connection)
    : connection_(connection), atoms_(std::make_unique<Atoms>()),
      properties_(std::make_unique<Properties>(connection)) {}

void X11ClipboardReader::setListener(Listener listener) {
    reports_.setListener(std::move(listener));
}

X11ClipboardReader::~X11ClipboardReader() {
    if (thread_.joinable()) {
        const char quit = 'q';
        [[maybe_unused]] auto ignored = write(wakePipe_[1], &quit, 1);
        thread_.join();
    }
    for (int fd : wakePipe_)
        if (fd >= 0)
            close(fd);
}

void X11ClipboardReader::run() {
    pollfd watched[2] = {{xcb_get_file_descriptor(connection_.get()), POLLIN, 0},
                         {wakePipe_[0], POLLIN, 0}};
    while (true) {
        readEvents();
        answerOrigins();
        dropStale();
        if (xcb_connection_has_error(connection_.get()))
            return;
        if (poll(watched, 2, kStaleCheckMs) < 0 && errno != EINTR)
            return;
        if (watched[1].revents & POLLIN) {
            char woken[64];
            const ssize_t got = read(wakePipe_[0], woken, sizeof woken);
            if (got > 0 && std::memchr(woken, 'q', static_cast<size_t>(got)))
                return;
            takeWakeUps();
        }
    }
}

void X11ClipboardReader::askOrigin(std::function<void(Origin)> answer) {
    {
        std::lock_guard lock(asking_);
        asks_.push_back(std::move(answer));
    }
    const char ask = 'a';
    [[maybe_unused]] auto ignored = write(wakePipe_[1], &ask, 1);
}

// Every event the server sent before answering a round trip has arrived once its answer has: the
// origin asked for is known then.
void X11ClipboardReader::takeWakeUps() {
    std::vector<std::function<void(Origin)>> answers;
    {
        std::lock_guard lock(asking_);
        answers.swap(asks_);
    }
    if (answers.empty())
        return;
    originAsks_.push_back({xcb_get_input_focus(connection_.get()).sequence, std::move(answers)});
    xcb_flush(connection_.get());
}

void X11ClipboardReader::answerOrigins() {
    while (!originAsks_.empty()) {
        void *reply = nullptr;
        xcb_generic_error_t *error = nullptr;
        if (!xcb_poll_for_reply(connection_.get(), originAsks_.front().sequence, &reply, &error))
            return;
        std::free(reply);
        std::free(error);
        readEvents();
        for (auto &answer : originAsks_.front().answers)
            answer(newest_);
        originAsks_.erase(originAsks_.begin());
    }
}

std::optional<XCopies::Verdict> X11ClipboardReader::verdict(uint64_t change) const {
    std::lock_guard lock(verdictsMutex_);
    const auto found = verdicts_.find(change);
    if (found == verdicts_.end())
        return std::nullopt;
    return found->second;
}

void X11ClipboardReader::whenJudged(std::function<void()> judged) {
    std::lock_guard lock(asking_);
    judged_ = std::move(judged);
}

// Kept for the data control, which asks how an X program's copy was judged; a copy whose mark
// is not known to be harmless is never kept.
void X11ClipboardReader::judge(const Fetch &fetch) {
    Verdict verdict;
    if (fetch.result) {
        verdict.kept = true;
        verdict.textHash = std::hash<std::string>{}(*fetch.result);
    }
    {
        std::lock_guard lock(verdictsMutex_);
        verdicts_[fetch.change] = verdict;
        while (verdicts_.size() > kVerdictsKept)
            verdicts_.erase(verdicts_.begin());
    }
    std::function<void()> judged;
    {
        std::lock_guard lock(asking_);
        judged = judged_;
    }
    if (judged)
        judged();
}

// The compositor's X client is the one that keeps the window manager's check window: its
// ownership of the clipboard is a Wayland program's copy.
bool X11ClipboardReader::ownedByCompositor(uint32_t owner) {
    if (!besideCompositor_)
        return false;
    const uint32_t mask = xcb_get_setup(connection_.get())->resource_id_mask;
    if (!compositorClient_) {
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data;
        const auto reply = own(xcb_get_property_reply(
            connection_.get(),
            xcb_get_property(connection_.get(), 0, screen->root, atoms_->windowManagerCheck,
                             XCB_ATOM_WINDOW, 0, 1),
            nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) == 4)
            compositorClient_ =
                *static_cast<const uint32_t *>(xcb_get_property_value(reply.get())) & ~mask;
    }
    return compositorClient_ && (owner & ~mask) == *compositorClient_;
}

bool X11ClipboardReader::setUp() {
    const xcb_query_extension_reply_t *xfixes =
        xcb_get_extension_data(connection_.get(), &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    xfixesEvent_ = xfixes->first_event;
    own(xcb_xfixes_query_version_reply(connection_.get(),
                                       xcb_xfixes_query_version(connection_.get(), 5, 0), nullptr));

    std::vector<std::string> names = {"CLIPBOARD",
                                      "UTF8_STRING",
                                      "TARGETS",
                                      "INCR",
                                      "STRING",
                                      "TEXT",
                                      "text/plain;charset=utf-8",
                                      std::string(kSecretMarkType),
                                      "_NET_SUPPORTING_WM_CHECK"};
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const std::string &name : names)
        cookies.push_back(xcb_intern_atom(connection_.get(), 0, static_cast<uint16_t>(name.size()),
                                          name.c_str()));
    std::vector<xcb_atom_t> atoms;
    for (auto cookie : cookies) {
        auto reply = own(xcb_intern_atom_reply(connection_.get(), cookie, nullptr));
        if (!reply)
            return false;
        atoms.push_back(reply->atom);
    }
    *atoms_ = {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4],
               atoms[5], atoms[6], atoms[7], atoms[8]};
    if (!properties_->make(kPropertyPool))
        return false;

    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data;
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    for (uint32_t *window : {&window_, &listWindow_, &markWindow_}) {
        *window = xcb_generate_id(connection_.get());
        xcb_create_window(connection_.get(), XCB_COPY_FROM_PARENT, *window, screen->root, -1, -1, 1,
                          1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_EVENT_MASK, &events);
    }
    xcb_xfixes_select_selection_input(connection_.get(), window_, atoms_->clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection_.get());

    return pipe2(wakePipe_, O_CLOEXEC) == 0;
}

void X11ClipboardReader::readEvents() {
    while (xcb_generic_event_t *raw = xcb_poll_for_event(connection_.get())) {
        XReply<xcb_generic_event_t> event(raw);
        const uint8_t type = event->response_type & 0x7F;
        if (type == xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
            auto *notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t *>(raw);
            onOwnerChanged(notify->owner, notify->selection_timestamp);
        } else if (type == XCB_SELECTION_NOTIFY) {
            auto *notify = reinterpret_cast<xcb_selection_notify_event_t *>(raw);
            if (notify->requestor == window_ || notify->requestor == listWindow_ ||
                notify->requestor == markWindow_)
                onSelectionNotify(notify->requestor, notify->target, notify->property,
                                  notify->time);
        } else if (type == XCB_PROPERTY_NOTIFY) {
            auto *notify = reinterpret_cast<xcb_property_notify_event_t *>(raw);
            if (notify->state == XCB_PROPERTY_NEW_VALUE)
                onPropertyNewValue(notify->window, notify->atom);
        }
    }
    reportInOrder(fetches_, reports_);
}

void X11ClipboardReader::onOwnerChanged(uint32_t owner, uint32_t timestamp) {
    if (owner == XCB_NONE)
        abandonRequests(); // the owner went away: what it had not answered never will be
    const uint32_t mask = ignoredMask_;
    if (owner != XCB_NONE && mask != 0 && (owner & ~mask) == ignoredBase_) {
        newest_ = {Origin::Source::OwnWindows};
        return;
    }
    if (owner != XCB_NONE && ownedByCompositor(owner)) {
        newest_ = {Origin::Source::Wayland};
        return;
    }
    Fetch &fetch = fetches_.emplace_back();
    fetch.timestamp = timestamp;
    if (owner == XCB_NONE) { // the owner went away: the clipboard is empty
        newest_ = {Origin::Source::Wayland};
        fetch.done = true;
        return;
    }
    fetch.change = ++changes_;
    newest_ = {Origin::Source::XProgram, fetch.change};
    // The mark, the list of what is offered and the text, in one batch stamped with the change's
    // time, the mark first: an owner that takes the clipboard meanwhile gets only the requests
    // after it, so it may answer for the text but never for the mark of a text it did not give.
    // The text last: weston's bridge from Wayland serves one request at a time and loses a text
    // it is still sending when the next request comes.
    request(fetch, atoms_->passwordHint);
    request(fetch, atoms_->targets);
    request(fetch, atoms_->utf8String);
    xcb_flush(connection_.get());
}

// The text, the list of what is offered and the mark are each asked for on a window of their
// own: an owner sending an answer in pieces watches the deletions on the window it sends to, and
// some take the deletion of any property there for the go-ahead of their next piece (and owners
// that answer any request with their text send the mark in pieces too).
void X11ClipboardReader::request(Fetch &fetch, uint32_t target) {
    const uint32_t window = target == atoms_->targets        ? listWindow_
                            : target == atoms_->passwordHint ? markWindow_
                                                             : window_;
    const uint32_t property = properties_->take();
    fetch.pending.push_back({window, target, property, false, false, 0, 0, {}});
    xcb_convert_selection(connection_.get(), window, atoms_->clipboard, target, property,
                          fetch.timestamp);
}

// Reads a property of our window and deletes it (the owner of a large text waits for that
// deletion before it sends the next piece). Past `limit` bytes the rest is not read: what was
// read is given, up to the limit, and `over` is set.
std::optional<std::string> X11ClipboardReader::takeProperty(uint32_t window, uint32_t property,
                                                            uint32_t *type, size_t limit,
                                                            bool *over) {
    std::string data;
    uint32_t offset = 0;
    while (true) {
        auto reply = own(
            xcb_get_property_reply(connection_.get(),
                                   xcb_get_property(connection_.get(), 1, window, property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, offset, 1u << 20),
                                   nullptr));
        if (!reply)
            return std::nullopt;
        *type = reply->type;
        const auto length = static_cast<size_t>(xcb_get_property_value_length(reply.get()));
        const auto *value = static_cast<const char *>(xcb_get_property_value(reply.get()));
        if (data.size() + length > limit) {
            *over = true;
            data.append(value, limit - data.size());
            xcb_delete_property(connection_.get(), window, property);
            return data;
        }
        data.append(value, length);
        offset += static_cast<uint32_t>(length) / 4;
        if (reply->bytes_after == 0)
            break;
    }
    return data;
}

size_t X11ClipboardReader::limitOf(uint32_t target) const {
    return target == atoms_->passwordHint ? kLongestMark : kLargestText;
}

// An answer counts only in the form asked for: the text forms as text, the target list as atoms.
bool X11ClipboardReader::isAnswerType(uint32_t target, uint32_t type) const {
    if (target == atoms_->targets)
        return type == XCB_ATOM_ATOM || type == atoms_->targets;
    if (target == atoms_->text)
        return type == atoms_->string || type == atoms_->utf8String;
    if (target == atoms_->passwordHint)
        return true;
    return type == target;
}

// An answer is matched by the property its request named; a refusal names none, and is matched
// by the change's time and the target instead.
void X11ClipboardReader::onSelectionNotify(uint32_t window, uint32_t target, uint32_t property,
                                           uint32_t time) {
    for (Fetch &fetch : fetches_) {
        if (fetch.done)
            continue;
        auto pending = std::find_if(fetch.pending.begin(), fetch.pending.end(), [&](const auto &p) {
            if (p.incremental || p.window != window)
                return false;
            if (property != XCB_NONE)
                return p.property == property && p.target == target;
            return fetch.timestamp == time && p.target == target;
        });
        if (pending == fetch.pending.end())
            continue;
        std::optional<std::string> value;
        uint32_t answeredType = XCB_NONE;
        if (property != XCB_NONE) {
            uint32_t type = 0;
            bool over = false;
            value = takeProperty(window, pending->property, &type, limitOf(target), &over);
            if (over && target != atoms_->passwordHint) {
                fetch.tooLarge = true;
                finish(fetch);
                return;
            }
            if (value && type == atoms_->incr) {
                pending->incremental = true; // the pieces follow as new values
                if (value->size() >= 4)
                    std::memcpy(&pending->announcedSize, value->data(), 4);
                // The announced size is a lower bound: a larger text is refused before it comes.
                if (pending->announcedSize > kLargestText && target != atoms_->passwordHint) {
                    fetch.tooLarge = true;
                    finish(fetch);
                    return;
                }
                if (pending->share.makeRoom(
                        pending->pieces, std::min<size_t>({pending->announcedSize,
                                                           kMostReservedAhead, limitOf(target)})) ==
                    TransferBudget::Growth::Drop) {
                    fetch.overBudget = true;
                    finish(fetch);
                }
                return;
            }
            if (!isAnswerType(pending->target, type))
                value.reset(); // some owners answer any target with their one form (an image)
            answeredType = type;
        }
        const uint32_t answered = pending->target;
        properties_->giveBack(pending->property);
        fetch.pending.erase(pending);
        storeAnswer(fetch, answered, answeredType, std::move(value));
        advance(fetch);
        return;
    }
}

// Texts are decoded by the type the owner answered with: STRING is Latin-1, the UTF-8 forms are
// UTF-8 with each byte that starts no character replaced, so the history only holds valid text.
// An answer that is nothing is a refusal.
void X11ClipboardReader::storeAnswer(Fetch &fetch, uint32_t target, uint32_t type,
                                     std::optional<std::string> value) {
    if (target == atoms_->targets) {
        fetch.targetsAnswered = true;
        for (size_t i = 0; value && i + 4 <= value->size(); i += 4) {
            uint32_t atom;
            std::memcpy(&atom, value->data() + i, 4);
            fetch.targets.push_back(atom);
        }
        fetch.mark.listed = offers(fetch, atoms_->passwordHint);
        return;
    }
    if (target == atoms_->passwordHint) {
        fetch.mark.answer = value ? MarkEvidence::Answer::Read : MarkEvidence::Answer::Refused;
        fetch.mark.value = value.value_or(std::string());
        return;
    }
    if (value)
        value = type == atoms_->string ? latin1ToUtf8(*value) : toValidUtf8(std::move(*value));
    if (target == atoms_->utf8String) {
        fetch.utf8Answered = true;
        fetch.utf8 = std::move(value);
    } else {
        fetch.otherTextAnswered = true;
        fetch.otherText = std::move(value);
    }
}

bool X11ClipboardReader::offers(const Fetch &fetch, uint32_t atom) {
    return std::find(fetch.targets.begin(), fetch.targets.end(), atom) != fetch.targets.end();
}

void X11ClipboardReader::finishIncremental(Fetch &fetch, size_t index) {
    const auto pending = fetch.pending.begin() + static_cast<std::ptrdiff_t>(index);
    std::optional<std::string> whole;
    if (!pending->wrongType)
        whole = std::move(pending->pieces);
    const uint32_t target = pending->target;
    const uint32_t type = pending->pieceType;
    properties_->giveBack(pending->property);
    fetch.pending.erase(pending);
    storeAnswer(fetch, target, type, std::move(whole));
    askAgain(fetch);
    advance(fetch);
}

// Some owners (xclip) serve one transfer in pieces at a time and drop the requests that come
// meanwhile: those still unanswered when a transfer ends are asked again, once.
void X11ClipboardReader::askAgain(Fetch &fetch) {
    bool asked = false;
    for (Fetch::Pending &pending : fetch.pending) {
        if (pending.incremental || pending.askedAgain)
            continue;
        pending.askedAgain = true;
        xcb_convert_selection(connection_.get(), pending.window, atoms_->clipboard, pending.target,
                              pending.property, fetch.timestamp);
        asked = true;
    }
    if (asked)
        xcb_flush(connection_.get());
}

// An owner that went away after its last piece but before the empty one that ends a transfer
// has still sent the whole text when it reached the size it announced.
void X11ClipboardReader::finishDeliveredTransfers() {
    for (Fetch &fetch : fetches_) {
        for (auto pending = fetch.pending.begin(); pending != fetch.pending.end(); ++pending) {
            if (pending->incremental && pending->announcedSize > 0 &&
                pending->pieces.size() >= pending->announcedSize) {
                finishIncremental(fetch, static_cast<size_t>(pending - fetch.pending.begin()));
                break;
            }
        }
    }
}

// What was asked and never answered will never be: the owner left or stopped answering. A text
// cut short is no text; a mark never sent counts as secret.
void X11ClipboardReader::giveUp(Fetch &fetch) {
    for (const Fetch::Pending &pending : fetch.pending) {
        if (pending.target == atoms_->passwordHint)
            fetch.mark.answer = MarkEvidence::Answer::Lost;
        else if (pending.target == atoms_->targets)
            fetch.targetsLost = true;
        else if (pending.target == atoms_->utf8String)
            fetch.utf8Answered = true;
        else
            fetch.otherTextAnswered = true;
    }
    forgetPending(fetch);
    advance(fetch);
}

void X11ClipboardReader::abandonRequests() {
    finishDeliveredTransfers();
    for (Fetch &fetch : fetches_)
        if (!fetch.done && !fetch.pending.empty())
            giveUp(fetch);
}

// A request still open when its change is decided may be answered late, and a transfer in pieces
// cut short may still send one: their properties are not used again meanwhile.
void X11ClipboardReader::forgetPending(Fetch &fetch) {
    for (const Fetch::Pending &pending : fetch.pending)
        if (!pending.incremental)
            properties_->answerMayComeLate(pending.property);
    fetch.pending.clear();
}

void X11ClipboardReader::onPropertyNewValue(uint32_t window, uint32_t property) {
    for (Fetch &fetch : fetches_) {
        for (auto pending = fetch.pending.begin(); pending != fetch.pending.end(); ++pending) {
            if (!pending->incremental || pending->window != window || pending->property != property)
                continue;
            const bool mark = pending->target == atoms_->passwordHint;
            const size_t room = limitOf(pending->target) - pending->pieces.size();
            uint32_t type = 0;
            bool over = false;
            auto piece = takeProperty(window, property, &type, room, &over);
            fetch.lastHeard = Clock::now(); // still arriving
            if (over && !mark) {
                fetch.tooLarge = true;
                finish(fetch); // dropped at once; the owner's next piece is never read
                return;
            }
            // A mark that runs long is taken in as far as it goes; its pieces are let through.
            if (piece && (!piece->empty() || over)) {
                if (!isAnswerType(pending->target, type))
                    pending->wrongType = true;
                pending->pieceType = type;
                TransferBudget::Growth growth =
                    pending->share.makeRoom(pending->pieces, piece->size());
                if (growth == TransferBudget::Growth::Wait) {
                    dropOverBudget(); // this thread's own largest, if it is one of these
                    growth = pending->share.makeRoom(pending->pieces, piece->size());
                }
                if (growth == TransferBudget::Growth::Drop) {
                    fetch.overBudget = true;
                    finish(fetch);
                    return;
                }
                pending->pieces += *piece;
                return;
            }
            finishIncremental(fetch, static_cast<size_t>(pending - fetch.pending.begin()));
            return;
        }
    }
}

// Decides a change once enough is known: a secret ends it at once; otherwise it waits for the
// text (UTF8_STRING, else another text form the owner lists) and for the mark to be decided.
// The mark is judged only once its own request was answered: the list of types may come from an
// owner that took the clipboard after the one that gave the text.
void X11ClipboardReader::advance(Fetch &fetch) {
    if (fetch.done)
        return;
    const bool listOverdue = !fetch.targetsAnswered &&
                             (fetch.targetsLost || Clock::now() - fetch.announced >= kListPatience);
    const MarkVerdict verdict = fetch.mark.answer == MarkEvidence::Answer::Pending
                                    ? MarkVerdict::Undecided
                                    : judgeMark(fetch.mark, listOverdue);
    if (verdict == MarkVerdict::Secret || fetch.tooLarge)
        return finish(fetch);
    if (!fetch.utf8Answered)
        return;
    if (!fetch.utf8 && !fetch.askedOtherText) {
        if (!fetch.targetsAnswered && !listOverdue)
            return; // the list says which other form to ask for
        fetch.askedOtherText = true;
        for (uint32_t target : {atoms_->plainUtf8, atoms_->string, atoms_->text}) {
            if (offers(fetch, target)) {
                request(fetch, target);
                xcb_flush(connection_.get());
                return;
            }
        }
        fetch.otherTextAnswered = true; // none offered
    }
    if (!fetch.utf8 && !fetch.otherTextAnswered)
        return;
    if (verdict == MarkVerdict::Undecided)
        return;
    fetch.result = fetch.utf8 ? std::move(fetch.utf8) : std::move(fetch.otherText);
    finish(fetch);
}

// Ends a change; what `advance` chose as its text, if anything, is reported.
void X11ClipboardReader::finish(Fetch &fetch) {
    if (fetch.done)
        return;
    if (fetch.tooLarge)
        sayTooLarge();
    if (fetch.overBudget)
        sayOverBudget();
    if (fetch.tooLarge || fetch.overBudget)
        fetch.result.reset();
    forgetPending(fetch);
    fetch.done = true;
    fetch.utf8.reset();
    fetch.otherText.reset();
    judge(fetch);
}

// Transfers that another's growth chose to be dropped.
void X11ClipboardReader::dropOverBudget() {
    for (Fetch &fetch : fetches_) {
        if (fetch.done)
            continue;
        if (std::any_of(fetch.pending.begin(), fetch.pending.end(),
                        [](const Fetch::Pending &pending) { return pending.share.dropped(); })) {
            fetch.overBudget = true;
            finish(fetch);
        }
    }
}

// Owners that stopped answering are given up on; a change that only waits for its list of
// types is decided once that is overdue.
void X11ClipboardReader::dropStale() {
    dropOverBudget();
    const auto now = Clock::now();
    for (Fetch &fetch : fetches_) {
        if (ownerOverdue(now, fetch))
            giveUp(fetch);
        else if (!fetch.done)
            advance(fetch);
    }
    reportInOrder(fetches_, reports_);
}

} // namespace kobako::platform
