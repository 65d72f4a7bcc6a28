#pragma once
// The update server's side of the reply scrambling, written independently of
// the program: each plain byte plus the key character at its position modulo
// 16, written as three decimal digits.
#include <QByteArray>
#include <QCryptographicHash>

namespace quillory::testing {

// Scrambles plain with a 16-character key.
inline QByteArray ScrambleReply(const QByteArray& plain, const QByteArray& key) {
    QByteArray payload;
    for (qsizetype k = 0; k < plain.size(); ++k) {
        const int value = static_cast<unsigned char>(plain[k]) + static_cast<unsigned char>(key[k % 16]);
        payload += QByteArray::number(value).rightJustified(3, '0');
    }
    return payload;
}

// The key the server derives from the request body: the first 16 hex digits
// of the body's MD5.
inline QByteArray ReplyKeyFor(const QByteArray& requestBody) {
    return QCryptographicHash::hash(requestBody, QCryptographicHash::Md5).toHex().left(16);
}

// Scrambles plain as the server answers the request body.
inline QByteArray ScrambleReplyFor(const QByteArray& plain, const QByteArray& requestBody) {
    return ScrambleReply(plain, ReplyKeyFor(requestBody));
}

} // namespace quillory::testing
