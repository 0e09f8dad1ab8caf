#pragma once

#include <QObject>

#include <memory>
#include <string>

namespace kobako::platform {

// How a second start in the same directory reaches the instance already working there: a local
// socket beside the instance lock (in the user's own runtime directory, never in the working
// directory), or on Windows a named pipe named after the lock. The running instance opens the
// door; a second start knocks and ends.
class InstanceDoor : public QObject {
    Q_OBJECT
  public:
    // Listens at `lockPath` + ".socket"; with no lock file (no private directory), it does not.
    explicit InstanceDoor(const std::string &lockPath, QObject *parent = nullptr);
    ~InstanceDoor() override;
    // True when the instance at `lockPath` heard the knock; `summon` asks it to come as its key
    // calls it (on Windows, where the key is the system's own, it comes as for any knock).
    static bool knock(const std::string &lockPath, bool summon);

  signals:
    void knocked(bool summon);

  private:
    struct Listening; // each system's own
    std::unique_ptr<Listening> listening_;
};

} // namespace kobako::platform
