#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"

namespace quillory {

NameRegistry::NameRegistry() {
    for (const QString& name : RegisteredNames()) {
        Register(name);
    }
}

std::uint32_t NameRegistry::Register(const QString& name) {
    const auto found = ids_.constFind(name);
    if (found != ids_.constEnd()) {
        return *found;
    }
    const std::uint32_t id = kFirstId + static_cast<std::uint32_t>(names_.size());
    ids_.insert(name, id);
    names_.append(name);
    return id;
}

std::optional<std::uint32_t> NameRegistry::idOf(const QString& name) const {
    const auto found = ids_.constFind(name);
    if (found == ids_.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

QString NameRegistry::nameOf(std::uint32_t id) const {
    if (id < kFirstId || id - kFirstId >= static_cast<std::uint32_t>(names_.size())) {
        return {};
    }
    return names_.at(static_cast<qsizetype>(id - kFirstId));
}

const QStringList& NameRegistry::RegisteredNames() {
    static const QStringList names = {
        // Posted and sent messages between the program's windows.
        QStringLiteral("WM_MY_PROTOCOL"),
        QStringLiteral("WM_DO_SEARCH"),
        QStringLiteral("WM_TREE_NOTIFY"),
        QStringLiteral("WM_OXA_LESSON"),
        QStringLiteral("WM_HTML_LESSON"),
        QStringLiteral("WM_STROKE_NOTIFY"),
        QStringLiteral("ICON_NOTIFY"),
        // The single-instance protocol.
        QStringLiteral("ARE-YOU-THERE?{<Tessaravin>{5B0E2C71-94AD-4F3E-8A6C-2D7F19E04B38}</Tessaravin>}"),
        QStringLiteral("WM_SHOW_YOURSELF"),
        QStringLiteral("WM_QUIT_YOURSELF"),
        QStringLiteral("my_link_notify"),
        // Timer ids.
        QStringLiteral("ANIMATED_ICON"),
        QStringLiteral("WM_UPDATE_TIMER"),
        QString::fromLatin1(kStrokeTimer),
        QString::fromLatin1(kStrokeTimer2),
        // Stroke-player control ids.
        QString::fromLatin1(kStrokeButtonBeginning),
        QString::fromLatin1(kStrokeButtonEnd),
        QString::fromLatin1(kStrokeButtonBack),
        QString::fromLatin1(kStrokeButtonNext),
        QString::fromLatin1(kStrokeButtonForward),
        QString::fromLatin1(kStrokeButtonStop),
        QString::fromLatin1(kStrokeButtonClose),
        QString::fromLatin1(kStrokeButtonPlusSpeed),
        QString::fromLatin1(kStrokeButtonMinusSpeed),
        QString::fromLatin1(kStrokeButtonPlusScan),
        QString::fromLatin1(kStrokeButtonMinusScan),
        // Tooltip ids, also label keys.
        QString::fromLatin1(kTooltipEnglish),
        QString::fromLatin1(kTooltipEnglish2),
        QString::fromLatin1(kTooltipPinyin),
        QString::fromLatin1(kTooltipPinyin2),
        QString::fromLatin1(kTooltipJianti),
        QString::fromLatin1(kTooltipJianti2),
        QString::fromLatin1(kTooltipFanti),
        QString::fromLatin1(kTooltipFanti2),
        QString::fromLatin1(kTooltipJyutping),
        QString::fromLatin1(kTooltipJyutping2),
        QString::fromLatin1(kTooltipGo),
        QStringLiteral("TOOLTIP_BTN_MODE"),
        QStringLiteral("TOOLTIP_BTN_CHAT"),
        QStringLiteral("TOOLTIP_BTN_HELP"),
        QStringLiteral("TOOLTIP_BTN_EXIT"),
        QStringLiteral("TOOLTIP_BTN_GAMES"),
        // Label keys of the pages.
        QStringLiteral("HTML_ID_WELCOME"),
        QStringLiteral("HTML_ID_HANZI"),
        QStringLiteral("HTML_ID_JIANTI"),
        QStringLiteral("HTML_ID_FANTI"),
        QStringLiteral("HTML_ID_RADICAL"),
        QStringLiteral("HTML_ID_STROKE"),
        QStringLiteral("HTML_ID_POS"),
        QStringLiteral("HTML_ID_UNICODE"),
        QStringLiteral("HTML_ID_PINYIN"),
        QStringLiteral("HTML_ID_JYUTPING"),
        QStringLiteral("HTML_ID_ENGLISH"),
        QStringLiteral("HTML_ID_ZHONGWEN"),
        QStringLiteral("HTML_ID_FAQ"),
        QStringLiteral("HTML_ID_BUG_REPORT"),
        QStringLiteral("HTML_ID_TECH_REQUEST"),
        QStringLiteral("HTML_ID_USEFUL_LINKS"),
        QStringLiteral("HTML_ID_SUGGESTIONS"),
        QString::fromLatin1(kCantoneseOnlyLabel),
    };
    return names;
}

} // namespace quillory
