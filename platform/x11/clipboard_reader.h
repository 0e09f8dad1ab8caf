#pragma once

#include "platform/clipboard_watch.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct xcb_connection_t;

namespace kobako::platform {

// Watches the CLIPBOARD selection on an X connection of its own and fetches each new text the
// moment its change is announced, asking with the timestamp of the change itself: an owner that
// has already handed the clipboard to the next copy answers only requests made before, so a copy
// a millisecond later must not make the text of this one unreadable. The password manager's mark,
// the UTF8_STRING text and the list of what is offered are asked for together, then another text
// form the owner lists if need be; large texts arrive in pieces. Contents marked secret (or whose
// mark cannot be known), and texts larger than the largest the history takes, are reported as no
// text.
//
// It works on a thread of its own, so that a busy window never delays a request: the listener is
// called there, once per change and in the order of the changes.
//
// Beside a Wayland compositor (XWayland), the compositor's own X client hands Wayland programs'
// copies to X programs: those are the data control's to read, and are left alone here.
class X11ClipboardReader final : public ClipboardWatch, public XCopies {
  public:
    // Nothing when no X display can be reached or it lacks the XFixes extension. It watches from
    // the start, before anything listens: changes are kept until a listener is set.
    static std::unique_ptr<X11ClipboardReader> open();
    void setListener(Listener listener) override;
    ~X11ClipboardReader() override;
    X11ClipboardReader(const X11ClipboardReader &) = delete;
    X11ClipboardReader &operator=(const X11ClipboardReader &) = delete;

    // Changes made through the program's own connection to the display (the client whose
    // resource ids these are) are the program's own and are not reported.
    void ignoreClient(uint32_t resourceBase, uint32_t resourceMask) {
        ignoredMask_ = resourceMask;
        ignoredBase_ = resourceBase;
    }
    std::string describe() const override { return "X11 (XFixes)"; }
    // From now on the compositor's own X client is known for what it is. Until then, a Wayland
    // copy handed to X is taken in here as well, and is found again by the data control.
    void watchBesideCompositor() { besideCompositor_ = true; }

    void askOrigin(std::function<void(Origin)> answer) override;
    std::optional<Verdict> verdict(uint64_t change) const override;
    void whenJudged(std::function<void()> judged) override;

    // The reader's file descriptors and its event loop, for the thread that runs it.
    void run();

  private:
    struct Fetch;
    class Properties;
    struct OriginAsk {
        unsigned sequence; // of the round trip after which the origin is known
        std::vector<std::function<void(Origin)>> answers;
    };
    explicit X11ClipboardReader(xcb_connection_t *connection);
    bool setUp();
    void readEvents();
    void takeWakeUps();
    void answerOrigins();
    bool ownedByCompositor(uint32_t owner);
    void judge(const Fetch &fetch);
    void dropOverBudget();
    void onOwnerChanged(uint32_t owner, uint32_t timestamp);
    void onSelectionNotify(uint32_t window, uint32_t target, uint32_t property, uint32_t time);
    void onPropertyNewValue(uint32_t window, uint32_t property);
    void request(Fetch &fetch, uint32_t target);
    bool isAnswerType(uint32_t target, uint32_t type) const;
    void storeAnswer(Fetch &fetch, uint32_t target, uint32_t type,
                     std::optional<std::string> value);
    static bool offers(const Fetch &fetch, uint32_t atom);
    void advance(Fetch &fetch);
    void finish(Fetch &fetch);
    void giveUp(Fetch &fetch);
    void forgetPending(Fetch &fetch);
    void dropStale();
    void finishDeliveredTransfers();
    void abandonRequests();
    void finishIncremental(Fetch &fetch, size_t pendingIndex);
    void askAgain(Fetch &fetch);
    size_t limitOf(uint32_t target) const;
    std::optional<std::string> takeProperty(uint32_t window, uint32_t property, uint32_t *type,
                                            size_t limit, bool *over);

    struct Disconnect {
        void operator()(xcb_connection_t *connection) const;
    };
    std::unique_ptr<xcb_connection_t, Disconnect> connection_;
    ChangeReports reports_;
    uint32_t window_ = 0;     // where texts are sent
    uint32_t listWindow_ = 0; // where the lists of what is offered are sent
    uint32_t markWindow_ = 0; // where the secret mark is sent
    std::atomic<uint32_t> ignoredBase_ = 0;
    std::atomic<uint32_t> ignoredMask_ = 0;
    uint8_t xfixesEvent_ = 0;
    struct Atoms;
    std::unique_ptr<Atoms> atoms_;
    std::unique_ptr<Properties> properties_;
    std::deque<Fetch> fetches_;

    std::atomic<bool> besideCompositor_ = false;
    std::optional<uint32_t> compositorClient_; // the resource base of its X client, once known
    Origin newest_;
    uint64_t changes_ = 0;
    std::mutex asking_; // guards what other threads hand over: below
    std::vector<std::function<void(Origin)>> asks_;
    std::function<void()> judged_;
    std::vector<OriginAsk> originAsks_;
    mutable std::mutex verdictsMutex_;
    std::map<uint64_t, Verdict> verdicts_;

    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
};

} // namespace kobako::platform
