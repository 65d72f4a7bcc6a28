#include "datagen/sources/UnihanReader.h"

#include "datagen/sources/Bzip2.h"

#include <QByteArrayView>
#include <QList>
#include <algorithm>
#include <array>

namespace quillory::datagen {

namespace {

constexpr char16_t kMacron = 0x0304, kAcute = 0x0301, kCaron = 0x030C, kGrave = 0x0300;
constexpr char16_t kDiaeresis = 0x0308, kCircumflex = 0x0302;

// The Mandarin fields in the order their readings are merged.
enum MandarinField { kMandarin, kTGHZ2013, kXHC1983, kHanyuPinyin, kMandarinFieldCount };

struct PendingCharacter {
    std::array<std::vector<QString>, kMandarinFieldCount> pinyin;
    bool seen = false;
};

const char* const kUnihanFiles[] = {"Unihan_Readings.txt", "Unihan_DictionaryLikeData.txt",
                                    "Unihan_IRGSources.txt", "Unihan_Variants.txt"};

bool IsRadicalDigitsAndMarks(QStringView head, QString* number, bool* variant) {
    number->clear();
    *variant = false;
    for (QChar c : head) {
        if (c.isDigit() && c.unicode() < 0x80) {
            if (*variant)
                return false; // digits after a mark: not a radical number
            number->append(c);
        } else if (c.isSpace()) {
            return false;
        } else {
            *variant = true; // ', ’, ′, '' and the like all mean the variant radical
        }
    }
    return !number->isEmpty();
}

QString ToQString(QByteArrayView bytes) {
    return QString::fromUtf8(bytes.data(), bytes.size());
}

// "de(75596) dì(157)": each reading with its count.
void ReadPinyinUses(const QString& value, std::map<std::string, int>& uses) {
    for (QStringView part : QStringView(value).split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype open = part.indexOf(u'(');
        if (open <= 0 || !part.endsWith(u')'))
            continue;
        bool ok = false;
        const int count = part.sliced(open + 1, part.size() - open - 2).toInt(&ok);
        if (ok && count > 0)
            uses[PinyinToToneDigits(part.first(open))] += count;
    }
}

class UnihanCollector {
public:
    explicit UnihanCollector(SourceData& source)
        : source_(source), pending_(kLastIdeograph - kFirstIdeograph + 1) {}

    void ReadLines(const QByteArray& text) {
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = text.indexOf('\n', start);
            if (end < 0)
                end = text.size();
            ReadLine(QByteArrayView(text.constData() + start, end - start));
            start = end + 1;
        }
    }

    int Finish() {
        int count = 0;
        for (std::uint32_t i = 0; i < pending_.size(); ++i) {
            PendingCharacter& pending = pending_[i];
            if (!pending.seen)
                continue;
            CharacterSource& character = Character(kFirstIdeograph + i);
            for (const auto& field : pending.pinyin)
                for (const QString& reading : field)
                    AppendUnique(character.pinyin, PinyinToToneDigits(reading));
            ++count;
        }
        return count;
    }

private:
    CharacterSource& Character(std::uint32_t code) {
        CharacterSource& character = source_.characters[code];
        character.code = code;
        return character;
    }

    void ReadLine(QByteArrayView line) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith("U+"))
            return;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        if (tab2 < 0)
            return;
        bool ok = false;
        const std::uint32_t code = line.sliced(2, tab1 - 2).toUInt(&ok, 16);
        if (!ok || !IsDictionaryIdeograph(code))
            return;
        const QByteArrayView field = line.sliced(tab1 + 1, tab2 - tab1 - 1);
        const QByteArrayView value = line.sliced(tab2 + 1).trimmed();
        if (value.isEmpty())
            return;
        PendingCharacter& pending = pending_[code - kFirstIdeograph];

        if (field == "kMandarin" || field == "kTGHZ2013" || field == "kXHC1983" || field == "kHanyuPinyin") {
            const int index = field == "kMandarin"   ? kMandarin
                              : field == "kTGHZ2013" ? kTGHZ2013
                              : field == "kXHC1983"  ? kXHC1983
                                                     : kHanyuPinyin;
            pending.pinyin[index] = SplitPinyinField(ToQString(value));
            pending.seen = true;
        } else if (field == "kCantonese") {
            CharacterSource& character = Character(code);
            for (QByteArrayView reading : QByteArray(value.data(), value.size()).split(' '))
                AppendUnique(character.jyutping, reading.trimmed().toByteArray().toLower().toStdString());
            if (!character.jyutping.empty())
                character.cantonese = character.jyutping.front();
            pending.seen = true;
        } else if (field == "kDefinition") {
            Character(code).definition = ToQString(value);
            pending.seen = true;
        } else if (field == "kTotalStrokes") {
            const qsizetype blank = value.indexOf(' ');
            const int strokes = value.first(blank < 0 ? value.size() : blank).toInt(&ok);
            if (ok && strokes > 0)
                Character(code).strokes = strokes;
            pending.seen = true;
        } else if (field == "kRSUnicode") {
            Character(code).radical = NormaliseRadicalStroke(ToQString(value));
            pending.seen = true;
        } else if (field == "kSimplifiedVariant") {
            Character(code).simplified = ParseVariantList(ToQString(value), code);
            pending.seen = true;
        } else if (field == "kTraditionalVariant") {
            Character(code).traditional = ParseVariantList(ToQString(value), code);
            pending.seen = true;
        } else if (field == "kHanyuPinlu") {
            ReadPinyinUses(ToQString(value), Character(code).pinyinUses);
            pending.seen = true;
        } else if (field == "kFrequency") {
            const int frequency = value.toInt(&ok);
            if (ok && frequency > 0)
                Character(code).frequency = frequency;
            pending.seen = true;
        }
    }

    SourceData& source_;
    std::vector<PendingCharacter> pending_;
};

} // namespace

