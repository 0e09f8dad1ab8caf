#pragma once

#include <QObject>

#include <string>

class QLocalServer;

namespace kobako::platform {

// How a second start in the same directory reaches the instance already working there: a local
// socket beside the instance lock (in the user's own runtime directory, never in the working
// directory). The running instance opens the door; a second start knocks and ends.
class InstanceDoor : public QObject {
    Q_OBJECT
  public:
    // Listens at `lockPath` + ".socket"; with no lock file (no private directory), it does not.
    explicit InstanceDoor(const std::string &lockPath, QObject *parent = nullptr);
    // True when the instance at `lockPath` heard the knock.
    static bool knock(const std::string &lockPath);

  signals:
    void knocked();

  private:
    QLocalServer *server_ = nullptr;
};

} // namespace kobako::platform
