#include "dictionary/lists/CharacterLists.h"
#include "pages/builders/PlainListPage.h"
#include "datagen/writers/IndexWriter.h"
#include "datagen/writers/ListFileWriter.h"
#include "dictionary/lists/ListChunkFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <set>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

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
    s.radicalForms[QStringLiteral("2")] = {0x2F01, 0x4E28};
    s.radicalForms[QStringLiteral("12")] = {0x2F0B, 0x516B};
    s.radicalForms[QStringLiteral("163")] = {0x2FA2, 0x9091};
    s.radicalForms[QStringLiteral("168")] = {0x2FA7, 0x9577};
    s.radicalForms[QStringLiteral("168'")] = {0x2ED3, 0x957F};

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

    // A copy of the written files in a folder of its own, for damaging.
    static std::unique_ptr<DataFolder> CopyData() {
        auto copy = std::make_unique<DataFolder>();
        for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"}) {
            EXPECT_TRUE(QFile::copy(data_->Path(name), copy->Path(name)));
        }
        return copy;
    }

    static SourceData* source_;
    static DataFolder* data_;
};

SourceData* CharacterListsTest::source_ = nullptr;
DataFolder* CharacterListsTest::data_ = nullptr;

TEST_F(CharacterListsTest, EveryListReadsBackThroughTheIndex) {
    for (Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        for (const auto& [text, expected] : Expected(*source_, scheme)) {
            const SyllableId id = *EncodeSyllable(text, scheme);
            const auto ref =
                scheme == Scheme::Pinyin ? index().FindPinyinChunk(id) : index().FindJyutpingChunk(id);
            ASSERT_TRUE(ref) << text;
            const CharacterList got = scheme == Scheme::Pinyin ? lists().CharactersByPinyin(text, *ref)
                                                               : lists().CharactersByJyutping(text, *ref);
            EXPECT_EQ(got, expected) << text;
        }
    }
    std::map<int, CharacterList> byCount;
    std::map<QByteArray, CharacterList> byRadical;
    for (const auto& [code, c] : source_->characters) {
        if (c.strokes > 0) {
            byCount[c.strokes].push_back(code);
        }
        if (!c.radical.isEmpty() && !c.radical.endsWith(QLatin1String(".0")) && !c.radical.contains(u'-')) {
            byRadical[c.radical.toLatin1()].push_back(code);
        }
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

TEST_F(CharacterListsTest, RadicalTableLines) {
    const QStringList lines = index().RadicalTableText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("2.0\t2F01 4E28 3 6 8")));
    EXPECT_TRUE(lines.contains(QStringLiteral("12.0\t2F0B 516B 2 4")));
    EXPECT_TRUE(lines.contains(QStringLiteral("96.0\t738B")));
    const auto plain = lines.indexOf(QStringLiteral("168.0\t2FA7 9577"));
    const auto variant = lines.indexOf(QStringLiteral("168'.0\t2ED3 957F 3"));
    ASSERT_GE(plain, 0);
    EXPECT_EQ(variant, plain + 1);
    // Residual counts are hexadecimal: 130.x holds residuals 1..15 (F).
    EXPECT_TRUE(lines.contains(QStringLiteral("130.0\t1 2 3 4 5 6 7 8 9 A B C D E F")));
}

TEST_F(CharacterListsTest, PinyinPageHasOneSectionPerToneThatHasCharacters) {
    PlainListPage page;
    QString title;
    ASSERT_TRUE(lists().ListByPinyin(Pinyin("zhong4"), page, title));
    EXPECT_EQ(title, QStringLiteral("[zhong]"));
    EXPECT_EQ(page.heading, QStringLiteral("zhong"));
    ASSERT_EQ(page.sections.size(), 2u);
    EXPECT_EQ(page.sections[0].label, QStringLiteral("zhong1"));
    EXPECT_EQ(page.sections[0].chars, (CharacterList{0x4E2D, 0x949F}));
    EXPECT_EQ(page.sections[1].label, QStringLiteral("zhong4"));
    EXPECT_EQ(page.sections[1].chars, (CharacterList{0x4E2D, 0x4F17}));

    PlainListPage lv;
    ASSERT_TRUE(lists().ListByPinyin(Pinyin("lv4"), lv, title));
    EXPECT_EQ(title, QStringLiteral("[l") + QChar(0x00FC) + u']');
    ASSERT_EQ(lv.sections.size(), 2u);
    EXPECT_EQ(lv.sections[1].chars, (CharacterList{0x5F8B, 0x7EFF}));

    PlainListPage none;
    EXPECT_FALSE(lists().ListByPinyin(0, none, title));
    EXPECT_TRUE(none.sections.empty());
}

TEST_F(CharacterListsTest, JyutpingPageKeepsItsToneInTheTitle) {
    PlainListPage page;
    QString title;
    ASSERT_TRUE(lists().ListByJyutping(*EncodeSyllable("zung3", Scheme::Jyutping), page, title));
    EXPECT_EQ(title, QStringLiteral("[zung3]"));
    ASSERT_EQ(page.sections.size(), 2u);
    EXPECT_EQ(page.sections[0].label, QStringLiteral("zung1"));
    EXPECT_EQ(page.sections[1].chars, (CharacterList{0x4E2D, 0x4F17}));
}