std::string PinyinToToneDigits(QStringView syllable) {
    const QString decomposed = syllable.toString().normalized(QString::NormalizationForm_D);
    std::string letters;
    int tone = 5;
    bool toneSet = false;
    for (QChar c : decomposed) {
        const char16_t u = c.unicode();
        if (u < 0x80 && c.isLetter()) {
            letters.push_back(static_cast<char>(c.toLower().unicode()));
            continue;
        }
        int markTone = 0;
        switch (u) {
        case kMacron:
            markTone = 1;
            break;
        case kAcute:
            markTone = 2;
            break;
        case kCaron:
            markTone = 3;
            break;
        case kGrave:
            markTone = 4;
            break;
        case kDiaeresis:
            if (letters.empty() || letters.back() != 'u')
                return {};
            letters.back() = 'v';
            continue;
        case kCircumflex:
            if (letters.empty() || letters.back() != 'e')
                return {};
            letters.back() = '\xC3'; // ê in UTF-8
            letters.push_back('\xAA');
            continue;
        default:
            return {};
        }
        if (letters.empty() || toneSet)
            return {};
        tone = markTone;
        toneSet = true;
    }
    if (letters.empty())
        return {};
    return letters + static_cast<char>('0' + tone);
}

std::vector<QString> SplitPinyinField(QStringView value) {
    std::vector<QString> readings;
    for (QStringView part : value.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype colon = part.lastIndexOf(u':');
        if (colon >= 0)
            part = part.sliced(colon + 1);
        for (QStringView reading : part.split(u',', Qt::SkipEmptyParts)) {
            reading = reading.trimmed();
            if (!reading.isEmpty())
                readings.push_back(reading.toString());
        }
    }
    return readings;
}

QString NormaliseRadicalStroke(QStringView value) {
    value = value.trimmed();
    const qsizetype blank = value.indexOf(u' ');
    if (blank >= 0)
        value = value.first(blank);
    const qsizetype dot = value.indexOf(u'.');
    if (dot <= 0)
        return {};
    QString number;
    bool variant = false;
    if (!IsRadicalDigitsAndMarks(value.first(dot), &number, &variant))
        return {};
    const QStringView residual = value.sliced(dot + 1);
    bool ok = false;
    (void)residual.toInt(&ok);
    if (!ok)
        return {};
    return number + (variant ? QStringLiteral("'") : QString()) + u'.' + residual.toString();
}

std::vector<std::uint32_t> ParseVariantList(QStringView value, std::uint32_t self) {
    std::vector<std::uint32_t> codes;
    for (QStringView token : value.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype annotation = token.indexOf(u'<');
        if (annotation >= 0)
            token = token.first(annotation);
        if (!token.startsWith(u"U+"))
            continue;
        bool ok = false;
        const std::uint32_t code = token.sliced(2).toUInt(&ok, 16);
        if (!ok || code == self || code > 0x10FFFF)
            continue;
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
    }
    return codes;
}

void AppendUnique(std::vector<std::string>& list, const std::string& value) {
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

bool ReadUnihan(const QString& dir, SourceData& source, QString* error) {
    UnihanCollector collector(source);
    for (const char* name : kUnihanFiles) {
        const QString path = FindSourceFile(dir, QString::fromLatin1(name));
        if (path.isEmpty()) {
            *error = QStringLiteral("%1 (or %1.bz2) not found in %2").arg(QString::fromLatin1(name), dir);
            return false;
        }
        QByteArray text;
        if (!ReadSourceFile(path, &text, error))
            return false;
        collector.ReadLines(text);
    }
    if (collector.Finish() == 0) {
        *error = QStringLiteral("no ideographs U+4E00..U+9FA5 found in the Unihan files in %1").arg(dir);
        return false;
    }
    return true;
}

} // namespace quillory::datagen
