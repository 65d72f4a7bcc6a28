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

// A picture of the page folder, with its size: a page names the size so
// that its text is laid out around the picture before the picture has
// loaded, and does not move when it arrives.
struct PageImage {
    const char* name;
    int width;
    int height;
};

inline constexpr PageImage kLogoImage{"logo.gif", 128, 60};
inline constexpr PageImage kCircleImage{"circle.gif", 28, 28};
inline constexpr PageImage kSpeakerImage{"speaker.gif", 16, 16};
inline constexpr PageImage kSpeakerOffImage{"speaker2.gif", 16, 16};
inline constexpr PageImage kStrokeIconImage{"write3_2.gif", 18, 18};
inline constexpr PageImage kPageImages[] = {kLogoImage, kCircleImage, kSpeakerImage, kSpeakerOffImage,
                                            kStrokeIconImage};

// "<img src=NAME width=W height=H>", with a style when one is given.
inline QString ImageTag(const PageImage& image, const char* style = nullptr) {
    QString tag = QStringLiteral("<img");
    if (style != nullptr) {
        tag += QStringLiteral(" style=\"") + QLatin1String(style) + u'"';
    }
    return tag + QStringLiteral(" src=") + QLatin1String(image.name) + QStringLiteral(" width=") +
           QString::number(image.width) + QStringLiteral(" height=") + QString::number(image.height) + u'>';
}

} // namespace quillory::pagehtml
