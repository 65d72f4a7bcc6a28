#include "app/instance/SingleInstance.h"

#include "app/instance/SocketFolder.h"
#include "settings/NameRegistry.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace quillory {
namespace {

// How long listen() waits for another starting instance that is checking
// the same socket, and for a connection to a socket file to be accepted.
constexpr int kLockWaitMs = 2000;
constexpr int kProbeTimeoutMs = 500;

int RemainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(deadline.remainingTime());
}

bool IsDeadSocket(QLocalSocket::LocalSocketError error) {
    return error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError;
}

bool IsOwnUser(const QLocalSocket& socket) {
    return PeerUserId(socket) == getuid();
}

} // namespace

QString InstanceSocketPath(std::uint32_t userId, const QString& folder) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(kAreYouThereName));
    hash.addData(QByteArrayView(":"));
    hash.addData(QByteArray::number(userId));
    const QString name = QStringLiteral("quillory-") + QString::fromLatin1(hash.result().toHex().left(16));
    return QDir(folder).filePath(name);
}

QString CurrentUserInstanceSocketPath() {
    // Qt gives a runtime folder only when it is the user's own with mode 0700.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = PrivateSocketFolder(QDir::tempPath());
    }
    if (folder.isEmpty()) {
        return {};
    }
    return InstanceSocketPath(static_cast<std::uint32_t>(getuid()), folder);
}

InstanceReply AskRunningInstance(NameRegistry& names, const QString& socketPath, InstanceRequest request,
                                 int timeoutMs) {
    const InstanceProtocolIds ids = InstanceProtocolIds::From(names);
    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    if (socketPath.isEmpty()) {
        return InstanceReply::NoInstance; // no private folder for a socket
    }

    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(RemainingMs(deadline))) {
        // A name that exists but cannot be reached counts as a running
        // instance that does not answer.
        return IsDeadSocket(socket.error()) ? InstanceReply::NoInstance : InstanceReply::NoAnswer;
    }
    if (!IsOwnUser(socket)) {
        // Another user listens on the name: nothing is sent to it, and what
        // it would answer counts for nothing.
        socket.abort();
        return InstanceReply::NoAnswer;
    }

    const std::uint32_t parameter = ids.requestParameter(request);
    socket.write(instance_wire::EncodeRequest({parameter, parameter}));
    socket.flush();
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(RemainingMs(deadline))) {
        return InstanceReply::NoAnswer;
    }

    QByteArray reply;
    while (reply.size() < instance_wire::kReplySize) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(RemainingMs(deadline))) {
            break;
        }
        reply += socket.read(instance_wire::kReplySize - reply.size());
    }
    socket.abort();

    const std::optional<std::uint32_t> value = instance_wire::DecodeReply(reply);
    if (!value) {
        return InstanceReply::NoAnswer;
    }
    if (*value == ids.showReply()) {
        return InstanceReply::AnsweredShow;
    }
    if (*value == ids.quitReply()) {
        return InstanceReply::AnsweredQuit;
    }
    return InstanceReply::Unrecognised;
}

SingleInstanceServer::SingleInstanceServer(NameRegistry& names, QString socketPath, QObject* parent)
    : QObject(parent), ids_(InstanceProtocolIds::From(names)), socketPath_(std::move(socketPath)),
      server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstanceServer::acceptConnections);
}

SingleInstanceServer::~SingleInstanceServer() {
    close();
}

SingleInstanceServer::ListenResult SingleInstanceServer::Listen() {
    if (server_->isListening()) {
        return ListenResult::Listening;
    }
    error_.clear();
    if (socketPath_.isEmpty()) {
        error_ = QStringLiteral("There is no private folder for the instance socket.");
        return ListenResult::Failed;
    }

    // Two instances starting together must not both find the socket dead and
    // then remove each other's socket. The lock is best effort: a start that
    // cannot get it goes on without it.
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    lock.tryLock(kLockWaitMs);

    QLocalSocket probe;
    probe.connectToServer(socketPath_);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        error_ = QStringLiteral("Another instance is listening on %1.").arg(socketPath_);
        return ListenResult::InstanceRunning;
    }
    const QLocalSocket::LocalSocketError probeError = probe.error();
    if (probeError == QLocalSocket::ConnectionRefusedError) {
        // Nobody accepts connections: the file is left from an instance
        // that ended without closing it.
        QLocalServer::removeServer(socketPath_);
    } else if (probeError == QLocalSocket::SocketTimeoutError) {
        error_ = QStringLiteral("The instance on %1 does not answer.").arg(socketPath_);
        return ListenResult::InstanceRunning;
    } else if (!IsDeadSocket(probeError)) {
        error_ = probe.errorString();
        return ListenResult::Failed;
    }

    if (!server_->listen(socketPath_)) {
        error_ = server_->errorString();
        return ListenResult::Failed;
    }
    return ListenResult::Listening;
}

void SingleInstanceServer::close() {
    if (server_->isListening()) {
        server_->close();
    }
}

bool SingleInstanceServer::isListening() const {
    return server_->isListening();
}

void SingleInstanceServer::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!IsOwnUser(*socket)) {
            socket->abort(); // only the user's own processes are heard
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        // A client that connects and sends nothing must not keep its
        // connection open for ever.
        QTimer::singleShot(requestTimeoutMs_, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        answer(socket);
    }
}

void SingleInstanceServer::answer(QLocalSocket* socket) {
    if (socket->state() != QLocalSocket::ConnectedState ||
        socket->bytesAvailable() < instance_wire::kRequestSize) {
        return;
    }
    const std::optional<instance_wire::Request> request =
        instance_wire::DecodeRequest(socket->read(instance_wire::kRequestSize));
    const InstanceAnswer result = AnswerInstanceRequest(ids_, request->wParam, request->lParam);

    socket->write(instance_wire::EncodeReply(result.reply));
    socket->flush();
    socket->disconnectFromServer();

    // The reply is on its way before the window acts: a quit must not end
    // the process before the asking side has its answer.
    switch (result.action) {
    case InstanceAction::Show:
        emit showRequested();
        break;
    case InstanceAction::Quit:
        emit quitRequested();
        break;
    case InstanceAction::None:
        break;
    }
}

} // namespace quillory
