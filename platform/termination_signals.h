#pragma once

#include <QObject>

namespace kobako::platform {

// SIGTERM, SIGINT and SIGHUP delivered as a signal on the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject *parent = nullptr);

  signals:
    void requested();
};

} // namespace kobako::platform
