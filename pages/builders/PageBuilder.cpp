#include "pages/builders/PageBuilder.h"

#include "dictionary/lists/CharacterLists.h"
#include "dictionary/text/TextRules.h"
#include "pages/builders/PageHtml.h"

#include "dictionary/files/DataFormat.h"
#include "dictionary/files/DataIndex.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"

#include <QStringList>
#include <QStringView>

#include <algorithm>

namespace quillory {

using pagehtml::Hex;
using pagehtml::ImageTag;
using pagehtml::kBr;
using pagehtml::kNbsp;
using pagehtml::kSpeakerImage;
using pagehtml::kSpeakerOffImage;
using pagehtml::kStrokeIconImage;
using pagehtml::ProgramLink;

namespace {

// The label "stroke(s)" shown after a stroke count has a fixed id.
constexpr std::uint32_t kStrokeCharLabelId = kStrokeCharLabel;

// Characters per line: syllable sections and radical forms, and the longer
// lists of stroke-count sections and radical groups.
constexpr int kSectionLineLength = 18;
constexpr int kGroupLineLength = 16;

// Longest token the readers accept, as the narrow buffers of the data allow.
constexpr qsizetype kMaxTokenBytes = 99;

std::optional<SyllableId> EncodeToken(QStringView token, Scheme scheme) {
    if (token.isEmpty() || token.size() > kMaxTokenBytes) {
        return std::nullopt;
    }
    const QByteArray narrow = token.toLatin1();
    return EncodeSyllable(std::string_view(narrow.constData(), static_cast<std::size_t>(narrow.size())),
                          scheme);
}

// Code points of a text; a lone surrogate stands for itself.
std::vector<std::uint32_t> CodePoints(const QString& text) {
    const QList<uint> ucs4 = text.toUcs4();
    return std::vector<std::uint32_t>(ucs4.begin(), ucs4.end());
}

// A code point that a page can show as a character: a CJK ideograph or any
// other character beyond ASCII, not a surrogate, not beyond Unicode.
bool IsShownCharacter(std::uint32_t code) {
    return code >= 0x80 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

QString TableRow(const QString& label, const QString& value) {
    return QStringLiteral("<tr><td>") + label + QStringLiteral("</td><td>") + value +
           QStringLiteral("</td></tr>");
}

} // namespace

QString EscapeHtml(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

PageBuilder::PageBuilder(const LanguageData& language, const NameRegistry& names, const DataIndex& index)
    : language_(language), names_(names), index_(index) {}

void PageBuilder::MakeSpan(const QString& text, const QString& cls, QString& out) const {
    out = QStringLiteral("<span class=") + cls + u'>' + text + QStringLiteral("</span>");
}

void PageBuilder::MakeCharLink(std::uint32_t code, QString& out, bool withLink, bool withStrokeIcon) const {
    MakeSpan(QStringLiteral("&#x") + Hex(code) + u';', QStringLiteral("gb"), out);
    if (withLink) {
        out = ProgramLink(kShowCharacter, code, out);
    }
    if (withStrokeIcon) {
        out += kNbsp + ProgramLink(kShowStrokeOrder, code, ImageTag(kStrokeIconImage, "vertical-align:top"));
    }
}

void PageBuilder::MakeLabel(std::uint32_t labelId, QString& out) const {
    const std::optional<InterfaceText> label = language_.GetText(labelId);
    if (!label) {
        out.clear();
        return;
    }
    MakeSpan(label->text, label->kind, out);
}

void PageBuilder::MakeLabel(const QString& labelName, QString& out) const {
    const std::optional<std::uint32_t> id = names_.idOf(labelName);
    if (!id) {
        out.clear();
        return;
    }
    MakeLabel(*id, out);
}

void PageBuilder::MakePinyinReading(SyllableId id, QString& out, bool withSound) const {
    const std::optional<std::string> text = DecodeSyllable(id, Scheme::Pinyin);
    if (!text) {
        return;
    }
    MakeSpan(EscapeHtml(MarkPinyinFont(QString::fromStdString(*text))), QStringLiteral("py_green"), out);
    if (!withSound) {
        return;
    }
    if (soundsAvailable_ && index_.HasPinyinSound(id)) {
        out += kNbsp + ProgramLink(kPlayPinyin, id, ImageTag(kSpeakerImage, "vertical-align:middle"));
    } else {
        out += kNbsp + ImageTag(kSpeakerOffImage);
    }
}

void PageBuilder::MakeJyutpingReading(SyllableId id, QString& out, bool withSound) const {
    const std::optional<std::string> text = DecodeSyllable(id, Scheme::Jyutping);
    if (!text) {
        return;
    }
    MakeSpan(EscapeHtml(QString::fromStdString(*text)), QStringLiteral("jp_green"), out);
    if (!withSound) {
        return;
    }
    if (soundsAvailable_ && index_.HasJyutpingSound(id)) {
        out += kNbsp + ProgramLink(kPlayJyutping, id, ImageTag(kSpeakerImage));
    } else {
        out += kNbsp + ImageTag(kSpeakerOffImage);
    }
}

// The readings of a Pinyin or Jyutping cell: each token that is a syllable
// as its reading element followed by "&nbsp;"; other tokens are left out.
static QString ReadingList(const PageBuilder& builder, const QString& readings, Scheme scheme,
                           bool withSound) {
    if (readings.isEmpty()) {
        return kNbsp;
    }
    QString cell;
    QString element;
    for (const QString& part : readings.split(u' ')) {
        const std::optional<SyllableId> id = EncodeToken(TrimBlanks(part), scheme);
        if (!id) {
            continue;
        }
        element.clear();
        if (scheme == Scheme::Pinyin) {
            builder.MakePinyinReading(*id, element, withSound);
        } else {
            builder.MakeJyutpingReading(*id, element, withSound);
        }
        cell += element + kNbsp;
    }
    return cell;
}

// A word's readings: several readings are separated by " / " in the record
// store and stay visibly separated on the page.
static QString WordReadingList(const PageBuilder& builder, const QString& readings, Scheme scheme) {
    if (TrimBlanks(readings).isEmpty()) {
        return kNbsp;
    }
    QStringList cells;
    for (const QString& reading : readings.split(u'/')) {
        const QString trimmed = TrimBlanks(reading).toString();
        if (!trimmed.isEmpty()) {
            cells.append(ReadingList(builder, trimmed, scheme, true));
        }
    }
    return cells.join(QStringLiteral("/&nbsp;"));
}

void PageBuilder::MakeCharacterTable(CharacterRecord record, QString& out, bool withSound) const {
    record.pinyin = record.pinyin.toLower();
    record.jyutping = record.jyutping.toLower();

    QString label;
    QString element;
    auto row = [&](const char* labelName, const QString& value) {
        MakeLabel(QString::fromLatin1(labelName), label);
        out += TableRow(label, value);
    };

    out += QStringLiteral("<table width=100%>");

    MakeCharLink(record.code, element, false, true);
    row("HTML_ID_HANZI", element);
    row("HTML_ID_PINYIN", ReadingList(*this, record.pinyin, Scheme::Pinyin, withSound));
    row("HTML_ID_JYUTPING", ReadingList(*this, record.jyutping, Scheme::Jyutping, withSound));
    row("HTML_ID_ENGLISH", EscapeHtml(record.english.isEmpty() ? record.english2 : record.english));

    QString radical = EscapeHtml(record.radical);
    CharacterList forms;
    bool outOfRange = false;
    if (RadicalForms(record.radical, forms, outOfRange)) {
        radical += QStringLiteral("&nbsp;[&nbsp;");
        for (std::uint32_t form : forms) {
            MakeCharLink(form, element, true, true);
            radical += element + kNbsp;
        }
        if (outOfRange) {
            MakeSpan(QStringLiteral("*"), QStringLiteral("en"), element);
            radical += element + kNbsp;
        }
        radical += u']';
    }
    row("HTML_ID_RADICAL", radical);
    row("HTML_ID_STROKE", EscapeHtml(record.strokes));

    // Variant lists: the character itself is left out; a variant in the shown
    // ideograph range is linked, any other character (㐷 U+3437, or one of a
    // supplementary plane) is shown without a link, so that the reader sees
    // that it exists. The full code point is compared, so a supplementary-plane
    // variant never turns into an unrelated BMP character.
    auto variants = [&](const QString& list) {
        const QStringView tokens = TrimBlanks(list);
        if (tokens.isEmpty()) {
            return kNbsp;
        }
        QString cell;
        for (QStringView token : tokens.split(u' ')) {
            const std::uint32_t code = HexValue(TrimBlanks(token));
            if (code != record.code && IsShownCharacter(code)) {
                MakeCharLink(code, element, IsIdeograph(code), false);
                cell += element;
            }
            cell += kNbsp;
        }
        return cell;
    };
    row("HTML_ID_JIANTI", variants(record.jianti));
    row("HTML_ID_FANTI", variants(record.fanti));
    row("HTML_ID_UNICODE", Hex(record.code));

    out += QStringLiteral("</table>");
}

void PageBuilder::MakeWordTable(const QString& word, const QString& pinyin, const QString& jyutping,
                                const QString& english, QString& out) const {
    const std::vector<std::uint32_t> codes = CodePoints(word);
    QString label;
    QString element;
    auto row = [&](const char* labelName, const QString& value) {
        MakeLabel(QString::fromLatin1(labelName), label);
        out += TableRow(label, value);
    };

    QString characters;
    QString unicode;
    for (std::uint32_t code : codes) {
        MakeCharLink(code, element, true, false);
        characters += element;
        unicode += Hex(code) + kNbsp;
    }

    out += QStringLiteral("<table width=100%>");
    row("HTML_ID_ZHONGWEN", characters);
    row("HTML_ID_PINYIN", WordReadingList(*this, pinyin, Scheme::Pinyin));
    row("HTML_ID_JYUTPING", WordReadingList(*this, jyutping, Scheme::Jyutping));
    // A Cantonese word without a gloss says so in the interface language.
    QString meaning = EscapeHtml(english);
    if (TrimBlanks(english).isEmpty()) {
        MakeLabel(QString::fromLatin1(kCantoneseOnlyLabel), meaning);
    }
    row("HTML_ID_ENGLISH", meaning);
    row("HTML_ID_UNICODE", unicode);
    out += QStringLiteral("</table>");
}

void PageBuilder::MakeEnglishTable(const QString& english, const std::vector<EnglishTableEntry>& matches,
                                   QString& out) const {
    QString label;
    QString element;

    // One matched word per line: its characters, ideographs linked, then its
    // Pinyin when the match has one.
    QStringList lines;
    for (const EnglishTableEntry& match : matches) {
        QString line;
        for (std::uint32_t code : CodePoints(match.word)) {
            if (IsIdeograph(code)) {
                MakeCharLink(code, element, true, false);
                line += element;
            } else {
                line += EscapeHtml(CodePointText(code));
            }
        }
        const QString pinyin = TrimBlanks(match.pinyin).toString();
        if (!pinyin.isEmpty()) {
            MakeSpan(EscapeHtml(MarkPinyinFont(pinyin)), QStringLiteral("py_green"), element);
            line += kNbsp + element;
        }
        if (!line.isEmpty()) {
            lines.append(line);
        }
    }

    out += QStringLiteral("<table width=100%>");
    MakeLabel(QStringLiteral("HTML_ID_ENGLISH"), label);
    out += TableRow(label, EscapeHtml(english));
    MakeLabel(QStringLiteral("HTML_ID_ZHONGWEN"), label);
    out += TableRow(label, lines.isEmpty() ? kNbsp : lines.join(kBr));
    out += QStringLiteral("</table>");
}

// Every ideograph of the list as plain text in one element of the classes
// "gb chars", each followed by "&nbsp;", with a line break after every
// perLine of them. The page script (oxa.js) opens the character under a
// click as a link to its page would: one element in place of a link per
// character keeps a list of a thousand characters quick to lay out.
static QString CharacterLines(const CharacterList& chars, int perLine) {
    QString text;
    int shown = 0;
    for (std::uint32_t code : chars) {
        if (!IsIdeograph(code)) {
            continue;
        }
        text += QStringLiteral("&#x") + Hex(code) + u';' + kNbsp;
        if (++shown % perLine == 0) {
            text += kBr;
        }
    }
    return shown == 0 ? QString()
                      : QStringLiteral("<span class=\"gb chars\">") + text + QStringLiteral("</span>");
}

void PageBuilder::MakePinyinHeading(const std::string& syllable, QString& out) const {
    QString text = QString::fromLatin1(syllable.data(), static_cast<qsizetype>(syllable.size()));
    if (!text.isEmpty()) {
        text.back() = u'5';
    }
    MakeSpan(EscapeHtml(MarkPinyinFont(text)), QStringLiteral("py_green_large"), out);
    out += kBr;
}

void PageBuilder::MakePinyinSection(const std::string& syllable, const CharacterList& chars,
                                    QString& out) const {
    QString reading;
    if (const std::optional<SyllableId> id = EncodeSyllable(syllable, Scheme::Pinyin)) {
        MakePinyinReading(*id, reading, true);
    }
    out += kBr + reading + kBr + CharacterLines(chars, kSectionLineLength) + kBr;
}

void PageBuilder::MakeJyutpingHeading(const std::string& syllable, QString& out) const {
    QString text = QString::fromLatin1(syllable.data(), static_cast<qsizetype>(syllable.size()));
    text.chop(1);
    MakeSpan(EscapeHtml(text), QStringLiteral("jp_green_large"), out);
    out += kBr;
}

void PageBuilder::MakeJyutpingSection(const std::string& syllable, const CharacterList& chars,
                                      QString& out) const {
    QString reading;
    if (const std::optional<SyllableId> id = EncodeSyllable(syllable, Scheme::Jyutping)) {
        MakeJyutpingReading(*id, reading, true);
    }
    out += kBr + reading + kBr + CharacterLines(chars, kSectionLineLength) + kBr;
}

void PageBuilder::MakeRadicalForms(const CharacterList& forms, QString& out) const {
    out = CharacterLines(forms, kSectionLineLength);
    const bool anyOutOfRange =
        std::any_of(forms.begin(), forms.end(), [](std::uint32_t code) { return !IsIdeograph(code); });
    if (anyOutOfRange) {
        QString star;
        MakeSpan(QStringLiteral("*"), QStringLiteral("en"), star);
        out += star;
    }
    out += kBr;
}

void PageBuilder::MakeRadicalGroup(int residualStrokes, const CharacterList& chars, QString& out) const {
    QString count;
    QString label;
    MakeSpan(QString::number(residualStrokes), QStringLiteral("en"), count);
    MakeLabel(kStrokeCharLabelId, label);
    out += kBr + count + kNbsp + label + kBr + CharacterLines(chars, kGroupLineLength) + kBr;
}

void PageBuilder::MakeStrokeSection(int count, const CharacterList& chars, QString& out) const {
    QString number;
    QString label;
    MakeSpan(QString::number(count), QStringLiteral("en"), number);
    MakeLabel(kStrokeCharLabelId, label);
    out += kBr + number + kNbsp + label + kBr + kBr + CharacterLines(chars, kGroupLineLength) + kBr;
}

bool PageBuilder::RadicalForms(const QString& radical, CharacterList& forms, bool& outOfRange) const {
    forms.clear();
    outOfRange = false;

    // "67.0" -> "67.", "120'.2" -> "120'.": the radical's own line starts so.
    const qsizetype dot = radical.lastIndexOf(u'.');
    if (dot <= 0) {
        return false;
    }
    const QString head = TrimBlanks(QStringView(radical).left(dot + 1)).toString();
    if (head.size() < 2) {
        return false;
    }

    const std::optional<QString> line = RadicalLineTokens(index_.RadicalTableText(), head);
    if (!line) {
        return false;
    }
    const QStringView tokens(*line);
    if (tokens.isEmpty()) {
        return true;
    }
    for (QStringView token : tokens.split(u' ')) {
        if (token.size() > kMaxTokenBytes) {
            outOfRange = true;
            continue;
        }
        const std::uint32_t value = HexValue(token);
        if (value == 0 || value <= kRadicalFormLimit) {
            continue;
        }
        if (IsIdeograph(value)) {
            forms.push_back(value);
        } else {
            outOfRange = true;
        }
    }
    return true;
}

} // namespace quillory
