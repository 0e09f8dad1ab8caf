#include "instance_door.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace kobako::platform {

namespace {

constexpr int kKnockTimeoutMs = 1000;
constexpr char kSummon[] = "show";

QString socketPath(const std::string &lockPath) {
    return QString::fromStdString(lockPath + ".socket");
}

} // namespace

struct InstanceDoor::Listening {
    QLocalServer server;
};

InstanceDoor::InstanceDoor(const std::string &lockPath, QObject *parent)
    : QObject(parent), listening_(std::make_unique<Listening>()) {
    if (lockPath.empty())
        return;
    // A socket left by an instance that was killed: the lock says none listens there now.
    QLocalServer::removeServer(socketPath(lockPath));
    QLocalServer &server = listening_->server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(socketPath(lockPath)))
        return;
    // What a visitor says is known once it has gone.
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *visitor = listening_->server.nextPendingConnection()) {
            connect(visitor, &QLocalSocket::disconnected, this, [this, visitor] {
                visitor->deleteLater();
                emit knocked(visitor->readAll() == kSummon);
            });
        }
    });
}

InstanceDoor::~InstanceDoor() = default;

bool InstanceDoor::knock(const std::string &lockPath, bool summon) {
    if (lockPath.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath(lockPath));
    if (!socket.waitForConnected(kKnockTimeoutMs))
        return false;
    if (summon) {
        socket.write(kSummon);
        socket.waitForBytesWritten(kKnockTimeoutMs);
    }
    socket.disconnectFromServer();
    return true;
}

} // namespace kobako::platform
