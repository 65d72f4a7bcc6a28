#include "app/update/UpdateReply.h"

#include "app/update/UpdateRequest.h"

#include <QUrl>

#include <algorithm>

namespace quillory {

namespace {

constexpr qsizetype kGroupLength = 3;
constexpr qsizetype kKeyLength = 16;

bool IsAtoiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi over a group of at most three characters: leading blanks, an optional
// sign, then as many digits as follow.
int ReadGroupNumber(QByteArrayView group) {
    qsizetype i = 0;
    while (i < group.size() && IsAtoiBlank(group[i])) {
        ++i;
    }
    bool negative = false;
    if (i < group.size() && (group[i] == '+' || group[i] == '-')) {
        negative = group[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < group.size() && group[i] >= '0' && group[i] <= '9'; ++i) {
        value = value * 10 + (group[i] - '0');
    }
    return negative ? -value : value;
}

// The value of a field from its name to the next line feed, searched from
// `from`; none when the name or the line feed is missing. `end` receives the
// position after the line feed.
std::optional<QByteArray> FieldValue(const QByteArray& plain, QByteArrayView name, qsizetype from,
                                     qsizetype* end = nullptr) {
    const qsizetype at = plain.indexOf(name, from);
    if (at < 0) {
        return std::nullopt;
    }
    const qsizetype start = at + name.size();
    const qsizetype lineEnd = plain.indexOf('\n', start);
    if (lineEnd < 0) {
        return std::nullopt;
    }
    if (end) {
        *end = lineEnd + 1;
    }
    return plain.mid(start, lineEnd - start);
}

} // namespace

std::optional<QByteArray> FindReplyPayload(const QByteArray& received) {
    static constexpr QByteArrayView kMarker = "return=";
    // The headers end at the first blank line, whichever line ends it uses.
    const qsizetype crlf = received.indexOf("\r\n\r\n");
    const qsizetype lf = received.indexOf("\n\n");
    qsizetype body = -1;
    if (crlf >= 0 && (lf < 0 || crlf < lf)) {
        body = crlf + 4;
    } else if (lf >= 0) {
        body = lf + 2;
    }
    if (body < 0) {
        return std::nullopt;
    }
    const qsizetype at = received.indexOf(kMarker, body);
    if (at < 0) {
        return std::nullopt;
    }
    return received.mid(at + kMarker.size());
}

QByteArray UnscramblePayload(QByteArrayView payload, QByteArrayView key) {
    QByteArray plain;
    if (key.isEmpty()) {
        return plain;
    }
    const qsizetype keyLength = std::min(key.size(), kKeyLength);
    plain.reserve(payload.size() / kGroupLength + 1);
    for (qsizetype start = 0, k = 0; start < payload.size(); start += kGroupLength, ++k) {
        const int number =
            ReadGroupNumber(payload.sliced(start, std::min(kGroupLength, payload.size() - start)));
        const int keyCode = static_cast<unsigned char>(key[k % keyLength]);
        plain.append(static_cast<char>(static_cast<unsigned char>((number - keyCode) & 0xFF)));
    }
    return plain;
}

std::optional<UpdateFields> ParseUpdateFields(const QByteArray& plain) {
    qsizetype afterUrl = 0;
    auto url = FieldValue(plain, "url=", 0, &afterUrl);
    if (!url) {
        return std::nullopt;
    }
    auto major = FieldValue(plain, "major=", afterUrl);
    auto minor = FieldValue(plain, "minor=", afterUrl);
    auto data = FieldValue(plain, "data=", afterUrl);
    if (!major || !minor || !data) {
        return std::nullopt;
    }
    return UpdateFields{*url, *major, *minor, *data};
}

QString ComposeUpdateAddress(const UpdateFields& fields) {
    const QByteArray address =
        fields.url + "?major=" + fields.major + "?minor=" + fields.minor + "?data=" + fields.data;
    return QString::fromUtf8(address);
}

bool IsOpenableUpdateAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

std::optional<QString> ReadUpdateReply(const QByteArray& received, const QByteArray& body) {
    const auto payload = FindReplyPayload(received.left(kUpdateReplyLimit));
    if (!payload) {
        return std::nullopt;
    }
    const auto fields = ParseUpdateFields(UnscramblePayload(*payload, UpdateReplyKey(body)));
    if (!fields) {
        return std::nullopt;
    }
    QString address = ComposeUpdateAddress(*fields);
    if (!IsOpenableUpdateAddress(address)) {
        return std::nullopt;
    }
    return address;
}

} // namespace quillory
