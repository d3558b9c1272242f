#include "app/SingleInstance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtGlobal>

#include <unistd.h>

namespace kesto::ui {
namespace {

constexpr int kConnectTimeoutMs = 1000;

// Qt checks the owner and mode of $XDG_RUNTIME_DIR and falls back to a private
// folder of its own; it does not check that the folder exists. A folder that is
// missing or open to others could be taken by another user, so it is not used.
QString PrivateRuntimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) return {};
    const QFileInfo info(dir);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (!info.isDir() || info.ownerId() != ::getuid() || (info.permissions() & others)) return {};
    return dir;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent) {
    const QString dir = PrivateRuntimeFolder();
    if (!dir.isEmpty()) name_ = dir + QLatin1Char('/') + name;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::AskRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}

bool SingleInstance::Claim() {
    if (name_.isEmpty()) {
        qWarning("Kesto: no private runtime folder ($XDG_RUNTIME_DIR), so starting a second copy is not "
                 "prevented");
        return true;
    }
    if (AskRunningCopy()) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Taken: either a copy that started at the same moment, or a leftover of one that crashed.
        if (AskRunningCopy()) return false;
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_) && AskRunningCopy()) return false;
        // Without the name this copy still runs, only unguarded.
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnection);
    return true;
}

void SingleInstance::AcceptConnection() {
    // A connection is the whole request: the later copy ends right after it.
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->state() != QLocalSocket::ConnectedState) socket->deleteLater();
        if (activate_) activate_();
    }
}

} // namespace kesto::ui
