#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kesto::ui {
namespace {

constexpr int kConnectTimeoutMs = 1000;

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), name_(name + QLatin1Char('-') + QString::number(static_cast<qulonglong>(::getuid()))) {
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}

bool SingleInstance::claim() {
    if (askRunningCopy()) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Taken: either a copy that started at the same moment, or a leftover of one that crashed.
        if (askRunningCopy()) return false;
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_) && askRunningCopy()) return false;
        // Without the name this copy still runs, only unguarded.
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::acceptConnection() {
    // A connection is the whole request: the later copy ends right after it.
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->state() != QLocalSocket::ConnectedState) socket->deleteLater();
        if (activate_) activate_();
    }
}

} // namespace kesto::ui
