#pragma once
// The reply of the update check: everything after "return=" is a run of
// three-digit groups, each a plain byte plus a character of the key. The
// plain text holds the fields "url=", "major=", "minor=" and "data=", each
// ended by a line feed.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace quillory {

// The most the check reads of a reply.
inline constexpr qsizetype kUpdateReplyLimit = 2048;

// Everything after the first "return=" in the body (after the blank line
// that ends the headers, CRLF or bare LF) up to the end of what was
// received; none when there is no body or no "return=" in it. A header never
// carries the payload.
std::optional<QByteArray> FindReplyPayload(const QByteArray& received);

// Group k starts at character 3k; a last group of one or two characters is
// read as a number of that many digits. Each group is read like atoi (blanks,
// a sign, then digits) and gives that number minus the code of key character
// k mod 16, kept to eight bits. The key must not be empty.
QByteArray UnscramblePayload(QByteArrayView payload, QByteArrayView key);

struct UpdateFields {
    QByteArray url;
    QByteArray major;
    QByteArray minor;
    QByteArray data;
};

// "url=" and, after its line, "major=", "minor=" and "data="; none when a
// field is missing or its value has no closing line feed.
std::optional<UpdateFields> ParseUpdateFields(const QByteArray& plain);

// url "?major=" major "?minor=" minor "?data=" data.
QString ComposeUpdateAddress(const UpdateFields& fields);

// Whether an address may be handed to the user's browser: a well-formed http
// or https address with a host. The reply travels unauthenticated, so anything
// else (local files, other programs' schemes) is refused.
bool IsOpenableUpdateAddress(const QString& address);

// The whole reading of a received reply for the request body that was sent:
// the update address, or none.
std::optional<QString> ReadUpdateReply(const QByteArray& received, const QByteArray& body);

} // namespace quillory
