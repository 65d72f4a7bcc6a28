#include "dictionary/lists/CharacterLists.h"
#include "datagen/writers/IndexWriter.h"
#include "datagen/writers/ListFileWriter.h"
#include "dictionary/lists/ListChunkFormat.h"
#include "pages/builders/PlainListPage.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <set>

namespace quillory {
namespace {

using datagen::CharacterSource;
using datagen::IndexContent;
using datagen::SourceData;

QString Text(std::initializer_list<char32_t> codes) {
    const std::u32string chars(codes);
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size()));
}

void Add(SourceData& source, std::uint32_t code, std::vector<std::string> pinyin,
         std::vector<std::string> jyutping, int strokes, const char* radical) {
    CharacterSource& c = source.characters[code];
    c.code = code;
    c.pinyin = std::move(pinyin);
    c.jyutping = std::move(jyutping);
    c.strokes = strokes;
    c.radical = QString::fromLatin1(radical);
}

// A few dozen real-looking characters, plus generated ones so that every list
// file has several chunks: 2046 characters read ai4 (a record exactly as large
// as its window), which puts the ai4 chunk a few bytes after the a1 chunk.
SourceData SampleSource() {
    SourceData s;
    Add(s, 0x4E2D, {"zhong1", "zhong4"}, {"zung1", "zung3"}, 4, "2.3");      // 中
    Add(s, 0x949F, {"zhong1"}, {"zung1"}, 9, "167'.4");                      // 钟
    Add(s, 0x4F17, {"zhong4"}, {"zung3"}, 6, "9.4");                         // 众
    Add(s, 0x4E28, {"gun3"}, {"gwan2"}, 1, "2.0");                           // 丨
    Add(s, 0x4E30, {"feng1"}, {"fung1"}, 4, "2.3");                          // 丰
    Add(s, 0x4E32, {"chuan4"}, {"cyun3"}, 7, "2.6");                         // 串
    Add(s, 0x4E34, {"lin2"}, {"lam4"}, 9, "2.8");                            // 临
    Add(s, 0x516B, {"ba1"}, {"baat3"}, 2, "12.0");                           // 八
    Add(s, 0x516C, {"gong1"}, {"gung1"}, 4, "12.2");                         // 公
    Add(s, 0x516D, {"liu4", "lu4"}, {"luk6"}, 4, "12.2");                    // 六
    Add(s, 0x5171, {"gong4"}, {"gung6"}, 6, "12.4");                         // 共
    Add(s, 0x7530, {"tian2"}, {"tin4"}, 5, "102.0");                         // 田
    Add(s, 0x7537, {"nan2"}, {"naam4"}, 7, "102.2");                         // 男
    Add(s, 0x754C, {"jie4"}, {"gaai3"}, 9, "102.4");                         // 界
    Add(s, 0x9577, {"chang2"}, {"coeng4"}, 8, "168.0");                      // 長
    Add(s, 0x957F, {"chang2", "zhang3"}, {"coeng4", "zoeng2"}, 4, "168'.0"); // 长
    Add(s, 0x9580, {"men2"}, {"mun4"}, 7, "168'.3");
    Add(s, 0x738B, {"wang2", "wang4"}, {"wong4"}, 4, "96.-1"); // 王
    Add(s, 0x5415, {"lv3"}, {"leoi5"}, 6, "30.3");             // 吕
    Add(s, 0x7EFF, {"lv4", "lu4"}, {"luk6"}, 11, "120'.8");    // 绿
    Add(s, 0x5F8B, {"lv4"}, {"leot6"}, 9, "60.6");             // 律
    Add(s, 0x9091, {"yi4"}, {"jap1"}, 7, "163.0");             // 邑
    Add(s, 0x90A3, {"na4", "nei4"}, {"naa5"}, 6, "163.4");     // 那
    Add(s, 0x554A, {"a1", "hm1"}, {"aa1", "a1"}, 10, "30.7");  // 啊, with readings that do not encode
    Add(s, 0x5514, {"r5"}, {"m4", "oet1"}, 10, "30.7");        // 唔
    Add(s, 0x4E00, {}, {}, 0, "");                             // in no list
    // The radical list's forms; 12 has one outside the pages' range.
    s.radicalForms[QStringLiteral("2")] = {0x4E28};
    s.radicalForms[QStringLiteral("12")] = {0x516B, 0x3405};
    s.radicalForms[QStringLiteral("96")] = {0x7389};
    s.radicalForms[QStringLiteral("102")] = {0x7530};
    s.radicalForms[QStringLiteral("163")] = {0x9091};
    s.radicalForms[QStringLiteral("168")] = {0x9577};
    s.radicalForms[QStringLiteral("168'")] = {0x957F};

    const char* pinyin[] = {"ba2", "bo2", "ma3", "mao4", "shui3", "tian1", "xiao3", "yu2", "zou3"};
    const char* jyutping[] = {"baa1", "maa5", "seoi2", "tin1", "siu2", "jyu4", "oi3"};
    std::uint32_t code = 0x6000;
    for (std::uint32_t i = 0; i < 5300; ++i, ++code) {
        while (s.characters.count(code) != 0) {
            ++code; // keep the characters above
        }
        const std::string reading = i < 2046 ? "ai4" : pinyin[i % 9];
        const QByteArray radical =
            QByteArray::number(130 + i % 20) + '.' + QByteArray::number(1 + (i / 20) % 15);
        Add(s, code, {reading}, {jyutping[i % 7]}, 10 + static_cast<int>(i % 30), radical.constData());
    }
    return s;
}

