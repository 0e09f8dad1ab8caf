#include "instance_door.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace kobako::platform {

namespace {

constexpr int kKnockTimeoutMs = 1000;

QString socketPath(const std::string &lockPath) {
#ifdef _WIN32
    // A named pipe's name holds no directories.
    return QFileInfo(QString::fromStdString(lockPath)).fileName() + QStringLiteral(".socket");
#else
    return QString::fromStdString(lockPath + ".socket");
#endif
}

} // namespace

InstanceDoor::InstanceDoor(const std::string &lockPath, QObject *parent) : QObject(parent) {
    if (lockPath.empty())
        return;
    // A socket left by an instance that was killed: the lock says none listens there now.
    QLocalServer::removeServer(socketPath(lockPath));
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath(lockPath)))
        return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *visitor = server_->nextPendingConnection())
            visitor->deleteLater();
        emit knocked();
    });
}

bool InstanceDoor::knock(const std::string &lockPath) {
    if (lockPath.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath(lockPath));
    return socket.waitForConnected(kKnockTimeoutMs);
}

} // namespace kobako::platform
