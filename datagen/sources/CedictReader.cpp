#include "datagen/sources/CedictReader.h"

#include "datagen/sources/Bzip2.h"
#include "datagen/sources/UnihanReader.h"

#include <QStringList>

namespace quillory::datagen {

namespace {

// Letters (with "u:" for ü) followed by one tone digit 1-5.
bool IsSyllableToken(QStringView token) {
    if (token.size() < 2)
        return false;
    const QChar tone = token.back();
    if (tone < u'1' || tone > u'5')
        return false;
    for (QChar c : token.first(token.size() - 1)) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == ':'))
            return false;
    }
    return true;
}

// Single code point of a headword, or 0.
std::uint32_t SingleCodePoint(const QString& text) {
    const auto codes = text.toUcs4();
    return codes.size() == 1 ? codes.front() : 0;
}

void AppendGloss(QString& glosses, const QString& gloss) {
    if (gloss.isEmpty() || glosses.split(QStringLiteral(" / ")).contains(gloss))
        return;
    if (!glosses.isEmpty())
        glosses += QStringLiteral(" / ");
    glosses += gloss;
}

void MergeIntoCharacter(std::uint32_t code, const WordSource& word, SourceData& source) {
    CharacterSource& character = source.characters[code];
    character.code = code;
    for (const QString& token : word.pinyin.split(u' ', Qt::SkipEmptyParts))
        if (IsSyllableToken(token))
            AppendUnique(character.pinyin, token.toStdString());
    for (const QString& gloss : word.english.split(QStringLiteral(" / "), Qt::SkipEmptyParts))
        AppendGloss(character.cedictEnglish, gloss);
}

} // namespace

QString NormaliseCedictPinyin(QStringView pinyin) {
    QStringList tokens;
    for (QStringView token : pinyin.split(u' ', Qt::SkipEmptyParts)) {
        if (!IsSyllableToken(token)) {
            tokens.append(token.toString());
            continue;
        }
        QString syllable = token.toString().toLower();
        syllable.replace(QStringLiteral("u:"), QStringLiteral("v"));
        if (syllable == u"r5")
            syllable = QStringLiteral("er5");
        tokens.append(syllable);
    }
    return tokens.join(u' ');
}

bool ParseCedictLine(QStringView line, WordSource* word) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u'#'))
        return false;
    const qsizetype blank1 = line.indexOf(u' ');
    const qsizetype blank2 = blank1 < 0 ? -1 : line.indexOf(u' ', blank1 + 1);
    if (blank1 <= 0 || blank2 <= blank1 + 1)
        return false;
    const qsizetype open = blank2 + 1;
    if (open >= line.size() || line[open] != u'[')
        return false;
    const qsizetype close = line.indexOf(u']', open);
    if (close < 0 || close + 2 >= line.size() || line[close + 1] != u' ' || line[close + 2] != u'/' ||
        !line.endsWith(u'/'))
        return false;
    QStringList glosses;
    const QStringView body = line.sliced(close + 3, line.size() - close - 4);
    for (QStringView gloss : body.split(u'/', Qt::SkipEmptyParts)) {
        gloss = gloss.trimmed();
        if (!gloss.isEmpty())
            glosses.append(gloss.toString());
    }
    if (glosses.isEmpty())
        return false;
    word->traditional = line.first(blank1).toString();
    word->simplified = line.sliced(blank1 + 1, blank2 - blank1 - 1).toString();
    word->pinyin = NormaliseCedictPinyin(line.sliced(open + 1, close - open - 1));
    word->jyutping.clear();
    word->english = glosses.join(QStringLiteral(" / "));
    return true;
}

bool ReadCedictText(const QString& path, QString* text, QString* error) {
    QByteArray content;
    if (!ReadSourceFile(path, &content, error))
        return false;
    if (path.endsWith(QStringLiteral(".js"))) {
        const qsizetype open = content.indexOf('`');
        const qsizetype close = content.lastIndexOf('`');
        if (open < 0 || close <= open) {
            *error = QStringLiteral("%1 holds no dictionary text between backticks").arg(path);
            return false;
        }
        content = content.mid(open + 1, close - open - 1);
    }
    *text = QString::fromUtf8(content);
    return true;
}

void AddCedictText(QStringView text, SourceData& source, CedictStats* stats) {
    CedictStats counts;
    QStringList header;
    bool inHeader = true;
    for (QStringView line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(u'#')) {
            if (inHeader)
                header.append(line.toString());
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        inHeader = false;
        WordSource word;
        if (!ParseCedictLine(line, &word)) {
            ++counts.skippedLines;
            continue;
        }
        ++counts.entries;
        const std::uint32_t simplified = SingleCodePoint(word.simplified);
        const std::uint32_t traditional = SingleCodePoint(word.traditional);
        if (simplified != 0 || traditional != 0)
            ++counts.singleCharacterEntries;
        if (IsDictionaryIdeograph(simplified))
            MergeIntoCharacter(simplified, word, source);
        if (IsDictionaryIdeograph(traditional) && traditional != simplified)
            MergeIntoCharacter(traditional, word, source);
        source.words.push_back(std::move(word));
    }
    if (!header.isEmpty()) {
        if (!source.cedictHeader.isEmpty())
            source.cedictHeader += u'\n';
        source.cedictHeader += header.join(u'\n');
    }
    if (stats)
        *stats = counts;
}

bool ReadCedict(const QString& path, SourceData& source, QString* error, CedictStats* stats) {
    QString text;
    if (!ReadCedictText(path, &text, error))
        return false;
    CedictStats counts;
    AddCedictText(text, source, &counts);
    if (stats)
        *stats = counts;
    if (counts.entries == 0) {
        *error = QStringLiteral("no dictionary entries found in %1").arg(path);
        return false;
    }
    return true;
}

} // namespace quillory::datagen
