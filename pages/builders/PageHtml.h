#pragma once
// Small pieces of page HTML shared by the page builders.
#include "pages/protocol/LinkCommands.h"

#include <QString>
#include <cstdint>

namespace quillory::pagehtml {

inline const QString kNbsp = QStringLiteral("&nbsp;");
inline const QString kBr = QStringLiteral("<br>");

// Upper-case hexadecimal without leading zeros, as links and lists write numbers.
inline QString Hex(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}

// "<a href=mmpp://C=V>text</a>"
inline QString ProgramLink(std::uint32_t command, std::uint32_t value, const QString& text) {
    return QStringLiteral("<a href=") + QLatin1String(kLinkPrefix) + Hex(command) + u'=' + Hex(value) + u'>' +
           text + QStringLiteral("</a>");
}

} // namespace quillory::pagehtml
