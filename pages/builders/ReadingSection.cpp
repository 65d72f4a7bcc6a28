#include "pages/builders/ReadingSection.h"

#include "dictionary/text/TextRules.h"
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PageHtml.h"
#include "settings/RegisteredNames.h"

#include <QStringList>

#include <algorithm>

namespace quillory {

using pagehtml::kBr;
using pagehtml::kNbsp;
using pagehtml::ProgramLink;

namespace {

// Separates the glosses of an entry in the record store.
const QString kGlossSeparator = QStringLiteral(" / ");

Scheme SchemeOf(ReadingSystem system) {
    return system == ReadingSystem::Jyutping ? Scheme::Jyutping : Scheme::Pinyin;
}

QString FirstGloss(const QString& english) {
    return english.section(kGlossSeparator, 0, 0).trimmed();
}

// A row of the section; the label stays at the top of a long list of words.
QString TopAlignedRow(const QString& label, const QString& value) {
    return QStringLiteral("<tr><td valign=top>") + label + QStringLiteral("</td><td>") + value +
           QStringLiteral("</td></tr>");
}

// The syllable's characters with those matched as words of their own first,
// in the order of the matches (the most common first), then the others in
// the syllable page's order.
CharacterList CommonFirst(const CharacterList& characters, const std::vector<LookupMatch>& matches) {
    CharacterList ordered;
    for (const LookupMatch& match : matches) {
        const QList<uint> codes = match.word.toUcs4();
        if (codes.size() == 1 && std::find(ordered.begin(), ordered.end(), codes[0]) == ordered.end() &&
            std::find(characters.begin(), characters.end(), codes[0]) != characters.end()) {
            ordered.push_back(codes[0]);
        }
    }
    for (std::uint32_t code : characters) {
        if (std::find(ordered.begin(), ordered.end(), code) == ordered.end()) {
            ordered.push_back(code);
        }
    }
    return ordered;
}

} // namespace

std::optional<SyllableId> SyllablePageId(const QString& syllable, Scheme scheme) {
    const QByteArray text = syllable.trimmed().toLower().toLatin1();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const char lastTone = scheme == Scheme::Jyutping ? '6' : '5';
    for (char tone = '1'; tone <= lastTone; ++tone) {
        if (const std::optional<SyllableId> id = EncodeSyllable((text + tone).toStdString(), scheme)) {
            return id;
        }
    }
    return std::nullopt;
}

ReadingSection::ReadingSection(const PageBuilder& builder, SyllableCharacters characters)
    : builder_(builder), characters_(std::move(characters)) {}

void ReadingSection::Make(const std::vector<ReadingMatches>& readings, QString& out) const {
    QString rows;
    QString label;
    for (const ReadingMatches& reading : readings) {
        const Scheme scheme = SchemeOf(reading.system);
        QStringList lines;
        if (!reading.syllable.isEmpty()) {
            const QString line = SyllableLine(reading, scheme);
            if (!line.isEmpty()) {
                lines.append(line);
            }
        }
        for (const LookupMatch& match : reading.matches) {
            lines.append(WordLine(match, scheme));
        }
        if (lines.isEmpty()) {
            continue;
        }
        builder_.MakeLabel(scheme == Scheme::Pinyin ? QStringLiteral("HTML_ID_PINYIN")
                                                    : QStringLiteral("HTML_ID_JYUTPING"),
                           label);
        rows += TopAlignedRow(label, lines.join(kBr));
    }
    if (!rows.isEmpty()) {
        out += QStringLiteral("<table width=100%>") + rows + QStringLiteral("</table>");
    }
}

QString ReadingSection::SyllableLine(const ReadingMatches& reading, Scheme scheme) const {
    const std::optional<SyllableId> id = SyllablePageId(reading.syllable, scheme);
    if (!id) {
        return {};
    }
    QString shown = reading.syllable.trimmed().toLower();
    if (scheme == Scheme::Pinyin) {
        shown.replace(u'v', QChar(0x00FC));
    }
    QString element;
    builder_.MakeSpan(u'[' + EscapeHtml(shown) + u']',
                      scheme == Scheme::Pinyin ? QStringLiteral("py_green") : QStringLiteral("jp_green"),
                      element);
    QString line = ProgramLink(scheme == Scheme::Pinyin ? kListPinyin : kListJyutping, *id, element);
    int shownCharacters = 0;
    const CharacterList characters = characters_ ? characters_(scheme, *id) : CharacterList{};
    for (std::uint32_t code : CommonFirst(characters, reading.matches)) {
        if (shownCharacters == kSyllableLineCharacters) {
            break;
        }
        if (IsIdeograph(code)) {
            builder_.MakeCharLink(code, element, true, false);
            line += kNbsp + element;
            ++shownCharacters;
        }
    }
    return line;
}

QString ReadingSection::WordLine(const LookupMatch& match, Scheme scheme) const {
    QString line = WordCharacters(match.word);
    if (!match.traditional.isEmpty() && match.traditional != match.word) {
        line += kNbsp + u'[' + WordCharacters(match.traditional) + u']';
    }
    QString element;
    if (scheme == Scheme::Pinyin) {
        builder_.MakeSpan(EscapeHtml(MarkPinyinFont(match.pinyin.trimmed())), QStringLiteral("py_green"),
                          element);
    } else {
        builder_.MakeSpan(EscapeHtml(match.jyutping.trimmed()), QStringLiteral("jp_green"), element);
    }
    line += kNbsp + element;
    const QString gloss = FirstGloss(match.english);
    if (gloss.isEmpty()) {
        builder_.MakeLabel(QLatin1String(kCantoneseOnlyLabel), element);
    } else {
        element = EscapeHtml(gloss);
    }
    if (!element.isEmpty()) {
        line += kNbsp + element;
    }
    return line;
}

// Ideographs linked to their character pages, any other character as text.
QString ReadingSection::WordCharacters(const QString& word) const {
    QString text;
    QString element;
    for (const uint code : word.toUcs4()) {
        if (IsIdeograph(code)) {
            builder_.MakeCharLink(code, element, true, false);
            text += element;
        } else {
            text += EscapeHtml(CodePointText(code));
        }
    }
    return text;
}

} // namespace quillory
