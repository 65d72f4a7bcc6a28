#pragma once
// Opening an address in the user's programs, replaceable so that tests and
// callers can see what would be opened.
#include <QDesktopServices>
#include <QUrl>
#include <functional>

namespace quillory {

using UrlOpener = std::function<bool(const QUrl&)>;

inline UrlOpener DesktopUrlOpener() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

// The address a control opens: typed addresses without a scheme become web
// addresses; an empty or malformed address gives an invalid URL.
inline QUrl AddressToUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    return QUrl::fromUserInput(trimmed);
}

} // namespace quillory
