#include "settings/NameRegistry.h"

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
        QStringLiteral("WM_STROKE_TIMER"),
        QStringLiteral("WM_STROKE_TIMER2"),
        // Stroke-player control ids.
        QStringLiteral("IDC_BUTTON_BEGINNING"),
        QStringLiteral("IDC_BUTTON_END"),
        QStringLiteral("IDC_BUTTON_BACK"),
        QStringLiteral("IDC_BUTTON_NEXT"),
        QStringLiteral("IDC_BUTTON_FORWARD"),
        QStringLiteral("IDC_BUTTON_STOP"),
        QStringLiteral("IDC_BUTTON_CLOSE"),
        QStringLiteral("IDC_BUTTON_PLUS_SPEED"),
        QStringLiteral("IDC_BUTTON_MINUS_SPEED"),
        QStringLiteral("IDC_BUTTON_PLUS_SCAN"),
        QStringLiteral("IDC_BUTTON_MINUS_SCAN"),
        // Tooltip ids, also label keys.
        QStringLiteral("TOOLTIP_BTN_ENGLISH"),
        QStringLiteral("TOOLTIP_BTN_ENGLISH2"),
        QStringLiteral("TOOLTIP_BTN_PINYIN"),
        QStringLiteral("TOOLTIP_BTN_PINYIN2"),
        QStringLiteral("TOOLTIP_BTN_JIANTI"),
        QStringLiteral("TOOLTIP_BTN_JIANTI2"),
        QStringLiteral("TOOLTIP_BTN_FANTI"),
        QStringLiteral("TOOLTIP_BTN_FANTI2"),
        QStringLiteral("TOOLTIP_BTN_JYUTPING"),
        QStringLiteral("TOOLTIP_BTN_JYUTPING2"),
        QStringLiteral("TOOLTIP_BTN_GO"),
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
    };
    return names;
}

} // namespace quillory
