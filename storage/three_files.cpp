#include "three_files.h"

#include "core/settings_file.h"
#include "core/slot_file.h"
#include "core/text_lines.h"
#include "platform/files.h"

#include <algorithm>

namespace kobako {

namespace {

// Calls `use` with the file's lines as UTF-8, unless there is no such file.
template <typename Use> void withText(const std::string &path, Use use) {
    if (const auto bytes = platform::readWholeFile(path))
        use(std::string_view(decodeLines(*bytes)));
}

std::optional<WriteFailure> write(const std::string &path, std::string_view bytes) {
    if (auto reason = platform::writeFileAtomically(path, bytes))
        return WriteFailure{path, *reason};
    return std::nullopt;
}

} // namespace

SavedSize SizeFileLoad(const FileNames &files) {
    SavedSize size = readSizeFile(std::nullopt);
    withText(files.sizeFile(), [&](std::string_view text) { size = readSizeFile(text); });
    return size;
}

std::optional<WriteFailure> SizeFileSave(const FileNames &files, float height, float width) {
    return write(files.sizeFile(), writeSizeFile(height, width));
}

StoredRecords SlotFileRead(const FileNames &files) {
    SlotFileReader reader;
    const platform::ReadOutcome outcome = platform::readFileInPieces(
        files.slotFile(), [&](std::string_view piece) { reader.add(piece); });
    if (outcome.kind == platform::ReadOutcome::Unreadable)
        return {{}, outcome.reason};
    return {reader.finish(), std::nullopt};
}

void SlotFileLoad(StoredRecords stored, History &history, const Settings &settings) {
    std::vector<std::string> &records = stored.records;
    if (settings.isListMode()) {
        history.list.reserve(history.list.size() + records.size());
        for (std::string &record : records)
            history.list.push_back({std::move(record), false});
        return;
    }
    // Slots that do not exist take no record: at most ten are loaded.
    for (size_t i = 0; i < std::min<size_t>(records.size(), History::kSlotCount); ++i)
        history.textSlots[i].text = std::move(records[i]);
}

SlotFileSnapshot SlotFileTake(const History &history, const Settings &settings) {
    SlotFileSnapshot snapshot;
    if (settings.isListMode()) {
        snapshot.texts.reserve(history.list.size());
        for (const ListEntry &entry : history.list)
            snapshot.texts.push_back(entry.text);
        return snapshot;
    }
    // Every filled slot in order, also one that editing left above an empty slot.
    for (int i = 0; i < usableSlotCount(settings); ++i)
        if (!history.textSlots[i].text.empty())
            snapshot.texts.push_back(history.textSlots[i].text);
    return snapshot;
}

std::optional<WriteFailure> SlotFileSave(const FileNames &files, const SlotFileSnapshot &snapshot) {
    const auto &texts = snapshot.texts;
    const auto reason = platform::writeFileAtomically(files.slotFile(), [&](const auto &put) {
        writeSlotRecords(
            texts.size(), [&](size_t i) -> const std::string & { return texts[i]; }, put);
    });
    if (reason)
        return WriteFailure{files.slotFile(), *reason};
    return std::nullopt;
}

void Form2Load(const FileNames &files, Settings &settings) {
    withText(files.settingsFile(),
             [&](std::string_view text) { readSettingsFile(text, settings); });
}

std::optional<WriteFailure> Form2Save(const FileNames &files, const Settings &settings) {
    return write(files.settingsFile(), writeSettingsFile(settings));
}

} // namespace kobako
