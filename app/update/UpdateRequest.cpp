#include "app/update/UpdateRequest.h"

#include "settings/ProductInfo.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRandomGenerator>

namespace quillory {

namespace {

// Two decimal digits; the numbers are always below 100.
QByteArray TwoDigits(int value) {
    return QByteArray::number(value).rightJustified(2, '0');
}

} // namespace

UpdateVersions UpdateVersions::Current(const QString& dataVersion) {
    return {QByteArray(kVersionMajor), QByteArray(kVersionMinor), dataVersion.toUtf8()};
}

RequestNoise RequestNoise::Draw() {
    QRandomGenerator* random = QRandomGenerator::global();
    RequestNoise noise;
    noise.time = QDateTime::currentSecsSinceEpoch();
    noise.r1 = static_cast<int>(random->bounded(99u));
    noise.r2 = static_cast<int>(random->bounded(99u));
    noise.r3 = static_cast<int>(random->bounded(99u));
    noise.r4 = static_cast<int>(random->bounded(99u));
    return noise;
}

QByteArray UpdateRequestBody(const RequestNoise& noise, const UpdateVersions& versions) {
    QByteArray body = "tsrv=";
    body += TwoDigits(noise.r4);
    body += TwoDigits(noise.r3);
    body += QByteArray::number(static_cast<qlonglong>(noise.time));
    body += TwoDigits(noise.r2);
    body += TwoDigits(noise.r1);
    body += "&major=" + versions.major + "&minor=" + versions.minor + "&data=" + versions.data + '&';
    return body;
}

QByteArray UpdateRequestHead(const QByteArray& host, qsizetype bodyLength) {
    QByteArray head = "POST /checkNewUpdate.php HTTP/1.0\r\n"
                      "Content-Type: application/x-www-form-urlencoded\r\n"
                      "Accept-Encoding: gzip, deflate\r\n"
                      "Host: ";
    head += host;
    head += "\r\nContent-Length: ";
    head += QByteArray::number(static_cast<qlonglong>(bodyLength));
    head += "\n\n";
    return head;
}

QByteArray UpdateReplyKey(const QByteArray& body) {
    return QCryptographicHash::hash(body, QCryptographicHash::Md5).toHex().left(16);
}

} // namespace quillory
