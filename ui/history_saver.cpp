#include "history_saver.h"

#include "platform/process.h"

#include <iostream>

namespace kobako::ui {

HistorySaver::HistorySaver(storage::HistoryFile file, std::function<Snapshot()> snapshotNow,
                           QObject *parent)
    : QObject(parent), file_(std::move(file)), snapshotNow_(std::move(snapshotNow)),
      writer_([this] { writeLoop(); }) {
    delay_.setParent(this);
    delay_.setObjectName(QStringLiteral("historySaveDelay"));
    delay_.setSingleShot(true);
    delay_.setInterval(kDelayMs);
    connect(&delay_, &QTimer::timeout, this, &HistorySaver::saveNow);
}

HistorySaver::~HistorySaver() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    writer_.join();
}

void HistorySaver::changed() {
    // Not restarted by each change: a steady stream of copies still gets saved.
    if (!delay_.isActive())
        delay_.start();
}

void HistorySaver::saveNow() {
    Snapshot snapshot = snapshotNow_();
    {
        std::lock_guard lock(mutex_);
        next_ = std::move(snapshot); // an older save not yet begun is not needed any more
    }
    wake_.notify_one();
}

void HistorySaver::finishPending() {
    delay_.stop();
    std::unique_lock lock(mutex_);
    next_.reset();
    idle_.wait(lock, [this] { return !writing_; });
}

void HistorySaver::writeLoop() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || next_; });
        if (stopping_)
            return;
        std::optional<Snapshot> snapshot = std::move(next_);
        next_.reset();
        writing_ = true;
        lock.unlock();
        const storage::WriteResult saved = file_.save(*snapshot);
        // Texts the history let go since may have lived on in the snapshot: freed here, and the
        // memory they held handed back.
        snapshot.reset();
        platform::releaseFreeMemory();
        lock.lock();
        writing_ = false;
        idle_.notify_all();
        // The exit reports a failure to the user; here it is told once, not at every change.
        const std::string reason = saved.written() ? std::string() : saved.failure().reason;
        if (!saved.written() && reason != lastFailure_)
            std::cerr << "Kobako: " << saved.failure().file << ": " << reason << '\n';
        lastFailure_ = reason;
    }
}

} // namespace kobako::ui
