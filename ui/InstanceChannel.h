// How a second start of the program reaches the first: the running copy
// listens on a local socket named after its single-instance lock, and a
// second copy asks it to bring its main window forward before ending.
#pragma once

#include <QLocalServer>
#include <QObject>

#include <string>

namespace ui {

// The socket's path: in the runtime folder, so only this user's copies
// meet.
std::string InstanceSocketPath(const std::string& lockName);

class CInstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit CInstanceChannel(const std::string& lockName, QObject* parent = nullptr);

    // Starts listening; a socket file left by a copy that crashed is
    // replaced (the caller holds the lock, so no copy listens there).
    bool Listen();

    // From the second copy: true when the first one took the request.
    static bool RequestActivation(const std::string& lockName, int timeoutMs = 1000);

signals:
    void ActivationRequested();

private:
    void OnConnection();

    std::string m_strPath;
    QLocalServer m_server;
};

} // namespace ui