// Characters of each list as a plain scan of the source sees them.
std::map<std::string, CharacterList> Expected(const SourceData& s, Scheme scheme) {
    std::map<std::string, CharacterList> lists;
    for (const auto& [code, c] : s.characters) {
        for (const std::string& reading : scheme == Scheme::Pinyin ? c.pinyin : c.jyutping) {
            if (EncodeSyllable(reading, scheme)) {
                lists[reading].push_back(code);
            }
        }
    }
    return lists;
}

SyllableId Pinyin(const char* text) {
    return *EncodeSyllable(text, Scheme::Pinyin);
}

// The data files written into a temporary folder and opened for look-ups.
struct DataFolder {
    QTemporaryDir dir;
    IndexContent content;
    datagen::ListFilesStats stats;
    RecordingReporter reporter;
    std::unique_ptr<DataFiles> files;
    std::unique_ptr<DataIndex> index;
    std::unique_ptr<CharacterLists> lists;

    bool WriteLists(const SourceData& source) {
        QString error;
        const bool ok = datagen::WriteListFiles(source, dir.path(), content, &error, &stats);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    bool WriteIndexAndOpen() {
        QString error;
        EXPECT_TRUE(datagen::WriteIndexFile(content, Path("oxa.dat"), &error)) << error.toStdString();
        return Open();
    }
    bool Open() {
        files = std::make_unique<DataFiles>(dir.path(), reporter);
        index = std::make_unique<DataIndex>(reporter);
        lists = std::make_unique<CharacterLists>(*files, *index);
        return files->OpenDataFiles() && index->LoadDataIndex(*files->indexFile());
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

class CharacterListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        source_ = new SourceData(SampleSource());
        data_ = new DataFolder;
        ASSERT_TRUE(data_->WriteLists(*source_));
        ASSERT_TRUE(data_->WriteIndexAndOpen());
    }
    static void TearDownTestSuite() {
        delete data_;
        delete source_;
    }
    static CharacterLists& lists() { return *data_->lists; }
    static const DataIndex& index() { return *data_->index; }

    static inline SourceData* source_ = nullptr;
    static inline DataFolder* data_ = nullptr;
};

// Every list of the source reads back through the index, as a plain scan of
// the source sees it.
TEST_F(CharacterListsTest, EveryListReadsBackThroughTheIndex) {
    for (Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        const bool pinyin = scheme == Scheme::Pinyin;
        for (const auto& [text, expected] : Expected(*source_, scheme)) {
            const SyllableId id = *EncodeSyllable(text, scheme);
            const auto ref = pinyin ? index().FindPinyinChunk(id) : index().FindJyutpingChunk(id);
            ASSERT_TRUE(ref) << text;
            EXPECT_EQ(pinyin ? lists().CharactersByPinyin(text, *ref)
                             : lists().CharactersByJyutping(text, *ref),
                      expected)
                << text;
        }
    }
    std::map<int, CharacterList> byCount;
    std::map<QByteArray, CharacterList> byRadical;
    for (const auto& [code, c] : source_->characters) {
        if (c.strokes > 0)
            byCount[c.strokes].push_back(code);
        if (!c.radical.isEmpty()) // 96.-1 is listed with residual 0
            byRadical[c.radical.toLatin1().replace(".-1", ".0")].push_back(code);
    }
    for (const auto& [count, expected] : byCount) {
        const auto ref = index().FindStrokeCountChunk(count);
        ASSERT_TRUE(ref) << count;
        EXPECT_EQ(lists().CharactersByStrokeCount(count, *ref), expected) << count;
    }
    for (const auto& [key, expected] : byRadical) {
        const auto ref = index().FindRadicalChunk(key);
        ASSERT_TRUE(ref) << key.toStdString();
        EXPECT_EQ(lists().CharactersByRadical(key, *ref), expected) << key.toStdString();
    }
}

TEST_F(CharacterListsTest, WriterFillsTheIndexSections) {
    const IndexContent& c = data_->content;
    EXPECT_GE(c.pinyinChunks.size(), 3u);
    EXPECT_GE(c.jyutpingChunks.size(), 2u);
    EXPECT_GE(c.strokeCountChunks.size(), 2u);
    EXPECT_GE(c.radicalChunks.size(), 2u);
    // Chunks cover ascending, disjoint ranges and follow each other in the file.
    for (std::size_t i = 1; i < c.pinyinChunks.size(); ++i) {
        EXPECT_LT(*DecodeSyllable(c.pinyinChunks[i - 1].high, Scheme::Pinyin),
                  *DecodeSyllable(c.pinyinChunks[i].low, Scheme::Pinyin));
        EXPECT_LT(c.pinyinChunks[i - 1].position, c.pinyinChunks[i].position);
    }
    for (std::size_t i = 1; i < c.radicalChunks.size(); ++i) {
        EXPECT_LT(CompareRadicalKeys(c.radicalChunks[i - 1].highKey, c.radicalChunks[i].lowKey), 0);
    }
    for (std::size_t i = 1; i < c.strokeCountChunks.size(); ++i) {
        EXPECT_LT(c.strokeCountChunks[i - 1].highest, c.strokeCountChunks[i].lowest);
    }
    // The a1 chunk holds a1 alone: ai4 fills a whole window.
    EXPECT_EQ(c.pinyinChunks[0].high, Pinyin("a1"));
    EXPECT_LT(c.pinyinChunks[1].position, 64u);

    // Tree order: syllable without tone, then tone.
    const auto ids = index().PinyinSyllables();
    const auto zhong = std::find(ids.begin(), ids.end(), Pinyin("zhong1"));
    ASSERT_NE(zhong, ids.end());
    EXPECT_EQ(*(zhong + 1), Pinyin("zhong4"));
    EXPECT_EQ(std::find(ids.begin(), ids.end(), Pinyin("lv3")) + 1,
              std::find(ids.begin(), ids.end(), Pinyin("lv4")));
    EXPECT_EQ(ids.size(), Expected(*source_, Scheme::Pinyin).size());

    const auto counts = index().StrokeCounts();
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_EQ(counts.front(), 1);
    EXPECT_EQ(data_->stats.skippedReadings, 4); // hm1, r5, a1, oet1
    EXPECT_EQ(data_->stats.characters, static_cast<int>(source_->characters.size()) - 1);
}

// The radical table's own form: forms, then residual counts in hexadecimal
// (130.x holds residuals 1..15); a variant radical's line after the plain one.
// The list pages below check every other line through the titles and groups.
TEST_F(CharacterListsTest, RadicalTableLines) {
    const QStringList lines = index().RadicalTableText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("130.0\t1 2 3 4 5 6 7 8 9 A B C D E F")));
    EXPECT_TRUE(lines.contains(QStringLiteral("12.0\t516B 3405 0 2 4")));
    const auto plain = lines.indexOf(QStringLiteral("168.0\t9577 0"));
    ASSERT_GE(plain, 0);
    EXPECT_EQ(lines.indexOf(QStringLiteral("168'.0\t957F 0 3")), plain + 1);
}

