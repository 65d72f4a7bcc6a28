#include "app/update/UpdateServer.h"

#ifndef QUILLORY_UPDATE_HOST
#define QUILLORY_UPDATE_HOST ""
#endif

namespace quillory {

namespace {

constexpr std::uint16_t kDefaultPort = 80;

std::optional<std::uint16_t> ParsePort(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    if (!ok || port == 0 || port > 65535 || !text.front().isDigit()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(port);
}

bool IsPlainHostText(const QString& host) {
    for (QChar c : host) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c == u'/' || c == u'?' || c == u'#' || c == u'@') {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<UpdateServer> ParseUpdateServer(const QString& setting) {
    const QString text = setting.trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    QString host = text;
    std::uint16_t port = kDefaultPort;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0) {
            return std::nullopt;
        }
        host = text.left(close + 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':')) {
                return std::nullopt;
            }
            const auto parsed = ParsePort(rest.mid(1));
            if (!parsed) {
                return std::nullopt;
            }
            port = *parsed;
        }
    } else if (text.count(u':') == 1) {
        const qsizetype colon = text.indexOf(u':');
        host = text.left(colon);
        const auto parsed = ParsePort(text.mid(colon + 1));
        if (!parsed) {
            return std::nullopt;
        }
        port = *parsed;
    } else if (text.contains(u':')) {
        return std::nullopt; // an IPv6 address needs its brackets
    }
    const QByteArray bytes = host.toUtf8();
    if (bytes.isEmpty() || bytes.size() > kMaxUpdateHostLength || bytes == "[]" || !IsPlainHostText(host)) {
        return std::nullopt;
    }
    return UpdateServer{bytes, port};
}

std::optional<UpdateServer> ConfiguredUpdateServer() {
    return ParseUpdateServer(QString::fromUtf8(QUILLORY_UPDATE_HOST));
}

} // namespace quillory
