#pragma once
// The section of the English page that shows the words whose Pinyin or
// Jyutping reading matches a romanised query. It comes above the English
// table (PageBuilder::MakeEnglishTable), which stays as it is:
//
//   <table width=100%>
//   <tr><td valign=top>Pinyin label</td><td>[syllable line<br>]word line<br>...</td></tr>
//   <tr><td valign=top>Jyutping label</td><td>...</td></tr>
//   </table>
//
// one row per reading system that matched, in the look-up's order. A word
// line is the simplified form with every ideograph linked to its character page, the
// traditional form in brackets when it differs, the matched reading in the
// system's reading style (py_green in the Pinyin font form, jp_green) and the
// first gloss, or the "Cantonese only" label for a word without one. Words
// have no link of their own: page links never carry a text. For a query of a
// single syllable, the syllable line links "[syllable]" to the syllable's
// page (the tree's page) and shows its first characters, those matched as
// words of their own first (the most common first).
#include "dictionary/lists/CharacterList.h"
#include "dictionary/search/Lookup.h"
#include "dictionary/text/Romanisation.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillory {

class PageBuilder;

// Characters shown on a syllable line, at most.
inline constexpr int kSyllableLineCharacters = 18;

// The value of the link to a toneless syllable's page ("zhong", "lv",
// "zung"): the id of its first tone that exists; nothing for no syllable.
std::optional<SyllableId> SyllablePageId(const QString& syllable, Scheme scheme);

class ReadingSection {
public:
    // The characters of a syllable's page in the page's order.
    using SyllableCharacters = std::function<CharacterList(Scheme scheme, SyllableId id)>;

    ReadingSection(const PageBuilder& builder, SyllableCharacters characters);

    // Appends the section; nothing when no system matched.
    void Make(const std::vector<ReadingMatches>& readings, QString& out) const;

private:
    QString SyllableLine(const ReadingMatches& reading, Scheme scheme) const;
    QString WordLine(const LookupMatch& match, Scheme scheme) const;
    QString WordCharacters(const QString& word) const;

    const PageBuilder& builder_;
    SyllableCharacters characters_;
};

} // namespace quillory