// Each list operation: its title and its sections, in order. Syllable pages
// have a section per tone that has characters; radical pages list residual 0
// first, and a radical is not confused with one of a longer number.
TEST_F(CharacterListsTest, ListPagesTitlesAndSections) {
    enum Kind { ByPinyin, ByJyutping, ByStrokes, ByRadical };
    using Groups = std::vector<std::pair<QString, CharacterList>>;
    const struct {
        Kind kind;
        int value;
        const char16_t* title;
        Groups groups;
        const char16_t* heading = u""; // of the syllable pages
    } cases[] = {
        {ByPinyin,
         Pinyin("zhong4"),
         u"[zhong]",
         {{"zhong1", {0x4E2D, 0x949F}}, {"zhong4", {0x4E2D, 0x4F17}}},
         u"zhong"},
        {ByPinyin, Pinyin("lv4"), u"[l\u00FC]", {{"lv3", {0x5415}}, {"lv4", {0x5F8B, 0x7EFF}}}, u"l\u00FC"},
        {ByJyutping,
         *EncodeSyllable("zung3", Scheme::Jyutping),
         u"[zung3]",
         {{"zung1", {0x4E2D, 0x949F}}, {"zung3", {0x4E2D, 0x4F17}}},
         u"zung"},
        {ByStrokes, 4, u"[4]", {{"4", {0x4E2D, 0x4E30, 0x516C, 0x516D, 0x738B, 0x957F}}}},
        {ByStrokes, 300, u"[44]", {}},
        {ByRadical,
         2,
         u"[\u4E28]",
         {{"0", {0x4E28}}, {"3", {0x4E2D, 0x4E30}}, {"6", {0x4E32}}, {"8", {0x4E34}}}},
        {ByRadical, 12, u"[\u516B *]", {{"0", {0x516B}}, {"2", {0x516C, 0x516D}}, {"4", {0x5171}}}},
        {ByRadical, 102, u"[\u7530]", {{"0", {0x7530}}, {"2", {0x7537}}, {"4", {0x754C}}}},
        {ByRadical, 0x1A8, u"[\u957F]", {{"0", {0x957F}}, {"3", {0x9580}}}},
        {ByRadical, 163, u"[\u9091 \u961D]", {{"0", {0x9091}}, {"4", {0x90A3}}}},
        {ByRadical, 96, u"[\u7389]", {{"0", {0x738B}}}}};
    for (const auto& c : cases) {
        PlainListPage page;
        QString title;
        const bool listed = c.kind == ByPinyin     ? lists().ListByPinyin(SyllableId(c.value), page, title)
                            : c.kind == ByJyutping ? lists().ListByJyutping(SyllableId(c.value), page, title)
                            : c.kind == ByStrokes  ? lists().ListByStrokeCount(c.value, page, title)
                                                   : lists().ListByRadical(c.value, page, title);
        ASSERT_TRUE(listed) << c.value;
        EXPECT_EQ(title, QString::fromUtf16(c.title));
        Groups groups;
        for (const PlainListSection& section : page.sections) {
            groups.emplace_back(section.label, section.chars);
        }
        EXPECT_EQ(groups, c.groups) << title.toStdString();
        EXPECT_EQ(page.heading, QString::fromUtf16(c.heading));
    }
    PlainListPage page;
    QString title;
    lists().ListByRadical(163, page, title);
    EXPECT_EQ(page.forms, (CharacterList{0x9091, 0x961D}));
    // No syllable 0; 20' is absent and must not be found inside 120'.0; no 99.
    EXPECT_FALSE(lists().ListByPinyin(0, page, title));
    EXPECT_FALSE(lists().ListByRadical(0x100 + 20, page, title));
    EXPECT_FALSE(lists().ListByRadical(99, page, title));
}

