#pragma once

#include "core/history.h"
#include "core/settings.h"
#include "core/size_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kobako {

// Where the three files are kept: the size and slot contents files in the current directory,
// the settings file in the directory the program was started in.
struct FileNames {
    std::string startDirectory;
    std::string baseName;

    std::string sizeFile() const { return baseName + ".f1"; }
    std::string settingsFile() const { return inStartDirectory(settingsName()); }
    std::string slotFile() const { return baseName + ".f3"; }
    std::string settingsName() const { return baseName + ".f2"; }
    // The three names, without a directory.
    std::vector<std::string> names() const { return {sizeFile(), settingsName(), slotFile()}; }
    std::string inStartDirectory(const std::string &name) const {
        return (std::filesystem::path(startDirectory) / name).string();
    }
};

// A failed write: the file and the system's reason.
struct WriteFailure {
    std::string file;
    std::string reason;
};

SavedSize SizeFileLoad(const FileNames &files);
std::optional<WriteFailure> SizeFileSave(const FileNames &files, float height, float width);

// The slot contents file as read: its records, newest first (none without a file). A file that
// is there but cannot be read gives the system's reason instead: the history it holds must not
// be written over. Needs no settings and no window, so it can run on a thread while the program
// starts.
struct StoredRecords {
    std::vector<std::string> records;
    std::optional<std::string> unreadable;
};
StoredRecords SlotFileRead(const FileNames &files);

// Appends the stored entries to the list, or fills the slots from slot 0, by the display mode.
void SlotFileLoad(StoredRecords stored, History &history, const Settings &settings);
// The texts to save, shared with the history rather than copied: the list, or every filled slot
// in order. Taken where the history lives; saved on any thread, while the history goes on.
struct SlotFileSnapshot {
    std::vector<SharedText> texts;
};
SlotFileSnapshot SlotFileTake(const History &history, const Settings &settings);
// Writes the snapshot to the file, piece by piece.
std::optional<WriteFailure> SlotFileSave(const FileNames &files, const SlotFileSnapshot &snapshot);

void Form2Load(const FileNames &files, Settings &settings);
std::optional<WriteFailure> Form2Save(const FileNames &files, const Settings &settings);

} // namespace kobako
