#include "core/text_lines.h"
#include "storage/history_file.h"

#include <cstdlib>

// Records read from any bytes, as the program reads them (each decoded on its own), are valid
// UTF-8, and are written and read back unchanged (the file's own form: every line break inside a
// record is CR LF after one reading).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (size_t limit : {size_t{10}, SIZE_MAX}) {
        const auto records = kobako::storage::readHistoryRecords(text, limit);
        if (records.size() > limit)
            std::abort();
        for (const std::string &record : records)
            if (!kobako::isValidUtf8(record))
                std::abort();
        const std::string written = kobako::storage::writeHistoryText(
            records.size(), [&](size_t i) -> const std::string & { return records[i]; });
        if (kobako::storage::readHistoryRecords(written, SIZE_MAX) != records)
            std::abort();
    }
    return 0;
}