TEST(RadicalKeyTest, ParseRadicalLine) {
    const struct {
        const char* line;
        int value;
        QString forms;
        int count;
    } cases[] = {
        {"163.0\t9091 0 2 3\n", 163, Text({0x9091, ' ', 0x961D}), 1},
        {"9'.0\t4EBB 2", 0x109, Text({0x4EBB}), 1},
        {"12.0\t516B 3405 0 2", 12, Text({0x516B, ' ', '*'}), 1}, // a form outside the range
        {"2.0 4E28", 0, {}, 0},                                   // no tab
        {"20\t4E28", 0, {}, 0},                                   // no "."
    };
    for (const auto& c : cases) {
        const RadicalLine line = ParseRadicalLine(QString::fromLatin1(c.line));
        EXPECT_EQ(line.value, c.value) << c.line;
        if (c.value != 0) {
            EXPECT_EQ(line.forms, c.forms) << c.line;
            EXPECT_EQ(line.count, c.count) << c.line;
        }
    }
}

TEST(RadicalKeyTest, CompareRadicalKeysOrder) {
    const char* ascending[] = {"2.3", "2.12", "12.0", "96.-1", "96.0", "168.9", "168'.0", "168'.1", "169.0"};
    for (std::size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_EQ(CompareRadicalKeys(ascending[i], ascending[i + 1]), -1) << ascending[i];
        EXPECT_EQ(CompareRadicalKeys(ascending[i + 1], ascending[i]), 1) << ascending[i];
    }
    EXPECT_EQ(CompareRadicalKeys(" 168' .3\t", "168'.3"), 0);
}

