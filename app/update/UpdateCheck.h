#pragma once
// The once-per-start question to the vendor's server whether a newer version
// exists. It runs asynchronously on the calling thread's event loop: the name
// look-up, the connection and the reply each have a time limit, and the result
// arrives through finished().
#include "app/update/UpdateRequest.h"
#include "app/update/UpdateServer.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QTcpSocket;
class QTimer;

namespace quillory {

enum class UpdateCheckOutcome {
    NotStarted,
    Running,
    NotConfigured, // no server named at build time: nothing was sent
    ConnectFailed, // name not found or connection refused
    ConnectTimedOut,
    NoReply,       // the server closed or failed without sending anything
    ReplyTimedOut, // nothing arrived before the reply time limit
    NoAddress,     // a reply without a usable update address
    AddressFound,
};

struct UpdateCheckTimeouts {
    int lookupMs = 3000;  // the name look-up
    int connectMs = 3000; // the connection, once the address is known
    int replyMs = 10000;  // from the request sent to the end of the reply
};

class UpdateChecker final : public QObject {
    Q_OBJECT
public:
    // With no server the check reports no update at once.
    UpdateChecker(std::optional<UpdateServer> server, UpdateVersions versions, QObject* parent = nullptr);
    ~UpdateChecker() override;

    void setTimeouts(const UpdateCheckTimeouts& timeouts) { timeouts_ = timeouts; }
    // Replaces the time and random numbers put at the start of the body.
    void setNoiseSource(std::function<RequestNoise()> source) { noiseSource_ = std::move(source); }

    // Begins the check; returns at once. A check runs only once: later calls
    // do nothing. finished() is always emitted from the event loop, never
    // from inside start().
    void Start();

    UpdateCheckOutcome outcome() const { return outcome_; }
    bool isRunning() const { return outcome_ == UpdateCheckOutcome::Running; }
    // The address found; empty until a check has found one.
    const QString& address() const { return address_; }

signals:
    // Emitted once per check: the update address, or empty for none.
    void finished(const QString& address);

private:
    void onStateChanged(QAbstractSocket::SocketState state);
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onTimeout();
    void finishWithReply();
    void finish(UpdateCheckOutcome outcome, const QString& address = QString());

    enum class Phase { Idle, LookingUp, Connecting, AwaitingReply, Done };

    std::optional<UpdateServer> server_;
    UpdateVersions versions_;
    UpdateCheckTimeouts timeouts_;
    std::function<RequestNoise()> noiseSource_;
    QTcpSocket* socket_ = nullptr;
    QTimer* timer_ = nullptr;
    Phase phase_ = Phase::Idle;
    UpdateCheckOutcome outcome_ = UpdateCheckOutcome::NotStarted;
    QByteArray body_;
    QByteArray received_;
    QString address_;
};

} // namespace quillory
