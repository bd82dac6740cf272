#include "ui/InstanceChannel.h"

#include "platform/KnownFolders.h"

#include <QLocalSocket>

namespace ui {

namespace {

constexpr char kActivate[] = "activate\n";

} // namespace

std::string InstanceSocketPath(const std::string& lockName) {
    return platform::RuntimeFolder() + "/" + lockName + ".socket";
}

CInstanceChannel::CInstanceChannel(const std::string& lockName, QObject* parent)
    : QObject(parent), m_strPath(InstanceSocketPath(lockName)) {
    connect(&m_server, &QLocalServer::newConnection, this, &CInstanceChannel::OnConnection);
}

bool CInstanceChannel::Listen() {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(QString::fromStdString(m_strPath));
    return m_server.listen(QString::fromStdString(m_strPath));
}

void CInstanceChannel::OnConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only the one request is understood; anything else is dropped.
            while (socket->canReadLine()) {
                if (socket->readLine(64) == kActivate)
                    emit ActivationRequested();
            }
            if (socket->bytesAvailable() > 64)
                socket->abort();
        });
    }
}

bool CInstanceChannel::RequestActivation(const std::string& lockName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(InstanceSocketPath(lockName)));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

} // namespace ui
