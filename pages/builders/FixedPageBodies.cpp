// The bodies of the fixed pages: welcome, support and the About page's version block.
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PageHtml.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/ProductInfo.h"

namespace quillory {

using pagehtml::ImageTag;
using pagehtml::kBr;
using pagehtml::kCircleImage;
using pagehtml::kLogoImage;
using pagehtml::ProgramLink;

namespace {

QString MakerLogoLink() {
    return QStringLiteral("<a href=") + QString::fromLatin1(kMakerSiteAddress) +
           QStringLiteral(" target=_blank>") + ImageTag(kLogoImage) + QStringLiteral("</a>");
}

} // namespace

void PageBuilder::MakeWelcomeBody(QString& out) const {
    out = kBr + QStringLiteral("<p align=center><font size=6 color=blue><b>Tessaravin</b></font><br>") +
          MakerLogoLink() + QStringLiteral("</p><p align=center>");

    struct Greeting {
        int language;
        bool breakAfter;
    };
    static constexpr Greeting kGreetings[] = {
        {kEnglish, true}, {kJianti, true}, {kFanti, true}, {kPinyin, true}, {kJyutping, false}};

    const std::optional<std::uint32_t> id = names_.idOf(QStringLiteral("HTML_ID_WELCOME"));
    QString span;
    for (const Greeting& greeting : kGreetings) {
        const std::optional<InterfaceText> text =
            id ? language_.GetText(*id, greeting.language) : std::optional<InterfaceText>();
        if (!text || text->text.isEmpty()) {
            continue;
        }
        MakeSpan(text->text, text->kind, span);
        out += span;
        if (greeting.breakAfter) {
            out += kBr + kBr;
        }
    }
    out += QStringLiteral("</p>");
}

void PageBuilder::MakeSupportBody(QString& out) const {
    struct SupportLink {
        const char* label;
        std::uint32_t value;
    };
    static constexpr SupportLink kLinks[] = {{"HTML_ID_FAQ", 1},
                                             {"HTML_ID_TECH_REQUEST", 3},
                                             {"HTML_ID_BUG_REPORT", 2},
                                             {"HTML_ID_USEFUL_LINKS", 4},
                                             {"HTML_ID_SUGGESTIONS", 5}};

    out = QStringLiteral("<p align=center>");
    QString label;
    for (const SupportLink& link : kLinks) {
        MakeLabel(QString::fromLatin1(link.label), label);
        if (label.isEmpty()) {
            continue;
        }
        out += ProgramLink(kOpenSupport, link.value, label) + kBr + kBr;
    }
    out += QStringLiteral("</p><p align=center>") + MakerLogoLink() + QStringLiteral("</p>");
}

void PageBuilder::MakeVersionBlock(QString& out) const {
    out = QStringLiteral("<p align=center><font size=3><b>Version ") + QString::fromLatin1(kVersionMajor) +
          u'.' + QString::fromLatin1(kVersionMinor) + QStringLiteral("</b></font></p>") +
          QStringLiteral("<p align=center><font size=3>Copyright &copy; ") +
          QString::fromLatin1(kVersionYears) +
          QStringLiteral(" Tessaravin. All rights reserved.</font></p>") +
          QStringLiteral("<p align=center>") + ImageTag(kCircleImage) + QStringLiteral("</p>");
}

} // namespace quillory