TEST_F(CharacterListsTest, StrokeCountPage) {
    PlainListPage page;
    QString title;
    EXPECT_TRUE(lists().ListByStrokeCount(4, page, title));
    EXPECT_EQ(title, QStringLiteral("[4]"));
    ASSERT_EQ(page.sections.size(), 1u);
    EXPECT_EQ(page.sections[0].chars, (CharacterList{0x4E2D, 0x4E30, 0x516C, 0x516D, 0x738B, 0x957F}));

    PlainListPage large;
    EXPECT_TRUE(lists().ListByStrokeCount(300, large, title));
    EXPECT_EQ(title, QStringLiteral("[44]"));
    EXPECT_TRUE(large.sections.empty());
}

TEST_F(CharacterListsTest, RadicalPagesAreNotConfusedByLongerNumbers) {
    struct Case {
        int value;
        QString title;
        std::vector<std::pair<QString, CharacterList>> groups;
    };
    const Case cases[] = {
        {2,
         u'[' + Text({0x4E28}) + QStringLiteral(" *]"),
         {{"3", {0x4E2D, 0x4E30}}, {"6", {0x4E32}}, {"8", {0x4E34}}}},
        {12, u'[' + Text({0x516B}) + QStringLiteral(" *]"), {{"2", {0x516C, 0x516D}}, {"4", {0x5171}}}},
        {102, QStringLiteral("[") + Text({0x7530}) + u']', {{"2", {0x7537}}, {"4", {0x754C}}}},
        {0x1A8, u'[' + Text({0x957F}) + QStringLiteral(" *]"), {{"3", {0x9580}}}},
        {163, u'[' + Text({0x9091, ' ', 0x961D}) + QStringLiteral(" *]"), {{"4", {0x90A3}}}},
        {96, QStringLiteral("[") + Text({0x738B}) + u']', {}},
    };
    for (const Case& c : cases) {
        PlainListPage page;
        QString title;
        ASSERT_TRUE(lists().ListByRadical(c.value, page, title)) << c.value;
        EXPECT_EQ(title, c.title) << c.value;
        ASSERT_EQ(page.sections.size(), c.groups.size()) << c.value;
        for (std::size_t i = 0; i < c.groups.size(); ++i) {
            EXPECT_EQ(page.sections[i].label, c.groups[i].first) << c.value;
            EXPECT_EQ(page.sections[i].chars, c.groups[i].second) << c.value;
        }
    }
    PlainListPage city;
    QString title;
    lists().ListByRadical(163, city, title);
    EXPECT_EQ(std::count(city.forms.begin(), city.forms.end(), 0x961Du), 1);
    lists().ListByRadical(0x1A8, city, title);
    EXPECT_NE(std::find(city.forms.begin(), city.forms.end(), 0x957Fu), city.forms.end());

    // 20' is absent; its head must not be found inside 120'.0.
    PlainListPage absent;
    EXPECT_FALSE(lists().ListByRadical(0x100 + 20, absent, title));
    EXPECT_FALSE(lists().ListByRadical(99, absent, title));
}

TEST(CharacterListsTableTest, ResidualListStartingWithZeroGivesFormsOnly) {
    DataFolder data;
    ASSERT_TRUE(data.WriteLists(SampleSource()));
    data.content.radicalTable.replace("2.0\t2F01 4E28 3 6 8", "2.0\t2F01 4E28 0 3 6 8");
    ASSERT_TRUE(data.WriteIndexAndOpen());
    PlainListPage page;
    QString title;
    ASSERT_TRUE(data.lists->ListByRadical(2, page, title));
    EXPECT_EQ(page.forms, (CharacterList{0x2F01, 0x4E28}));
    EXPECT_TRUE(page.sections.empty());
}

TEST(RadicalKeyTest, ParseRadicalLine) {
    RadicalLine city = ParseRadicalLine(QStringLiteral("163.0\t9091 2 3\n"));
    EXPECT_EQ(city.value, 163);
    EXPECT_EQ(city.forms, Text({0x9091, ' ', 0x961D}));
    EXPECT_EQ(city.count, 1);

    EXPECT_EQ(ParseRadicalLine(QStringLiteral("9'.0\t4EBB 2")).value, 0x109);
    const RadicalLine mixed = ParseRadicalLine(QStringLiteral("2.0\t2F01 4E28 3"));
    EXPECT_EQ(mixed.forms, Text({0x4E28, ' ', '*'}));
    EXPECT_EQ(mixed.count, 1);
    EXPECT_EQ(ParseRadicalLine(QStringLiteral("2.0 2F01 4E28")).value, 0);
    EXPECT_EQ(ParseRadicalLine(QStringLiteral("20\t4E28")).value, 0);
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
    auto copy = CopyData();
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
    const std::uint32_t second = Pinyin("zhong1") ^ 3000u;
    for (int i = 0; i < 4; ++i) {
        overlong[4 + i] = static_cast<char>((second >> (8 * i)) & 0xFF);
    }
    EXPECT_TRUE(ReadCraftedChunk(overlong).empty());

    // An entry whose next chunk lies beyond the end of the file.
    EXPECT_TRUE(ReadCraftedChunk(good, 500000).empty());
}

} // namespace
} // namespace quillory
