#pragma once

#include "storage/write_result.h"

// Whether Kobako starts at login. The system keeps the record (the desktop's autostart entry,
// Windows' Run key), and it is read back each time, for the user may change it by hand.
namespace kobako::platform {

bool startsAtLogin();

// Makes the record, starting this program with its files in the data directory, or removes it.
storage::WriteResult setStartAtLogin(bool on);

} // namespace kobako::platform
