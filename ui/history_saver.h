#pragma once

#include "core/shared_text.h"
#include "storage/history_file.h"

#include <QTimer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kobako::ui {

// Keeps the history file a short time behind the window, so that losing the X server or the
// session loses only the last moments. A change asks for a save a little later (a burst of
// changes makes one save); a snapshot that shares the texts is taken on the user-interface thread
// and written on a thread of this saver's own, so a large history never stalls the window and
// is never held twice.
class HistorySaver : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDelayMs = 1000;

    // `snapshotNow` gives the texts to save at the moment of the save.
    using Snapshot = std::vector<SharedText>;
    HistorySaver(storage::HistoryFile file, std::function<Snapshot()> snapshotNow,
                 QObject *parent = nullptr);
    ~HistorySaver() override;

    void changed();
    // Drops the save that was asked for and waits for a write under way, so that none can land
    // after the caller's own save. Later changes are saved again as usual.
    void finishPending();

  private:
    void saveNow();
    void writeLoop();

    storage::HistoryFile file_;
    std::function<Snapshot()> snapshotNow_;
    QTimer delay_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Snapshot> next_; // the newest history not yet written
    bool writing_ = false;
    bool stopping_ = false;
    std::string lastFailure_;
    std::thread writer_;
};

} // namespace kobako::ui
