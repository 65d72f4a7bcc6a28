#include "dictionary/lists/CharacterLists.h"

#include "dictionary/text/TextRules.h"

#include "dictionary/files/DataFormat.h"
#include "dictionary/lists/ListChunkFormat.h"

#include <QFileInfo>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quillory {

namespace {

constexpr int kCityRadical = 163;
constexpr char32_t kCityRadicalRightForm = 0x961D;

// Hexadecimal tokens of the radical table; a token is read from its first
// 100 characters at most.
std::uint32_t ReadHexToken(const QString& token) {
    return HexValue(QStringView(token).left(100));
}

// Start of the line that begins with head, or -1. Matching only at line
// starts keeps "20'.0" from being found inside "120'.0".
qsizetype FindLineStartingWith(const QString& text, const QString& head) {
    if (text.startsWith(head)) {
        return 0;
    }
    const qsizetype at = text.indexOf(u'\n' + head);
    return at < 0 ? -1 : at + 1;
}

bool EqualsIgnoringCase(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QString> RadicalLineTokens(const QString& table, const QString& head) {
    const qsizetype start = FindLineStartingWith(table, head);
    if (start < 0) {
        return std::nullopt;
    }
    qsizetype end = table.indexOf(u'\n', start);
    if (end < 0) {
        end = table.size();
    }
    const QStringView line = QStringView(table).mid(start, end - start);
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
        return std::nullopt;
    }
    return TrimBlanks(line.mid(tab + 1)).toString();
}

int CompareRadicalKeys(const QByteArray& a, const QByteArray& b) {
    return CompareRadicalKeyTexts(a, b);
}

RadicalLine ParseRadicalLine(const QString& line) {
    RadicalLine result;
    const QString trimmed = TrimBlanks(line).toString();
    const qsizetype tab = trimmed.indexOf(u'\t');
    if (tab < 0) {
        return result;
    }
    QString head = trimmed.left(tab);
    const qsizetype dot = head.indexOf(u'.');
    if (dot < 0) {
        return result;
    }
    head.truncate(dot);
    bool variant = false;
    const qsizetype apostrophe = head.indexOf(u'\'');
    if (apostrophe >= 0) {
        head.truncate(apostrophe);
        variant = true;
    }
    const int value = std::atoi(head.toLatin1().constData()) + (variant ? 0x100 : 0);

    QStringList forms;
    bool outOfRange = false;
    const QStringList tokens = trimmed.mid(tab + 1).split(u' ', Qt::SkipEmptyParts);
    for (const QString& token : tokens) {
        if (token.size() < 4) {
            continue; // a residual stroke count
        }
        const std::uint32_t code = ReadHexToken(token);
        if (IsIdeograph(code)) {
            forms.append(CodePointText(code));
        } else {
            outOfRange = true;
        }
    }
    result.value = value;
    result.count = static_cast<int>(forms.size());
    result.forms = forms.join(u' ');
    if (value == kCityRadical) {
        if (!result.forms.isEmpty()) {
            result.forms += u' ';
        }
        result.forms += CodePointText(kCityRadicalRightForm);
    }
    if (outOfRange) {
        result.forms += QStringLiteral(" *");
    }
    return result;
}

CharacterLists::CharacterLists(DataFiles& files, const DataIndex& index, DataFaults* faults)
    : files_(files), index_(index), faults_(faults), leadIn_(std::random_device{}()) {}

CharacterList CharacterLists::Damaged(QFile& file, const char* what) {
    if (faults_ != nullptr) {
        faults_->Report(QFileInfo(file.fileName()).fileName() + QStringLiteral(": ") +
                        QString::fromLatin1(what));
    }
    return {};
}

CharacterList CharacterLists::ReadChunk(ListFile which, const QByteArray& chunkKey, const ChunkRef& ref,
                                        const RecordMatcher& matches) {
    QFile* file = files_.listFile(which);
    if (file == nullptr) {
        return {}; // the file did not open, which opening has reported
    }
    if (chunkKey.size() != 16) {
        return Damaged(*file, "an index entry has bounds that are no valid key");
    }
    // A random amount of data before the chunk is read along with it, never
    // reaching before the start of the file.
    qint64 leadIn = 0;
    if (ref.position > 0) {
        leadIn = std::uniform_int_distribution<qint64>(0, kMaxLeadIn - 1)(leadIn_);
        leadIn = std::min<qint64>(leadIn, ref.position);
    }
    if (!file->seek(static_cast<qint64>(ref.position) - leadIn)) {
        return Damaged(*file, "a chunk lies beyond the end of the file");
    }
    QByteArray buffer(kChunkReadLimit, Qt::Uninitialized);
    const qint64 read = file->read(buffer.data(), kChunkReadLimit);
    if (read <= leadIn) {
        return Damaged(*file, "a chunk lies beyond the end of the file");
    }
    const qint64 available = read - leadIn;
    qint64 length = available;
    if (ref.nextPosition != 0) {
        if (ref.nextPosition <= ref.position) {
            return Damaged(*file, "the index gives a chunk no length");
        }
        length = static_cast<qint64>(ref.nextPosition) - ref.position;
        if (length > available) {
            return Damaged(*file, "a chunk is cut short"); // or its index entry overstates it
        }
    }
    char* chunk = buffer.data() + leadIn;
    ScrambleChunk(chunk, static_cast<std::size_t>(length), chunkKey);

    std::vector<unsigned char> inflated(kInflatedChunkCapacity);
    uLongf inflatedSize = kInflatedChunkCapacity;
    if (uncompress(inflated.data(), &inflatedSize, reinterpret_cast<const Bytef*>(chunk),
                   static_cast<uLong>(length)) != Z_OK) {
        return Damaged(*file, "a chunk does not inflate");
    }

    const std::size_t end = inflatedSize;
    const std::size_t window = static_cast<std::size_t>(RecordWindow(which));
    std::size_t at = 0;
    while (end - at >= 9) {
        const std::optional<RecordHead> head =
            ReadRecordHead(inflated.data() + at, std::min(end - at, window));
        if (!head || head->count == 0) {
            return Damaged(*file, "a record's count does not fit its chunk");
        }
        switch (matches(head->key)) {
        case RecordMatch::Match:
            return ReadRecordValues(which, inflated.data() + at, *head);
        case RecordMatch::Stop:
            return Damaged(*file, "a record has a key that is no valid key");
        case RecordMatch::Skip:
            break;
        }
        at += RecordSize(head->count);
    }
    return {};
}

CharacterList CharacterLists::CharactersBySyllable(ListFile which, const std::string& syllable,
                                                   const ChunkRef& ref) {
    const Scheme scheme = which == ListFile::Jyutping ? Scheme::Jyutping : Scheme::Pinyin;
    const std::optional<std::string> low = DecodeSyllable(ref.low, scheme);
    const std::optional<std::string> high = DecodeSyllable(ref.high, scheme);
    if (!low || !high) {
        return {};
    }
    const QByteArray wanted = QByteArray::fromStdString(syllable);
    const QByteArray key =
        SyllableChunkKey(which, QByteArray::fromStdString(*low), QByteArray::fromStdString(*high));
    return ReadChunk(which, key, ref, [&](std::uint32_t recordKey) {
        if (recordKey > 0xFFFF) {
            return RecordMatch::Stop;
        }
        const std::optional<std::string> text = DecodeSyllable(static_cast<SyllableId>(recordKey), scheme);
        if (!text) {
            return RecordMatch::Stop;
        }
        return EqualsIgnoringCase(QByteArray::fromStdString(*text), wanted) ? RecordMatch::Match
                                                                            : RecordMatch::Skip;
    });
}

CharacterList CharacterLists::CharactersByPinyin(const std::string& syllable, const ChunkRef& ref) {
    return CharactersBySyllable(ListFile::Pinyin, syllable, ref);
}

CharacterList CharacterLists::CharactersByJyutping(const std::string& syllable, const ChunkRef& ref) {
    return CharactersBySyllable(ListFile::Jyutping, syllable, ref);
}

CharacterList CharacterLists::CharactersByStrokeCount(int count, const ChunkRef& ref) {
    return ReadChunk(
        ListFile::StrokeCount, StrokeCountChunkKey(ref.low, ref.high), ref, [count](std::uint32_t recordKey) {
            return static_cast<int>(recordKey & 0xFF) == count ? RecordMatch::Match : RecordMatch::Skip;
        });
}

CharacterList CharacterLists::CharactersByRadical(const QByteArray& radicalKey, const ChunkRef& ref) {
    return ReadChunk(ListFile::Radical, RadicalChunkKey(ref.lowText, ref.highText), ref,
                     [&](std::uint32_t recordKey) {
                         return EqualsIgnoringCase(RadicalKeyText(recordKey), radicalKey) ? RecordMatch::Match
                                                                                          : RecordMatch::Skip;
                     });
}

bool CharacterLists::ListBySyllable(ListFile which, SyllableId id, ListPageBuilder& page) {
    const bool jyutping = which == ListFile::Jyutping;
    const Scheme scheme = jyutping ? Scheme::Jyutping : Scheme::Pinyin;
    std::optional<std::string> text = DecodeSyllable(id, scheme);
    if (!text || text->empty()) {
        return false;
    }
    std::string syllable = *text;
    if (jyutping) {
        page.OpenJyutpingPage(syllable);
    } else {
        page.OpenPinyinPage(syllable);
    }
    const int lastTone = jyutping ? 6 : 5;
    for (int tone = 1; tone <= lastTone; ++tone) {
        syllable.back() = static_cast<char>('0' + tone);
        const std::optional<SyllableId> tonedId = EncodeSyllable(syllable, scheme);
        if (!tonedId) {
            return false;
        }
        const std::optional<ChunkRef> ref =
            jyutping ? index_.FindJyutpingChunk(*tonedId) : index_.FindPinyinChunk(*tonedId);
        if (!ref) {
            continue;
        }
        if (!DecodeSyllable(ref->low, scheme) || !DecodeSyllable(ref->high, scheme)) {
            return false;
        }
        const CharacterList chars = CharactersBySyllable(which, syllable, *ref);
        if (chars.empty()) {
            continue;
        }
        if (jyutping) {
            page.AddJyutpingSection(syllable, chars);
        } else {
            page.AddPinyinSection(syllable, chars);
        }
    }
    return true;
}

bool CharacterLists::ListByPinyin(SyllableId id, ListPageBuilder& page, QString& title) {
    const std::optional<std::string> text = DecodeSyllable(id, Scheme::Pinyin);
    if (!text || text->empty()) {
        return false;
    }
    // "[zhong]", with ü for v: "[lü]".
    QString bare = QString::fromLatin1(text->data(), static_cast<qsizetype>(text->size() - 1));
    bare.replace(u'v', QChar(0x00FC));
    title = u'[' + bare + u']';
    return ListBySyllable(ListFile::Pinyin, id, page);
}

bool CharacterLists::ListByJyutping(SyllableId id, ListPageBuilder& page, QString& title) {
    const std::optional<std::string> text = DecodeSyllable(id, Scheme::Jyutping);
    if (!text) {
        return false;
    }
    title = u'[' + QString::fromStdString(*text) + u']';
    return ListBySyllable(ListFile::Jyutping, id, page);
}

bool CharacterLists::ListByStrokeCount(int count, ListPageBuilder& page, QString& title) {
    const std::optional<ChunkRef> ref = index_.FindStrokeCountChunk(count);
    if (ref) {
        page.AddStrokeSection(count, CharactersByStrokeCount(count, *ref));
    }
    title = QStringLiteral("[%1]").arg(count & 0xFF);
    return true;
}

bool CharacterLists::ListByRadical(int radicalValue, ListPageBuilder& page, QString& title) {
    const int radical = radicalValue & 0xFF;
    const bool variant = (radicalValue & 0x100) != 0;
    const QString head = QString::number(radical) + (variant ? QStringLiteral("'.") : QStringLiteral("."));

    const std::optional<QString> tokens = RadicalLineTokens(index_.RadicalTableText(), head + u'0');
    if (!tokens) {
        return false;
    }

    CharacterList forms;
    std::vector<std::uint32_t> residuals;
    for (const QString& token : tokens->split(u' ', Qt::SkipEmptyParts)) {
        const std::uint32_t value = ReadHexToken(token);
        if (value > kRadicalFormLimit) {
            forms.push_back(value);
        } else {
            residuals.push_back(value);
        }
    }
    if (radicalValue == kCityRadical &&
        std::find(forms.begin(), forms.end(), kCityRadicalRightForm) == forms.end()) {
        forms.push_back(kCityRadicalRightForm);
    }
    page.OpenRadicalPage(forms);

    // "[" and each form in range followed by a blank; the last blank closes
    // the title, or "*]" marks forms outside the range.
    title = QStringLiteral("[");
    bool allInRange = true;
    for (std::uint32_t form : forms) {
        if (IsIdeograph(form)) {
            title += CodePointText(form) + u' ';
        } else {
            allInRange = false;
        }
    }
    if (allInRange) {
        title.back() = u']';
    } else {
        title += QStringLiteral("*]");
    }

    // Residual 0 is a group like any other: the radical's own characters and
    // those counted as the radical less a stroke (王 96.-1), listed first.
    const QByteArray keyHead = head.toLatin1();
    for (std::uint32_t residual : residuals) {
        const QByteArray key = keyHead + QByteArray::number(residual);
        const std::optional<ChunkRef> ref = index_.FindRadicalChunk(key);
        if (!ref) {
            continue;
        }
        const CharacterList chars = CharactersByRadical(key, *ref);
        if (std::any_of(chars.begin(), chars.end(), IsIdeograph)) {
            page.AddRadicalGroup(static_cast<int>(residual), chars);
        }
    }
    return true;
}

} // namespace quillory
