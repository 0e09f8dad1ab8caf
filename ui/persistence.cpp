#include "persistence.h"

#include <algorithm>

#include "core/settings_file.h"
#include "core/slot_file.h"
#include "core/text_lines.h"
#include "platform/files.h"

namespace kobako::ui {

namespace {

// Calls `use` with the file's text as UTF-8, unless there is no such file.
template <typename Use> void withText(const std::string &path, Use use) {
    const auto bytes = platform::readWholeFile(path);
    if (!bytes)
        return;
    if (isValidUtf8(*bytes))
        use(std::string_view(*bytes));
    else
        use(std::string_view(fromCp932(*bytes)));
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
    SavedSize size = readSizeFile(std::nullopt);
    withText(files.sizeFile(), [&](std::string_view text) { size = readSizeFile(text); });
    return size;
}

std::optional<WriteFailure> SizeFileSave(const FileNames &files, float height, float width) {
    return write(files.sizeFile(), writeSizeFile(height, width), platform::FileAccess::Everyone);
}

StoredRecords SlotFileRead(const FileNames &files) {
    SlotFileReader reader;
    if (!platform::readFileInPieces(files.slotFile(),
                                    [&](std::string_view piece) { reader.add(piece); }))
        return std::nullopt;
    if (reader.isUtf8())
        return reader.finish();
    StoredRecords records; // written in CP932 by the Windows original: read again, converted
    withText(files.slotFile(),
             [&](std::string_view text) { records = readSlotFile(text, SIZE_MAX); });
    return records;
}

void SlotFileLoad(StoredRecords records, History &history, const Settings &settings) {
    if (!records)
        return;
    if (settings.isListMode()) {
        history.list.reserve(history.list.size() + records->size());
        for (std::string &record : *records)
            history.list.push_back({std::move(record), false});
        return;
    }
    // Slots that do not exist take no record: at most ten are loaded.
    for (size_t i = 0; i < std::min<size_t>(records->size(), History::kSlotCount); ++i)
        history.textSlots[i].text = std::move((*records)[i]);
}

void SlotFileLoad(const FileNames &files, History &history, const Settings &settings) {
    SlotFileLoad(SlotFileRead(files), history, settings);
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
    withText(files.settingsFile(),
             [&](std::string_view text) { readSettingsFile(text, settings); });
}

std::optional<WriteFailure> Form2Save(const FileNames &files, const Settings &settings) {
    return write(files.settingsFile(), writeSettingsFile(settings), platform::FileAccess::Everyone);
}

} // namespace kobako::ui
