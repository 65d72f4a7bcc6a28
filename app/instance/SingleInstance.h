#pragma once
// One running instance per user: the first instance listens on a local
// socket named from the protocol's name and the user id; a later start asks
// it to show itself (or, for an outside program, to quit) and ends. The
// exchange itself is described in InstanceProtocol.h.
#include "app/instance/InstanceProtocol.h"

#include <QObject>
#include <QString>
#include <cstdint>

class QLocalServer;
class QLocalSocket;

namespace quillory {

class NameRegistry;

// The socket of a user's instance in a folder: "quillory-" and 16 hexadecimal
// digits of a hash of the protocol's name and the user id, so that it stays
// well inside the length limit of socket paths.
QString InstanceSocketPath(std::uint32_t userId, const QString& folder);
// The current user's socket, in the user's private runtime folder (the
// temporary folder when there is none).
QString CurrentUserInstanceSocketPath();

// Asks the instance listening on socketPath to show itself or to quit and
// waits at most timeoutMs in all for its reply. A socket file that nobody
// listens on counts as no instance.
InstanceReply AskRunningInstance(NameRegistry& names, const QString& socketPath, InstanceRequest request,
                                 int timeoutMs = 500);

// The running instance's side: holds the socket from listen() until close()
// (the Exit action) or destruction, answers each request and then tells the
// main window what was asked.
class SingleInstanceServer final : public QObject {
    Q_OBJECT
public:
    enum class ListenResult { Listening, InstanceRunning, Failed };

    // A connection that has not sent a whole request by then is dropped.
    static constexpr int kDefaultRequestTimeoutMs = 5000;

    SingleInstanceServer(NameRegistry& names, QString socketPath, QObject* parent = nullptr);
    ~SingleInstanceServer() override;

    // Takes the socket unless a live instance holds it. A socket file left by
    // an instance that has died (nobody accepts a connection on it) is
    // removed first; a socket that accepts connections is never taken over.
    ListenResult Listen();
    // Releases the socket and removes its file.
    void close();
    bool isListening() const;
    // Why the last listen() did not give Listening.
    QString errorString() const { return error_; }
    const QString& socketPath() const { return socketPath_; }
    void setRequestTimeout(int milliseconds) { requestTimeoutMs_ = milliseconds; }

signals:
    // Emitted after the reply has been sent: the main window restores and
    // raises itself, or saves its state and exits.
    void showRequested();
    void quitRequested();

private:
    void acceptConnections();
    void answer(QLocalSocket* socket);

    InstanceProtocolIds ids_;
    QString socketPath_;
    QLocalServer* server_;
    QString error_;
    int requestTimeoutMs_ = kDefaultRequestTimeoutMs;
};

} // namespace quillory
