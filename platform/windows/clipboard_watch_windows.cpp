#include "clipboard_watch_windows.h"

#include "core/clipboard_offer.h"
#include "core/windows_text.h"

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <future>

namespace kobako::platform {

namespace {

// Another program may hold the clipboard open for a moment: it is asked again a few times.
constexpr int kOpenTries = 20;
constexpr DWORD kOpenPauseMs = 25;

UINT registeredFormat(std::string_view name) {
    return RegisterClipboardFormatW(utf16(name).c_str());
}

// The bytes of an open clipboard's format, at most `limit` of them.
std::string bytesOf(UINT format, size_t limit) {
    HANDLE data = GetClipboardData(format);
    const void *bytes = data ? GlobalLock(data) : nullptr;
    if (!bytes)
        return {};
    std::string value(static_cast<const char *>(bytes), std::min<size_t>(GlobalSize(data), limit));
    GlobalUnlock(data);
    return value;
}

bool openClipboard(HWND window) {
    for (int i = 0; i < kOpenTries; ++i) {
        if (OpenClipboard(window))
            return true;
        Sleep(kOpenPauseMs);
    }
    return false;
}

} // namespace

struct WindowsClipboardWatch::Thread {
    ChangeReports reports;
    std::thread thread;
    DWORD threadId = 0;
    HWND window = nullptr;
    const UINT excludeFromMonitoring = registeredFormat(kExcludeFromMonitoringFormat);
    const UINT viewerIgnore = registeredFormat(kViewerIgnoreFormat);
    const UINT historyPermission = registeredFormat(kHistoryPermissionFormat);
    // As wine hands over an X program's copy: its targets become formats of the same name.
    const UINT secretMark = registeredFormat(kSecretMarkType);

    void run(std::promise<bool> &ready);
    void onUpdate();
    bool keptOut() const;
    std::optional<std::string> readText() const;

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_CLIPBOARDUPDATE) {
            reinterpret_cast<Thread *>(GetWindowLongPtrW(window, GWLP_USERDATA))->onUpdate();
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    }
};

void WindowsClipboardWatch::Thread::run(std::promise<bool> &ready) {
    threadId = GetCurrentThreadId();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Thread::proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KobakoClipboardWatch";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                             nullptr, windowClass.hInstance, nullptr);
    if (window)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const bool listening = window && AddClipboardFormatListener(window);
    ready.set_value(listening);
    if (!listening)
        return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    RemoveClipboardFormatListener(window);
    DestroyWindow(window);
}

// The program's own writes go through Qt, which tells of them itself.
void WindowsClipboardWatch::Thread::onUpdate() {
    const Moment announced = std::chrono::steady_clock::now();
    DWORD owner = 0;
    if (HWND ownerWindow = GetClipboardOwner())
        GetWindowThreadProcessId(ownerWindow, &owner);
    if (owner == GetCurrentProcessId())
        return;
    std::optional<std::string> text;
    if (openClipboard(window)) {
        if (!keptOut())
            text = readText();
        CloseClipboard();
    }
    reports.report({std::move(text), announced});
}

bool WindowsClipboardWatch::Thread::keptOut() const {
    WindowsMarks marks;
    marks.excludeFromMonitoring = IsClipboardFormatAvailable(excludeFromMonitoring);
    marks.viewerIgnore = IsClipboardFormatAvailable(viewerIgnore);
    if (IsClipboardFormatAvailable(historyPermission))
        marks.historyPermission = bytesOf(historyPermission, sizeof(DWORD));
    if (keptOutOfHistories(marks))
        return true;
    if (!IsClipboardFormatAvailable(secretMark))
        return false;
    const std::string value = bytesOf(secretMark, kLongestMark);
    const MarkEvidence mark{
        true, value.empty() ? MarkEvidence::Answer::Refused : MarkEvidence::Answer::Read, value};
    return judgeMark(mark, true) != MarkVerdict::Public;
}

// Every UTF-16 unit is at least a byte of UTF-8: a text of more units than the largest text is
// not read at all. Line ends come as LF, as Qt gives them.
std::optional<std::string> WindowsClipboardWatch::Thread::readText() const {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return std::nullopt;
    const size_t units = GlobalSize(data) / sizeof(wchar_t);
    if (units > kLargestText) {
        sayTooLarge();
        return std::nullopt;
    }
    const auto *wide = static_cast<const wchar_t *>(GlobalLock(data));
    if (!wide)
        return std::nullopt;
    std::string text = utf8(std::wstring_view(wide, wcsnlen(wide, units)));
    GlobalUnlock(data);
    if (text.size() > kLargestText) {
        sayTooLarge();
        return std::nullopt;
    }
    size_t kept = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            text[kept++] = text[i];
    text.resize(kept);
    return text;
}

std::unique_ptr<WindowsClipboardWatch> WindowsClipboardWatch::open() {
    auto thread = std::make_unique<Thread>();
    std::promise<bool> ready;
    std::future<bool> listening = ready.get_future();
    thread->thread = std::thread([raw = thread.get(), &ready] { raw->run(ready); });
    if (!listening.get()) {
        thread->thread.join();
        return nullptr;
    }
    return std::unique_ptr<WindowsClipboardWatch>(new WindowsClipboardWatch(std::move(thread)));
}

WindowsClipboardWatch::WindowsClipboardWatch(std::unique_ptr<Thread> thread)
    : thread_(std::move(thread)) {}

WindowsClipboardWatch::~WindowsClipboardWatch() {
    PostThreadMessageW(thread_->threadId, WM_QUIT, 0, 0);
    thread_->thread.join();
}

void WindowsClipboardWatch::setListener(Listener listener) {
    thread_->reports.setListener(std::move(listener));
}

} // namespace kobako::platform
