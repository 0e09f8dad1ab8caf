// The executable itself links no Qt. It starts watching the clipboard and reading the history
// file, which takes a few milliseconds, and only then loads the Qt part of the program: loading
// Qt's libraries alone takes 20 ms and more, and a copy made meanwhile would be missed.
#include "launch.h"
#include "platform/process.h"
#include "platform/x11_clipboard_reader.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

// Under Wayland a background program cannot watch the clipboard; XWayland lets it.
void preferXWayland() {
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "xcb", /*overwrite=*/0);
}

bool qtWillUseX11() {
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    return !platform || !*platform || std::strcmp(platform, "xcb") == 0;
}

// The build and the install both keep the module at the same place relative to the executable.
std::filesystem::path qtPartPath() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return (executable.parent_path() / KOBAKO_QT_PART).lexically_normal();
}

} // namespace

int main(int argc, char *argv[]) {
    using namespace kobako;
    preferXWayland();
    app::Launch launch{argc, argv, nullptr, {}, {}};
    if (qtWillUseX11())
        launch.clipboardWatch = platform::X11ClipboardReader::open();
    launch.files = {platform::currentDirectory(), platform::executableBaseName()};
    launch.storedHistory =
        std::async(std::launch::async, [files = launch.files] { return ui::SlotFileRead(files); });

    // Qt's first text layout would read fontconfig's configuration; read it meanwhile.
    std::thread(FcInit).detach();

    const std::string path = qtPartPath().string();
    void *qtPart = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto *run =
        qtPart ? reinterpret_cast<decltype(&kobakoRun)>(dlsym(qtPart, "kobakoRun")) : nullptr;
    if (!run) {
        std::fprintf(stderr, "Kobako: 本体 %s を読み込めません: %s\n", path.c_str(), dlerror());
        return 1;
    }
    return run(&launch);
}
