#pragma once
// Where the update check asks: one server fixed when the program is built.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

struct UpdateServer {
    QByteArray host; // as sent in the request's Host line
    std::uint16_t port = 80;

    friend bool operator==(const UpdateServer&, const UpdateServer&) = default;
};

// The longest host name the check uses, in bytes of UTF-8.
inline constexpr qsizetype kMaxUpdateHostLength = 887;

// Reads "host", "host:port", or "[address]" / "[address]:port" for an IPv6
// address. None for an empty setting, a host too long, blanks or control
// characters, or a port that is not 1 to 65535.
std::optional<UpdateServer> ParseUpdateServer(const QString& setting);

// The server chosen at build time; none when the build named none.
std::optional<UpdateServer> ConfiguredUpdateServer();

} // namespace quillory
