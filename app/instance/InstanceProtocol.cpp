#include "app/instance/InstanceProtocol.h"

#include "settings/NameRegistry.h"

#include <QtEndian>

namespace quillory {

InstanceProtocolIds InstanceProtocolIds::From(NameRegistry& names) {
    InstanceProtocolIds ids;
    ids.areYouThere = names.Register(QString::fromLatin1(kAreYouThereName));
    ids.showYourself = names.Register(QString::fromLatin1(kShowYourselfName));
    ids.quitYourself = names.Register(QString::fromLatin1(kQuitYourselfName));
    return ids;
}

std::uint32_t InstanceProtocolIds::requestParameter(InstanceRequest request) const {
    return request == InstanceRequest::Show ? showYourself : quitYourself;
}

InstanceAnswer AnswerInstanceRequest(const InstanceProtocolIds& ids, std::uint32_t wParam,
                                     std::uint32_t lParam) {
    if (wParam != lParam) {
        return {};
    }
    if (wParam == ids.showYourself) {
        return {InstanceAction::Show, ids.showReply()};
    }
    if (wParam == ids.quitYourself) {
        return {InstanceAction::Quit, ids.quitReply()};
    }
    return {};
}

namespace instance_wire {
namespace {

void AppendNumber(QByteArray& bytes, std::uint32_t value) {
    char buffer[4];
    qToBigEndian(value, buffer);
    bytes.append(buffer, sizeof buffer);
}

std::uint32_t NumberAt(QByteArrayView bytes, qsizetype offset) {
    return qFromBigEndian<std::uint32_t>(bytes.data() + offset);
}

} // namespace

QByteArray EncodeRequest(Request request) {
    QByteArray bytes;
    bytes.reserve(kRequestSize);
    AppendNumber(bytes, request.wParam);
    AppendNumber(bytes, request.lParam);
    return bytes;
}

std::optional<Request> DecodeRequest(QByteArrayView bytes) {
    if (bytes.size() < kRequestSize) {
        return std::nullopt;
    }
    return Request{NumberAt(bytes, 0), NumberAt(bytes, 4)};
}

QByteArray EncodeReply(std::uint32_t reply) {
    QByteArray bytes;
    bytes.reserve(kReplySize);
    AppendNumber(bytes, reply);
    return bytes;
}

std::optional<std::uint32_t> DecodeReply(QByteArrayView bytes) {
    if (bytes.size() < kReplySize) {
        return std::nullopt;
    }
    return NumberAt(bytes, 0);
}

} // namespace instance_wire

} // namespace quillory
