#pragma once

#include "core/shared_text.h"
#include "file_names.h"
#include "files.h"
#include "write_result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kobako::storage {

// The history file: each entry, newest first, as its text followed by a line end
// and the marker line.
//
// A text the format cannot hold as it is (one with a lone CR, which would end a line, or with a
// line that begins with the marker) is written escaped, and its record ends with the marker
// line followed by "%" instead: in its lines "%" is written "%25", a lone CR "%0D", and the
// "T" that begins a line "%54". Only this program writes that form and reads it back; every
// other text is written as the original program writes it.
inline constexpr std::string_view kRecordMarker = "Text Start Point";
inline constexpr std::string_view kEscapedRecordMarker = "Text Start Point%";

// Reads the records of the file from its bytes as they come, piece by piece, so that a large
// file is never held whole beside the texts taken from it. A line that is exactly the marker
// (or the escaped record's marker) ends a record (a text in a file from elsewhere may hold a
// line that only begins with it); lines after the last marker belong to no record and are
// dropped. Lines end as LineReader says, and are joined inside a
// record with CR LF. Each record is decoded on its own: UTF-8, or else CP932 from the Windows
// original.
class HistoryFileReader {
  public:
    explicit HistoryFileReader(size_t maxRecords = SIZE_MAX) : maxRecords_(maxRecords) {}
    void add(std::string_view bytes);
    // The records read, at most `maxRecords`; the reader is spent.
    std::vector<std::string> finish();

  private:
    void takeLine(std::string_view line);

    size_t maxRecords_;
    std::vector<std::string> records_;
    std::string collected_; // the lines of the record being read
    bool anyLine_ = false;
    std::string partialLine_;   // a line whose end is in a later piece
    bool skipLineFeed_ = false; // the last piece ended with CR: an LF next belongs to it
};

std::vector<std::string> readHistoryRecords(std::string_view text, size_t maxRecords);

// Gives the file's bytes to `put` piece by piece (a text without a copy where it needs no
// escape), so that a large history is never built whole.
void writeHistoryRecords(size_t count, const std::function<const std::string &(size_t)> &textAt,
                         const std::function<void(std::string_view)> &put);
std::string writeHistoryText(size_t count,
                             const std::function<const std::string &(size_t)> &textAt);

// The history file as read: its records, newest first (none without a file), and what became of
// the reading. A file that is there but cannot be read must not be written over: the history it
// holds is the user's.
struct StoredHistory {
    std::vector<std::string> records;
    ReadOutcome outcome;
    bool unreadable() const { return outcome.kind == ReadOutcome::Unreadable; }
};

// The history file among the program's files. Reading needs no settings and no window, so it can
// run on a thread while the program starts; saving writes the texts piece by piece, on any
// thread, from texts shared with the history.
class HistoryFile {
  public:
    explicit HistoryFile(const FileNames &files) : path_(files.historyFile()) {}
    const std::string &path() const { return path_; }
    StoredHistory read() const;
    WriteResult save(const std::vector<SharedText> &texts) const;

  private:
    std::string path_;
};

} // namespace kobako::storage
