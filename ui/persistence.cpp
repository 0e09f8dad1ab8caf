#include "persistence.h"

#include "core/settings_file.h"
#include "core/slot_file.h"
#include "core/text_lines.h"
#include "platform/files.h"

namespace kobako::ui {

namespace {

std::optional<std::string> readText(const std::string &path) {
    auto bytes = platform::readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return decodeFileText(std::move(*bytes));
}

std::optional<WriteFailure> write(const std::string &path, std::string_view bytes,
                                  platform::FileAccess access) {
    if (auto reason = platform::writeFileAtomically(path, bytes, access))
        return WriteFailure{path, *reason};
    return std::nullopt;
}

} // namespace

std::string joinPath(const std::string &directory, const std::string &name) {
    if (!directory.empty() && directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

SavedSize SizeFileLoad(const FileNames &files) {
    const auto text = readText(files.sizeFile());
    return readSizeFile(text ? std::optional<std::string_view>(*text) : std::nullopt);
}

std::optional<WriteFailure> SizeFileSave(const FileNames &files, float height, float width) {
    return write(files.sizeFile(), writeSizeFile(height, width), platform::FileAccess::Everyone);
}

void SlotFileLoad(const FileNames &files, History &history, const Settings &settings) {
    const auto text = readText(files.slotFile());
    if (!text)
        return;
    if (settings.isListMode()) {
        for (std::string &record : readSlotFile(*text, SIZE_MAX))
            history.list.push_back({std::move(record), false});
        return;
    }
    auto records = readSlotFile(*text, History::kSlotCount);
    for (size_t i = 0; i < records.size(); ++i)
        history.textSlots[i].text = std::move(records[i]);
}

std::optional<WriteFailure> SlotFileSave(const FileNames &files, const History &history,
                                         const Settings &settings) {
    std::string bytes;
    if (settings.isListMode())
        bytes = writeSlotFile(history.list.size(), [&](size_t i) -> const std::string & {
            return history.list[i].text;
        });
    else {
        // Every filled slot in order, also one that editing left above an empty slot.
        std::vector<const std::string *> filled;
        for (int i = 0; i < usableSlotCount(settings); ++i)
            if (!history.textSlots[i].text.empty())
                filled.push_back(&history.textSlots[i].text);
        bytes = writeSlotFile(filled.size(),
                              [&](size_t i) -> const std::string & { return *filled[i]; });
    }
    // The history may hold passwords and private notes: only its owner may read it.
    return write(files.slotFile(), bytes, platform::FileAccess::OwnerOnly);
}

void Form2Load(const FileNames &files, Settings &settings) {
    if (const auto text = readText(files.settingsFile()))
        readSettingsFile(*text, settings);
}

std::optional<WriteFailure> Form2Save(const FileNames &files, const Settings &settings) {
    return write(files.settingsFile(), writeSettingsFile(settings), platform::FileAccess::Everyone);
}

} // namespace kobako::ui
