#include "app/update/UpdateCheck.h"

#include "app/update/UpdateReply.h"

#include <QTcpSocket>
#include <QTimer>

namespace quillory {

namespace {

// The socket takes the host without the brackets of an IPv6 address.
QString ConnectableHost(const QByteArray& host) {
    QString name = QString::fromUtf8(host);
    if (name.startsWith(u'[') && name.endsWith(u']')) {
        name = name.mid(1, name.size() - 2);
    }
    return name;
}

} // namespace

UpdateChecker::UpdateChecker(std::optional<UpdateServer> server, UpdateVersions versions, QObject* parent)
    : QObject(parent), server_(std::move(server)), versions_(std::move(versions)),
      noiseSource_(&RequestNoise::Draw), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &UpdateChecker::onTimeout);
}

UpdateChecker::~UpdateChecker() = default;

void UpdateChecker::Start() {
    if (outcome_ != UpdateCheckOutcome::NotStarted) {
        return;
    }
    outcome_ = UpdateCheckOutcome::Running;
    if (!server_) {
        // Reported from the event loop so that callers see the same order of
        // events whether or not a server is configured.
        QMetaObject::invokeMethod(
            this, [this] { finish(UpdateCheckOutcome::NotConfigured); }, Qt::QueuedConnection);
        return;
    }
    socket_ = new QTcpSocket(this);
    connect(socket_, &QAbstractSocket::stateChanged, this, &UpdateChecker::onStateChanged);
    connect(socket_, &QAbstractSocket::connected, this, &UpdateChecker::onConnected);
    connect(socket_, &QIODevice::readyRead, this, &UpdateChecker::onReadyRead);
    connect(socket_, &QAbstractSocket::disconnected, this, &UpdateChecker::onDisconnected);
    connect(socket_, &QAbstractSocket::errorOccurred, this, &UpdateChecker::onErrorOccurred);
    phase_ = Phase::LookingUp;
    timer_->start(timeouts_.lookupMs);
    socket_->connectToHost(ConnectableHost(server_->host), server_->port);
}

void UpdateChecker::onStateChanged(QAbstractSocket::SocketState state) {
    // The connection gets its own time limit once the name is resolved.
    if (state == QAbstractSocket::ConnectingState && phase_ == Phase::LookingUp) {
        phase_ = Phase::Connecting;
        timer_->start(timeouts_.connectMs);
    }
}

void UpdateChecker::onConnected() {
    if (phase_ == Phase::Done) {
        return;
    }
    phase_ = Phase::AwaitingReply;
    const RequestNoise noise = noiseSource_();
    body_ = UpdateRequestBody(noise, versions_);
    socket_->write(UpdateRequestHead(server_->host, body_.size()));
    socket_->write(body_);
    timer_->start(timeouts_.replyMs);
}

void UpdateChecker::onReadyRead() {
    if (phase_ != Phase::AwaitingReply) {
        return;
    }
    // The reply may come in several pieces: gather them up to the limit or
    // until the server closes the connection.
    const qsizetype room = kUpdateReplyLimit - received_.size();
    received_ += socket_->read(room);
    if (received_.size() >= kUpdateReplyLimit) {
        finishWithReply();
    }
}

void UpdateChecker::onDisconnected() {
    if (phase_ == Phase::AwaitingReply) {
        onReadyRead(); // whatever is still buffered
        if (phase_ == Phase::AwaitingReply) {
            finishWithReply();
        }
    }
}

void UpdateChecker::onErrorOccurred(QAbstractSocket::SocketError error) {
    switch (phase_) {
    case Phase::LookingUp:
    case Phase::Connecting:
        finish(UpdateCheckOutcome::ConnectFailed);
        break;
    case Phase::AwaitingReply:
        // The peer closing after its reply is the normal end of an HTTP/1.0
        // exchange; disconnected() may follow, but the reply is complete.
        if (error == QAbstractSocket::RemoteHostClosedError) {
            onDisconnected();
        } else {
            onReadyRead();
            if (phase_ == Phase::AwaitingReply) {
                finishWithReply();
            }
        }
        break;
    case Phase::Idle:
    case Phase::Done:
        break;
    }
}

void UpdateChecker::onTimeout() {
    switch (phase_) {
    case Phase::LookingUp:
    case Phase::Connecting:
        finish(UpdateCheckOutcome::ConnectTimedOut);
        break;
    case Phase::AwaitingReply:
        // A server that stops sending part-way still had its say.
        if (received_.isEmpty()) {
            finish(UpdateCheckOutcome::ReplyTimedOut);
        } else {
            finishWithReply();
        }
        break;
    case Phase::Idle:
    case Phase::Done:
        break;
    }
}

void UpdateChecker::finishWithReply() {
    if (received_.isEmpty()) {
        finish(UpdateCheckOutcome::NoReply);
        return;
    }
    const auto address = ReadUpdateReply(received_, body_);
    if (address) {
        finish(UpdateCheckOutcome::AddressFound, *address);
    } else {
        finish(UpdateCheckOutcome::NoAddress);
    }
}

void UpdateChecker::finish(UpdateCheckOutcome outcome, const QString& address) {
    if (phase_ == Phase::Done) {
        return;
    }
    phase_ = Phase::Done;
    timer_->stop();
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    outcome_ = outcome;
    address_ = address;
    emit finished(address_);
}

} // namespace quillory
