#pragma once
// The request of the update check: an HTTP/1.0 form POST whose body carries
// some noise, the program's version and the data version. Both sides derive
// the reply's key from the body, so it must go on the wire exactly as built.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quillory {

// What the server is told about this copy: the version strings and the data
// version ("%04X", "0000" before the index is loaded).
struct UpdateVersions {
    QByteArray major;
    QByteArray minor;
    QByteArray data;

    // The program's own version with the given data version.
    static UpdateVersions Current(const QString& dataVersion);
};

// The noise at the start of the body: the time in seconds since 1970 and
// four numbers from 0 to 98.
struct RequestNoise {
    std::int64_t time = 0;
    int r1 = 0;
    int r2 = 0;
    int r3 = 0;
    int r4 = 0;

    // The current time and four fresh numbers.
    static RequestNoise Draw();
};

// "tsrv=" r4 r3 time r2 r1 "&major=..&minor=..&data=..&".
QByteArray UpdateRequestBody(const RequestNoise& noise, const UpdateVersions& versions);

// The head for a body of the given length. It ends with two bare line feeds,
// which is what the server expects.
QByteArray UpdateRequestHead(const QByteArray& host, qsizetype bodyLength);

// The reply's key: the first 16 lower-case hexadecimal digits of the MD5
// digest of the body as sent.
QByteArray UpdateReplyKey(const QByteArray& body);

} // namespace quillory