TEST(ListChunkFormatTest, RecordsRoundTripInEveryFile) {
    const CharacterList values = {0x4E2D, 0x4E30, 0x516C, 0x9FA5, 0x4E00};
    for (ListFile file : {ListFile::StrokeCount, ListFile::Pinyin, ListFile::Jyutping, ListFile::Radical}) {
        QByteArray bytes;
        AppendRecord(file, 0x1916, values, bytes);
        ASSERT_EQ(bytes.size(), static_cast<qsizetype>(RecordSize(5)));
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
        const auto head = ReadRecordHead(data, static_cast<std::size_t>(bytes.size()));
        ASSERT_TRUE(head);
        EXPECT_EQ(head->key, 0x1916u);
        EXPECT_EQ(ReadRecordValues(file, data, *head), values);
        EXPECT_NE(bytes.mid(8, 4), QByteArray("\x2D\x4E\0\0", 4)); // values are masked
        // A window that cuts the record, or a count no window could hold.
        EXPECT_FALSE(ReadRecordHead(data, static_cast<std::size_t>(bytes.size()) - 1));
        bytes[4] = static_cast<char>(bytes[4] ^ 0xFF);
        bytes[7] = static_cast<char>(bytes[7] ^ 0xFF);
        EXPECT_FALSE(ReadRecordHead(reinterpret_cast<const unsigned char*>(bytes.constData()), 8192));
    }
    EXPECT_EQ(RadicalKeyText(RadicalRecordKey(168, true, 3)), QByteArray("168'.3"));
    EXPECT_EQ(RadicalKeyText(RadicalRecordKey(2, false, 12)), QByteArray("2.12"));
}

TEST(ListChunkFormatTest, ChunkKeysDifferByBoundsAndHaveNoZeroBytes) {
    std::set<QByteArray> keys;
    for (int low = 1; low <= 60; ++low) {
        for (int high = low; high < low + 5; ++high) {
            const ChunkKey key = StrokeCountChunkKey(low, high);
            ASSERT_EQ(key.size(), 16);
            EXPECT_FALSE(key.contains('\0'));
            keys.insert(key);
        }
    }
    EXPECT_EQ(keys.size(), 300u);
    EXPECT_NE(SyllableChunkKey(ListFile::Pinyin, "a1", "ai4"),
              SyllableChunkKey(ListFile::Jyutping, "a1", "ai4"));
    EXPECT_NE(RadicalChunkKey("1.1", "2.3"), RadicalChunkKey("1.1", "2.4"));

    QByteArray data("a chunk of bytes to scramble and back");
    const QByteArray original = data;
    const ChunkKey key = RadicalChunkKey("1.1", "2.3");
    ScrambleChunk(data.data(), static_cast<std::size_t>(data.size()), key);
    EXPECT_NE(data, original);
    EXPECT_EQ(static_cast<char>(data[0] ^ original[0]), key[ChunkKeyStart(key)]);
    ScrambleChunk(data.data(), static_cast<std::size_t>(data.size()), key);
    EXPECT_EQ(data, original);
}

TEST(ListFileWriterTest, RecordLargerThanItsWindowFails) {
    SourceData source;
    for (std::uint32_t i = 0; i < 2047; ++i) {
        Add(source, 0x5000 + i, {"ma1"}, {}, 5, "");
    }
    QTemporaryDir dir;
    IndexContent content;
    QString error;
    EXPECT_FALSE(datagen::WriteListFiles(source, dir.path(), content, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("window"))) << error.toStdString();
}

TEST_F(CharacterListsTest, LeadInNeverReachesBeforeTheFile) {
    // a1's chunk starts at 0, ai4's a few bytes later: every read must work
    // whatever lead-in is drawn.
    for (const char* text : {"a1", "ai4"}) {
        const auto ref = index().FindPinyinChunk(Pinyin(text));
        ASSERT_TRUE(ref);
        for (int i = 0; i < 40; ++i) {
            ASSERT_FALSE(lists().CharactersByPinyin(text, *ref).empty()) << text << " try " << i;
        }
    }
}

void Damage(const QString& path, qint64 from, qint64 to) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    for (qint64 i = std::max<qint64>(from, 0); i < std::min<qint64>(to, bytes.size()); ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ (0x5A + i));
    }
    file.seek(0);
    file.write(bytes);
}

