#pragma once
// The HTML fragments of every page: character, word and English tables,
// syllable, stroke-count and radical lists, and the fixed bodies. Pure text
// functions over looked-up data and the interface labels.
#include "dictionary/lists/CharacterList.h"
#include "settings/ProductInfo.h"
#include "dictionary/records/CharacterRecord.h"
#include "dictionary/text/Romanisation.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace quillory {

class DataIndex;
class LanguageData;
class NameRegistry;

// The maker's web site; ends with "/".

// Text from the record store or a query, made safe to insert into HTML.
QString EscapeHtml(const QString& text);

// One matched entry of an English search, for the English table.
struct EnglishTableEntry {
    QString word;   // Chinese text
    QString pinyin; // tone digits
};

class PageBuilder {
public:
    PageBuilder(const LanguageData& language, const NameRegistry& names, const DataIndex& index);

    void MakeSpan(const QString& text, const QString& cls, QString& out) const;
    void MakeCharLink(std::uint32_t code, QString& out, bool withLink, bool withStrokeIcon) const;
    void MakeLabel(std::uint32_t labelId, QString& out) const;
    void MakeLabel(const QString& labelName, QString& out) const; // by registered name
    void MakePinyinReading(SyllableId id, QString& out, bool withSound) const;
    void MakeJyutpingReading(SyllableId id, QString& out, bool withSound) const;
    void MakeCharacterTable(CharacterRecord record, QString& out, bool withSound) const;
    void MakeWordTable(const QString& word, const QString& pinyin, const QString& jyutping, const QString& english,
                       QString& out) const;
    void MakeEnglishTable(const QString& english, const std::vector<EnglishTableEntry>& matches, QString& out) const;
    void MakePinyinHeading(const std::string& syllable, QString& out) const;
    void MakePinyinSection(const std::string& syllable, const CharacterList& chars, QString& out) const;
    void MakeJyutpingHeading(const std::string& syllable, QString& out) const;
    void MakeJyutpingSection(const std::string& syllable, const CharacterList& chars, QString& out) const;
    void MakeRadicalForms(const CharacterList& forms, QString& out) const;
    void MakeRadicalGroup(int residualStrokes, const CharacterList& chars, QString& out) const;
    void MakeStrokeSection(int count, const CharacterList& chars, QString& out) const;
    void MakeWelcomeBody(QString& out) const;
    void MakeSupportBody(QString& out) const;
    void MakeVersionBlock(QString& out) const;
    bool RadicalForms(const QString& radical, CharacterList& forms, bool& outOfRange) const;
    // Without a usable sound archive every speaker is grey, never a green
    // one that plays nothing.
    void setSoundsAvailable(bool available) { soundsAvailable_ = available; }

    // Address of an embedded page resource ("index.html" -> "qrc:/pages/index.html").

private:
    const LanguageData& language_;
    const NameRegistry& names_;
    const DataIndex& index_;
    bool soundsAvailable_ = true;
};

} // namespace quillory
