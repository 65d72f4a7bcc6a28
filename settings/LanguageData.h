#pragma once
// The interface texts in five languages: loaded once from the GBK language
// data, looked up by numeric id through the identifier table.
#include "dictionary/text/MessageReporter.h"
#include "settings/FontSlot.h"
#include "settings/InterfaceLanguage.h"
#include "settings/LabelIds.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace quillory {

class NameRegistry;

// The display font a kind marker names; anything unknown is English.
FontSlot FontSlotOfKind(const QString& kindMarker);

// The key of a language's lines in the language data ("en=", "py=", "jt=",
// "ft=", "jp="); any other index gives English's.
QString LanguageKey(int language);

struct InterfaceText {
    QString text; // Pinyin texts already converted to the display font's marked letters
    QString kind; // "en", "py", "gb", "b5", "jp" (anything else counts as English)
};

class LanguageData {
public:
    static constexpr int kMaxBytes = 51200;
    static constexpr int kMaxIds = 100;

    explicit LanguageData(MessageReporter& reporter);

    // The embedded "LANGUAGE.WAV" resource, or else language.txt in the data
    // folder; reports "Cannot load language data." when neither can be read.
    bool Load(const QString& dataFolder);
    // Loads GBK bytes (at most kMaxBytes, up to the first zero byte).
    void LoadGbk(const QByteArray& bytes);
    bool isEmpty() const;

    bool RegisterTextId(std::uint32_t id, const QString& name);
    std::optional<InterfaceText> GetText(std::uint32_t id, int language) const;
    // The text in the current language.
    std::optional<InterfaceText> GetText(std::uint32_t id) const { return GetText(id, language_); }
    // The text with the display font slot its kind marker names; the window
    // turns the slot into its font.
    std::optional<std::pair<InterfaceText, FontSlot>> GetTextAndFont(std::uint32_t id, int language) const;

    void SetLanguage(int language) { language_ = language; }
    int GetLanguage() const { return language_; }

private:
    MessageReporter& reporter_;
    QString data_;
    std::array<std::pair<std::uint32_t, QString>, kMaxIds> ids_{};
    int language_ = kEnglish;
};

// Registers the main window's label-key table (control ids, tooltip and
// page label names, tree nodes, menu items) with the language data.
void RegisterLabelKeys(LanguageData& language, const NameRegistry& names);

} // namespace quillory
