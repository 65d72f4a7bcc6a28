#include "cli/LookupCommands.h"
#include "pages/builders/PlainListPage.h"

#include "dictionary/text/Romanisation.h"
#include "dictionary/text/TextRules.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QStringList>

namespace quillory::cli {
namespace {

QStringList SplitReadings(const QString& readings) {
    return readings.split(u' ', Qt::SkipEmptyParts);
}

// Variant fields hold blank-separated hex code points; the character itself
// is no variant of itself.
QStringList VariantCharacters(const QString& hexList, std::uint32_t self) {
    QStringList chars;
    for (const QString& token : hexList.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint code = token.toUInt(&ok, 16);
        if (ok && code != self && code > 0 && code <= 0x10FFFF) {
            chars.append(CodePointText(code));
        }
    }
    return chars;
}

QString Dash(const QString& text) {
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString Row(const QString& label, const QString& value) {
    return label.leftJustified(12) + Dash(value) + u'\n';
}

QString ListText(const CharacterList& list) {
    QString text;
    for (const std::uint32_t code : list) {
        text += CodePointText(code);
    }
    return text;
}

Answer ListAnswer(const QString& title, const PlainListPage& page) {
    Answer answer;
    QJsonArray sections;
    answer.text = title + u'\n';
    if (!page.forms.empty()) {
        answer.json.insert(QStringLiteral("forms"), ListText(page.forms));
        answer.text += QStringLiteral("forms: ") + ListText(page.forms) + u'\n';
    }
    for (const PlainListSection& section : page.sections) {
        const QString chars = ListText(section.chars);
        sections.append(
            QJsonObject{{QStringLiteral("label"), section.label}, {QStringLiteral("chars"), chars}});
        answer.text += section.label + QStringLiteral(": ") + chars + u'\n';
    }
    answer.json.insert(QStringLiteral("title"), title);
    answer.json.insert(QStringLiteral("sections"), sections);
    return answer;
}

bool HasCharacters(const PlainListPage& page) {
    if (!page.forms.empty()) {
        return true;
    }
    for (const PlainListSection& section : page.sections) {
        if (!section.chars.empty()) {
            return true;
        }
    }
    return false;
}

// A syllable as typed: upper case, ü or u: for v, with or without a tone.
// Without a tone any tone that makes a valid id will do, since the list
// pages show every tone of the syllable anyway.
std::optional<SyllableId> SyllableFromInput(const QString& input, Scheme scheme) {
    QString text = input.trimmed().toLower();
    if (scheme == Scheme::Pinyin) {
        text.replace(QStringLiteral("u:"), QStringLiteral("v")).replace(QChar(0x00FC), u'v');
    }
    if (text.isEmpty() || text.size() > 10) {
        return std::nullopt;
    }
    const QByteArray ascii = text.toLatin1();
    if (text.back().isDigit()) {
        return EncodeSyllable(ascii.toStdString(), scheme);
    }
    const int lastTone = scheme == Scheme::Pinyin ? 5 : 6;
    for (int tone = 1; tone <= lastTone; ++tone) {
        if (auto id = EncodeSyllable((ascii + QByteArray::number(tone)).toStdString(), scheme)) {
            return id;
        }
    }
    return std::nullopt;
}

} // namespace

Answer Failure(int status, const QString& message) {
    Answer answer;
    answer.status = status;
    answer.text = message;
    answer.json.insert(QStringLiteral("error"), message);
    return answer;
}

QString DataFolderMessage(const QString& dataFolder) {
    return QStringLiteral("the dictionary data in %1 is missing or damaged; build it with 'make run' or "
                          "'make test'.")
        .arg(dataFolder);
}

LookupCommands::LookupCommands(Dictionary& dictionary) : dictionary_(dictionary) {}

Answer LookupCommands::run(const Request& request) {
    switch (request.kind) {
    case RequestKind::Character:
        return characterText(request.argument);
    case RequestKind::Hex:
        return hex(request.argument);
    case RequestKind::Word:
        return word(request.argument);
    case RequestKind::English:
        return english(request.argument);
    case RequestKind::Pinyin:
        return pinyin(request.argument);
    case RequestKind::Jyutping:
        return jyutping(request.argument);
    case RequestKind::Strokes:
        return strokes(request.argument);
    case RequestKind::Radical:
        return radical(request.argument);
    case RequestKind::Page:
    case RequestKind::Render:
    case RequestKind::Search:
    case RequestKind::StrokesOf:
    case RequestKind::Lookup:
    case RequestKind::Suggest:
        break;
    }
    return Failure(kBadUsage, QStringLiteral("unknown command"));
}

Answer LookupCommands::characterText(const QString& text) {
    const QList<uint> codes = text.trimmed().toUcs4();
    if (codes.size() != 1) {
        return Failure(kBadUsage, QStringLiteral("'char' takes exactly one character"));
    }
    return character(codes.first());
}

Answer LookupCommands::hex(const QString& text) {
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]{1,6}$"));
    const QString trimmed = text.trimmed();
    if (!hexDigits.match(trimmed).hasMatch()) {
        return Failure(kBadUsage, QStringLiteral("'hex' takes a hexadecimal code point such as 4E2D"));
    }
    return character(trimmed.toUInt(nullptr, 16));
}

Answer LookupCommands::character(std::uint32_t code) {
    const std::optional<CharacterRecord> record = dictionary_.records().characterRecord(code);
    const QString code16 = QString::number(code, 16).toUpper();
    if (!record) {
        // Only the code point is upper case: the message keeps its own case.
        return Failure(kNotFound,
                       QStringLiteral("U+%1 is not in the dictionary").arg(code16.rightJustified(4, u'0')));
    }
    const QString english = record->english.isEmpty() ? record->english2 : record->english;
    const QStringList pinyin = SplitReadings(record->pinyin);
    const QStringList jyutping = SplitReadings(record->jyutping);
    const QStringList simplified = VariantCharacters(record->jianti, code);
    const QStringList traditional = VariantCharacters(record->fanti, code);

    Answer answer;
    answer.json = QJsonObject{
        {QStringLiteral("code"), code16},
        {QStringLiteral("char"), CodePointText(code)},
        {QStringLiteral("pinyin"), QJsonArray::fromStringList(pinyin)},
        {QStringLiteral("jyutping"), QJsonArray::fromStringList(jyutping)},
        {QStringLiteral("english"), english},
        {QStringLiteral("strokes"), record->strokes.toInt()},
        {QStringLiteral("radical"), record->radical},
        {QStringLiteral("simplified"), QJsonArray::fromStringList(simplified)},
        {QStringLiteral("traditional"), QJsonArray::fromStringList(traditional)},
    };
    QString marked = MarkPinyinUnicode(record->pinyin);
    answer.text = CodePointText(code) + QStringLiteral("  U+") + code16 + u'\n' +
                  Row(QStringLiteral("Pinyin"),
                      record->pinyin + (pinyin.isEmpty() ? QString() : "  (" + marked + ")")) +
                  Row(QStringLiteral("Jyutping"), record->jyutping) +
                  Row(QStringLiteral("English"), english) + Row(QStringLiteral("Radical"), record->radical) +
                  Row(QStringLiteral("Strokes"), record->strokes) +
                  Row(QStringLiteral("Simplified"), simplified.join(u' ')) +
                  Row(QStringLiteral("Traditional"), traditional.join(u' '));
    return answer;
}

Answer LookupCommands::word(const QString& text) {
    const QString trimmed = text.trimmed();
    const std::optional<WordEntry> entry = dictionary_.records().wordEntry(trimmed);
    if (!entry) {
        return Failure(kNotFound, QStringLiteral("'%1' is not in the dictionary").arg(trimmed));
    }
    Answer answer;
    answer.json = QJsonObject{
        {QStringLiteral("word"), entry->word},
        {QStringLiteral("pinyin"), entry->pinyin},
        {QStringLiteral("jyutping"), entry->jyutping},
        {QStringLiteral("english"), entry->english},
    };
    // A Cantonese word the dictionary has no gloss for says so; the JSON
    // keeps its English empty.
    const QString english = entry->english.trimmed().isEmpty()
                                ? QStringLiteral("- (Cantonese word; no English gloss yet)")
                                : entry->english;
    answer.text = entry->word + u'\n' + Row(QStringLiteral("Pinyin"), entry->pinyin) +
                  Row(QStringLiteral("Jyutping"), entry->jyutping) + Row(QStringLiteral("English"), english);
    return answer;
}

Answer LookupCommands::english(const QString& query) {
    const QString trimmed = query.trimmed();
    const std::vector<EnglishMatch> matches = dictionary_.records().englishMatches(trimmed);
    if (matches.empty()) {
        return Failure(kNotFound, QStringLiteral("nothing matches '%1'").arg(trimmed));
    }
    Answer answer;
    QJsonArray list;
    for (const EnglishMatch& match : matches) {
        list.append(QJsonObject{{QStringLiteral("word"), match.word},
                                {QStringLiteral("pinyin"), match.pinyin},
                                {QStringLiteral("english"), match.english}});
        answer.text +=
            match.word + QStringLiteral("  ") + match.pinyin + QStringLiteral("  ") + match.english + u'\n';
    }
    answer.json = QJsonObject{{QStringLiteral("query"), trimmed}, {QStringLiteral("matches"), list}};
    return answer;
}

Answer LookupCommands::pinyin(const QString& syllable) {
    return syllableList(syllable, Scheme::Pinyin);
}

Answer LookupCommands::jyutping(const QString& syllable) {
    return syllableList(syllable, Scheme::Jyutping);
}

Answer LookupCommands::syllableList(const QString& syllable, Scheme scheme) {
    const bool isPinyin = scheme == Scheme::Pinyin;
    const std::optional<SyllableId> id = SyllableFromInput(syllable, scheme);
    if (!id) {
        return Failure(kNotFound,
                       QStringLiteral("'%1' is no %2 syllable")
                           .arg(syllable, isPinyin ? QStringLiteral("Pinyin") : QStringLiteral("Jyutping")));
    }
    PlainListPage page;
    QString title;
    const bool listed = isPinyin ? dictionary_.lists().ListByPinyin(*id, page, title)
                                 : dictionary_.lists().ListByJyutping(*id, page, title);
    if (!listed || !HasCharacters(page)) {
        return Failure(kNotFound, QStringLiteral("no character is read '%1'").arg(syllable));
    }
    return ListAnswer(title, page);
}

Answer LookupCommands::strokes(const QString& count) {
    bool ok = false;
    const int n = count.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 255) {
        return Failure(kBadUsage, QStringLiteral("'strokes' takes a stroke count from 1 to 255"));
    }
    PlainListPage page;
    QString title;
    if (!dictionary_.lists().ListByStrokeCount(n, page, title) || !HasCharacters(page)) {
        return Failure(kNotFound, QStringLiteral("no character has %1 strokes").arg(n));
    }
    return ListAnswer(title, page);
}

Answer LookupCommands::radical(const QString& radical) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})(['\u2019]?)$"));
    const QRegularExpressionMatch match = form.match(radical.trimmed());
    const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (number < 1 || number > 214) {
        return Failure(kBadUsage, QStringLiteral("'radical' takes a radical number from 1 to 214, "
                                                 "with an apostrophe for a variant form (168')"));
    }
    const int value = number + (match.captured(2).isEmpty() ? 0 : 0x100);
    PlainListPage page;
    QString title;
    if (!dictionary_.lists().ListByRadical(value, page, title) || !HasCharacters(page)) {
        return Failure(kNotFound, QStringLiteral("radical %1 has no characters").arg(radical.trimmed()));
    }
    return ListAnswer(title, page);
}

} // namespace quillory::cli