TEST_F(CharacterListsTest, DamagedOrTruncatedListFilesGiveEmptyLists) {
    auto copy = std::make_unique<DataFolder>(); // a copy of the files, for damaging
    for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"})
        ASSERT_TRUE(QFile::copy(data_->Path(name), copy->Path(name)));
    const auto zhong = index().FindPinyinChunk(Pinyin("zhong1"));
    ASSERT_TRUE(zhong);
    Damage(copy->Path("ijk.dat"), zhong->position + 10, zhong->position + 14);
    Damage(copy->Path("ghi.dat"), 0, 1 << 20);
    const auto lastChunk = data_->content.radicalChunks.back().position;
    ASSERT_TRUE(QFile::resize(copy->Path("hij.dat"), lastChunk + 20));
    ASSERT_TRUE(copy->Open());

    PlainListPage page;
    QString title;
    EXPECT_TRUE(copy->lists->ListByPinyin(Pinyin("zhong1"), page, title));
    EXPECT_TRUE(page.sections.empty());
    for (std::uint8_t count : copy->index->StrokeCounts()) {
        const auto ref = copy->index->FindStrokeCountChunk(count);
        ASSERT_TRUE(ref);
        EXPECT_TRUE(copy->lists->CharactersByStrokeCount(count, *ref).empty()) << int(count);
    }
    // The radical file is cut 20 bytes into its last chunk: earlier chunks still read.
    const auto& radicalChunks = data_->content.radicalChunks;
    const auto first = copy->index->FindRadicalChunk(radicalChunks.front().lowKey);
    const auto last = copy->index->FindRadicalChunk(radicalChunks.back().lowKey);
    ASSERT_TRUE(first && last);
    EXPECT_FALSE(copy->lists->CharactersByRadical(radicalChunks.front().lowKey, *first).empty());
    EXPECT_TRUE(copy->lists->CharactersByRadical(radicalChunks.back().lowKey, *last).empty());
}

// A hand-made Pinyin file with one chunk, located by an index entry zhong1..zhong1.
CharacterList ReadCraftedChunk(const QByteArray& inflated, std::uint32_t nextPosition = 0) {
    DataFolder data;
    QByteArray chunk(static_cast<qsizetype>(compressBound(inflated.size())), '\0');
    uLongf size = static_cast<uLongf>(chunk.size());
    compress(reinterpret_cast<Bytef*>(chunk.data()), &size,
             reinterpret_cast<const Bytef*>(inflated.constData()), static_cast<uLong>(inflated.size()));
    chunk.truncate(static_cast<qsizetype>(size));
    ScrambleChunk(chunk.data(), static_cast<std::size_t>(chunk.size()),
                  SyllableChunkKey(ListFile::Pinyin, "zhong1", "zhong1"));
    for (const char* name : {"ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"}) {
        QFile file(data.Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(std::string_view(name) == "ijk.dat" ? chunk : QByteArray());
    }
    data.content.pinyinChunks = {{Pinyin("zhong1"), Pinyin("zhong1"), 0}};
    if (nextPosition != 0) {
        data.content.pinyinChunks.push_back({Pinyin("zhong1"), Pinyin("zhong1"), nextPosition});
    }
    EXPECT_TRUE(data.WriteIndexAndOpen());
    const auto ref = data.index->FindPinyinChunk(Pinyin("zhong1"));
    EXPECT_TRUE(ref);
    return ref ? data.lists->CharactersByPinyin("zhong1", *ref) : CharacterList{};
}

TEST(CraftedChunkTest, RecordsThatBreakTheWalkGiveNothing) {
    QByteArray good;
    AppendRecord(ListFile::Pinyin, Pinyin("zhong1"), {0x4E2D, 0x949F}, good);
    EXPECT_EQ(ReadCraftedChunk(good), (CharacterList{0x4E2D, 0x949F}));

    QByteArray afterInvalidKey;
    AppendRecord(ListFile::Pinyin, 0xFFFF, {0x4E00}, afterInvalidKey);
    afterInvalidKey += good;
    EXPECT_TRUE(ReadCraftedChunk(afterInvalidKey).empty());

    QByteArray overlong = good; // claims 3000 values, holds 2
    qToLittleEndian<std::uint32_t>(Pinyin("zhong1") ^ 3000u, overlong.data() + 4);
    EXPECT_TRUE(ReadCraftedChunk(overlong).empty());

    // An entry whose next chunk lies beyond the end of the file.
    EXPECT_TRUE(ReadCraftedChunk(good, 500000).empty());
}

} // namespace
} // namespace quillory
