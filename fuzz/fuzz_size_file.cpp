#include "core/text_lines.h"
#include "storage/size_file.h"

#include <cstdlib>

// Any bytes give a usable size, and a written size reads back as itself.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Decoded line by line, as the program reads the file.
    const std::string text =
        kobako::decodeLines(std::string_view(reinterpret_cast<const char *>(data), size));
    const kobako::storage::SavedSize read = kobako::storage::readSizeFile(text);
    if (!(read.savedHeight >= kobako::storage::SavedSize::kSmallest) ||
        !(read.savedWidth >= kobako::storage::SavedSize::kSmallest))
        std::abort();
    const kobako::storage::SavedSize again = kobako::storage::readSizeFile(
        kobako::storage::writeSizeFile(read.savedHeight, read.savedWidth));
    if (again.savedHeight != read.savedHeight || again.savedWidth != read.savedWidth)
        std::abort();
    return 0;
}
