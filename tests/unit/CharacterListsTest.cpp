// The list files written from a sample source and read back through the index and the list pages.
#include "dictionary/lists/CharacterLists.h"
#include "datagen/writers/IndexWriter.h"
#include "datagen/writers/ListFileWriter.h"
#include "dictionary/lists/ListChunkFormat.h"
#include "pages/builders/PlainListPage.h"
#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace quillory {
namespace {

using datagen::IndexContent;
using datagen::SourceData;
using Readings = std::vector<std::string>;

void Add(SourceData& s, std::uint32_t code, Readings pinyin, Readings jyutping, int strokes,
         const char* radical) {
    s.characters[code] = {code, pinyin, jyutping, {}, strokes, radical, {}, {}, {}, {}, 0, {}};
}

SyllableId Pinyin(const std::string& text) {
    return EncodeSyllable(text, Scheme::Pinyin).value();
}

// Real-looking characters, plus generated ones for several chunks per file; 2046 fill ai4's window.
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
    s.radicalForms = {{"2", {0x4E28}},   {"12", {0x516B, 0x3405}}, {"96", {0x7389}},  {"102", {0x7530}},
                      {"163", {0x9091}}, {"168", {0x9577}},        {"168'", {0x957F}}};
    const char* pinyin[] = {"ba2", "bo2", "ma3", "mao4", "shui3", "tian1", "xiao3", "yu2", "zou3"};
    const char* jyutping[] = {"baa1", "maa5", "seoi2", "tin1", "siu2", "jyu4", "oi3"};
    std::uint32_t code = 0x6000;
    for (std::uint32_t i = 0; i < 5300; ++i, ++code) {
        while (s.characters.count(code) != 0)
            ++code; // keep the characters above
        const QByteArray radical =
            QByteArray::number(130 + i % 20) + '.' + QByteArray::number(1 + (i / 20) % 15);
        Add(s, code, {i < 2046 ? "ai4" : pinyin[i % 9]}, {jyutping[i % 7]}, 10 + int(i % 30),
            radical.constData());
    }
    return s;
}

// Each list as a plain scan of the source sees it.
struct ExpectedLists {
    std::map<std::string, CharacterList> pinyin, jyutping;
    std::map<int, CharacterList> strokes;
    std::map<QByteArray, CharacterList> radicals;
};
ExpectedLists Expected(const SourceData& s) {
    ExpectedLists e;
    for (const auto& [code, c] : s.characters) {
        for (const std::string& reading : c.pinyin)
            if (EncodeSyllable(reading, Scheme::Pinyin))
                e.pinyin[reading].push_back(code);
        for (const std::string& reading : c.jyutping)
            if (EncodeSyllable(reading, Scheme::Jyutping))
                e.jyutping[reading].push_back(code);
        if (c.strokes > 0)
            e.strokes[c.strokes].push_back(code);
        if (!c.radical.isEmpty()) // 96.-1 is listed with residual 0
            e.radicals[c.radical.toLatin1().replace(".-1", ".0")].push_back(code);
    }
    return e;
}

// Data files in a temporary folder, opened for look-ups.
struct DataFolder {
    QTemporaryDir dir;
    SourceData source;
    IndexContent content;
    datagen::ListFilesStats stats;
    RecordingReporter reporter;
    DataFaults faults{&reporter};
    std::unique_ptr<DataFiles> files;
    std::unique_ptr<DataIndex> index;
    std::unique_ptr<CharacterLists> lists;

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Writes oxa.dat from content unless told not to, then opens the folder.
    bool Open(bool writeIndex = true) {
        QString error;
        EXPECT_TRUE(!writeIndex || datagen::WriteIndexFile(content, Path("oxa.dat"), &error))
            << error.toStdString();
        files = std::make_unique<DataFiles>(dir.path(), reporter);
        index = std::make_unique<DataIndex>(reporter);
        lists = std::make_unique<CharacterLists>(*files, *index, &faults);
        return files->OpenDataFiles() && index->LoadDataIndex(*files->indexFile());
    }
};

// The sample source's list files, written and opened once per process.
DataFolder& Sample() {
    static DataFolder data;
    if (data.lists == nullptr) {
        data.source = SampleSource();
        QString error;
        EXPECT_TRUE(datagen::WriteListFiles(data.source, data.dir.path(), data.content, &error, &data.stats))
            << error.toStdString();
        EXPECT_TRUE(data.Open());
    }
    return data;
}

// Every list reads back as a plain scan of the source sees it; then the index's own sections.
TEST(CharacterListsTest, EveryListReadsBackThroughTheIndex) {
    const DataFolder& data = Sample();
    const ExpectedLists e = Expected(data.source);
    CharacterLists& lists = *data.lists;
    const DataIndex& index = *data.index;
    // A list without a chunk throws at value(), which fails the test.
    for (const auto& [text, chars] : e.pinyin)
        EXPECT_EQ(lists.CharactersByPinyin(text, index.FindPinyinChunk(Pinyin(text)).value()), chars) << text;
    for (const auto& [text, chars] : e.jyutping) {
        const ChunkRef ref = index.FindJyutpingChunk(*EncodeSyllable(text, Scheme::Jyutping)).value();
        EXPECT_EQ(lists.CharactersByJyutping(text, ref), chars) << text;
    }
    for (const auto& [count, chars] : e.strokes)
        EXPECT_EQ(lists.CharactersByStrokeCount(count, index.FindStrokeCountChunk(count).value()), chars)
            << count;
    for (const auto& [key, chars] : e.radicals)
        EXPECT_EQ(lists.CharactersByRadical(key, index.FindRadicalChunk(key).value()), chars)
            << key.toStdString();
    // a1's chunk starts at 0, ai4's a few bytes later: reads work whatever lead-in is drawn.
    for (const char* text : {"a1", "ai4"}) {
        for (int n = 0; n < 40; ++n)
            ASSERT_FALSE(lists.CharactersByPinyin(text, index.FindPinyinChunk(Pinyin(text)).value()).empty())
                << text;
    }
    // Chunks cover ascending, disjoint ranges in file order.
    const IndexContent& c = data.content;
    EXPECT_TRUE(c.pinyinChunks.size() >= 3 && c.jyutpingChunks.size() >= 2 &&
                c.strokeCountChunks.size() >= 2 && c.radicalChunks.size() >= 2);
    for (std::size_t n = 1; n < c.pinyinChunks.size(); ++n) {
        EXPECT_LT(*DecodeSyllable(c.pinyinChunks[n - 1].high, Scheme::Pinyin),
                  *DecodeSyllable(c.pinyinChunks[n].low, Scheme::Pinyin));
        EXPECT_LT(c.pinyinChunks[n - 1].position, c.pinyinChunks[n].position);
    }
    for (std::size_t n = 1; n < c.radicalChunks.size(); ++n)
        EXPECT_LT(CompareRadicalKeys(c.radicalChunks[n - 1].highKey, c.radicalChunks[n].lowKey), 0);
    for (std::size_t n = 1; n < c.strokeCountChunks.size(); ++n)
        EXPECT_LT(c.strokeCountChunks[n - 1].highest, c.strokeCountChunks[n].lowest);
    EXPECT_EQ(c.pinyinChunks[0].high, Pinyin("a1")); // ai4 fills a whole window
    EXPECT_LT(c.pinyinChunks[1].position, 64u);

    // Syllables in tree order (base, then tone); radical table lines: forms, then residuals in hexadecimal.
    const auto ids = index.PinyinSyllables();
    const auto at = [&](const char* text) { return std::find(ids.begin(), ids.end(), Pinyin(text)); };
    ASSERT_NE(at("zhong1"), ids.end());
    EXPECT_EQ(at("zhong1") + 1, at("zhong4"));
    EXPECT_EQ(at("lv3") + 1, at("lv4"));
    EXPECT_EQ(ids.size(), Expected(data.source).pinyin.size());
    const auto counts = index.StrokeCounts();
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_EQ(counts.front(), 1);
    EXPECT_EQ(data.stats.skippedReadings, 4); // hm1, r5, a1, oet1
    EXPECT_EQ(data.stats.characters, static_cast<int>(data.source.characters.size()) - 1);

    const QString table = u'\n' + index.RadicalTableText() + u'\n';
    for (const char* lines :
         {"130.0\t1 2 3 4 5 6 7 8 9 A B C D E F", "12.0\t516B 3405 0 2 4", "168.0\t9577 0\n168'.0\t957F 0 3"})
        EXPECT_TRUE(table.contains(u'\n' + QString::fromUtf8(lines) + u'\n')) << lines;
}

// The page as "heading: label code code|label code".
std::string Sections(const PlainListPage& page) {
    QStringList sections;
    for (const PlainListSection& section : page.sections) {
        QString text = section.label;
        for (const std::uint32_t code : section.chars)
            text += u' ' + QString::number(code, 16).toUpper();
        sections << text;
    }
    return (page.heading + u':' + sections.join(u'|')).toStdString();
}

// A section per tone with characters; residual 0 first; no radical found inside a longer number.
TEST(CharacterListsTest, ListPagesTitlesAndSections) {
    enum Kind { ByPinyin, ByJyutping, ByStrokes, ByRadical };
    const struct {
        Kind kind;
        int value;
        const char16_t* title;
        const char* sections;
    } cases[] = {{ByPinyin, Pinyin("zhong4"), u"[zhong]", "zhong:zhong1 4E2D 949F|zhong4 4E2D 4F17"},
                 {ByPinyin, Pinyin("lv4"), u"[l\u00FC]", "l\u00FC:lv3 5415|lv4 5F8B 7EFF"},
                 {ByJyutping, *EncodeSyllable("zung3", Scheme::Jyutping), u"[zung3]",
                  "zung:zung1 4E2D 949F|zung3 4E2D 4F17"},
                 {ByStrokes, 4, u"[4]", ":4 4E2D 4E30 516C 516D 738B 957F"},
                 {ByStrokes, 300, u"[44]", ":"},
                 {ByRadical, 2, u"[\u4E28]", ":0 4E28|3 4E2D 4E30|6 4E32|8 4E34"},
                 {ByRadical, 12, u"[\u516B *]", ":0 516B|2 516C 516D|4 5171"},
                 {ByRadical, 102, u"[\u7530]", ":0 7530|2 7537|4 754C"},
                 {ByRadical, 0x1A8, u"[\u957F]", ":0 957F|3 9580"},
                 {ByRadical, 163, u"[\u9091 \u961D]", ":0 9091|4 90A3"},
                 {ByRadical, 96, u"[\u7389]", ":0 738B"}};
    CharacterLists& lists = *Sample().lists;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        PlainListPage page;
        QString title;
        const bool listed = c.kind == ByPinyin     ? lists.ListByPinyin(SyllableId(c.value), page, title)
                            : c.kind == ByJyutping ? lists.ListByJyutping(SyllableId(c.value), page, title)
                            : c.kind == ByStrokes  ? lists.ListByStrokeCount(c.value, page, title)
                                                   : lists.ListByRadical(c.value, page, title);
        ASSERT_TRUE(listed);
        EXPECT_EQ(title, QString::fromUtf16(c.title));
        EXPECT_EQ(Sections(page), c.sections);
        if (c.value == 163) {
            EXPECT_EQ(page.forms, (CharacterList{0x9091, 0x961D}));
        }
    }
    PlainListPage page;
    QString title;
    // No syllable 0; 20' is absent and must not be found inside 120'.0; no 99.
    EXPECT_FALSE(lists.ListByPinyin(0, page, title));
    EXPECT_FALSE(lists.ListByRadical(0x100 + 20, page, title));
    EXPECT_FALSE(lists.ListByRadical(99, page, title));
}

TEST(RadicalKeyTest, ParseRadicalLineAndKeyOrder) {
    const struct {
        const char* line;
        int value; // 0: refused
        const char16_t* forms;
    } cases[] = {
        {"163.0\t9091 0 2 3\n", 163, u"\u9091 \u961D"},
        {"9'.0\t4EBB 2", 0x109, u"\u4EBB"},
        {"12.0\t516B 3405 0 2", 12, u"\u516B *"}, // a form outside the range
        {"2.0 4E28", 0, u""},                     // no tab
        {"20\t4E28", 0, u""},                     // no "."
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RadicalLine line = ParseRadicalLine(QString::fromLatin1(c.line));
        EXPECT_EQ(line.value, c.value);
        if (c.value != 0) {
            EXPECT_EQ(line.forms, QString::fromUtf16(c.forms));
            EXPECT_EQ(line.count, 1);
        }
    }
    const char* ascending[] = {"2.3", "2.12", "12.0", "96.-1", "96.0", "168.9", "168'.0", "168'.1", "169.0"};
    for (std::size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_EQ(CompareRadicalKeys(ascending[i], ascending[i + 1]), -1) << ascending[i];
        EXPECT_EQ(CompareRadicalKeys(ascending[i + 1], ascending[i]), 1) << ascending[i];
    }
    EXPECT_EQ(CompareRadicalKeys(" 168' .3\t", "168'.3"), 0);
}

// Record values are masked in every file; a count no window could hold is refused. Chunk keys differ
// by bounds and file and hold no zero byte; scrambling twice gives the bytes back.
TEST(ListChunkFormatTest, RecordsAndChunkKeys) {
    for (ListFile file : {ListFile::StrokeCount, ListFile::Pinyin, ListFile::Jyutping, ListFile::Radical}) {
        QByteArray bytes;
        AppendRecord(file, 0x1916, {0x4E2D, 0x4E30, 0x516C, 0x9FA5, 0x4E00}, bytes);
        EXPECT_NE(bytes.mid(8, 4), QByteArray("\x2D\x4E\0\0", 4)) << int(file);
        bytes[4] = static_cast<char>(bytes[4] ^ 0xFF);
        bytes[7] = static_cast<char>(bytes[7] ^ 0xFF);
        EXPECT_FALSE(ReadRecordHead(reinterpret_cast<const unsigned char*>(bytes.constData()), 8192));
    }
    EXPECT_EQ(RadicalKeyText(RadicalRecordKey(168, true, 3)), QByteArray("168'.3"));
    EXPECT_EQ(RadicalKeyText(RadicalRecordKey(2, false, 12)), QByteArray("2.12"));

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
    for (std::uint32_t i = 0; i < 2047; ++i)
        Add(source, 0x5000 + i, {"ma1"}, {}, 5, "");
    QTemporaryDir dir;
    IndexContent content;
    QString error;
    EXPECT_FALSE(datagen::WriteListFiles(source, dir.path(), content, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("window"))) << error.toStdString();
}

// A copy with 4 bytes of ijk.dat's zhong1 chunk inverted and hij.dat cut 20 bytes into its last chunk:
// the damaged lists read empty and are noted as faults (one message for all), the radical file's
// earlier chunks still read.
TEST(CharacterListsTest, DamagedOrTruncatedListFilesAreFaults) {
    const DataFolder& data = Sample();
    DataFolder copy;
    for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"})
        ASSERT_TRUE(QFile::copy(data.Path(name), copy.Path(name)));
    const qint64 damaged = data.index->FindPinyinChunk(Pinyin("zhong1")).value().position + 10;
    QFile ijk(copy.Path("ijk.dat"));
    ASSERT_TRUE(ijk.open(QIODevice::ReadWrite) && ijk.seek(damaged));
    QByteArray bytes = ijk.read(4);
    for (char& byte : bytes)
        byte = static_cast<char>(~byte);
    ASSERT_TRUE(ijk.seek(damaged) && ijk.write(bytes) == 4);
    ijk.close();
    const auto& radicalChunks = data.content.radicalChunks;
    ASSERT_TRUE(QFile::resize(copy.Path("hij.dat"), radicalChunks.back().position + 20));
    ASSERT_TRUE(copy.Open(false));

    PlainListPage page;
    QString title;
    EXPECT_TRUE(copy.lists->ListByPinyin(Pinyin("zhong1"), page, title));
    EXPECT_TRUE(page.sections.empty());
    EXPECT_GT(copy.faults.count(), 0);
    EXPECT_TRUE(copy.faults.first().startsWith("ijk.dat: ")) << copy.faults.first().toStdString();
    for (const bool last : {false, true}) {
        const int before = copy.faults.count();
        const QByteArray key = (last ? radicalChunks.back() : radicalChunks.front()).lowKey;
        const ChunkRef ref = copy.index->FindRadicalChunk(key).value();
        EXPECT_EQ(copy.lists->CharactersByRadical(key, ref).empty(), last) << key.toStdString();
        EXPECT_EQ(copy.faults.count(), before + (last ? 1 : 0)) << key.toStdString();
    }
    EXPECT_EQ(copy.reporter.messages.size(), 1);
    // The undamaged chunks of the same file read as before.
    const int before = copy.faults.count();
    EXPECT_FALSE(
        copy.lists->CharactersByPinyin("ba2", data.index->FindPinyinChunk(Pinyin("ba2")).value()).empty());
    EXPECT_EQ(copy.faults.count(), before);
}

// A hand-made Pinyin file with one chunk, located by an index entry zhong1..zhong1: the list read
// and the faults noted.
std::pair<CharacterList, int> ReadCraftedChunk(const QByteArray& inflated) {
    DataFolder data;
    QByteArray chunk = qCompress(inflated).mid(4); // the zlib stream without Qt's length prefix
    ScrambleChunk(chunk.data(), static_cast<std::size_t>(chunk.size()),
                  SyllableChunkKey(ListFile::Pinyin, "zhong1", "zhong1"));
    for (const char* name : {"ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"}) {
        QFile file(data.Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(std::string_view(name) == "ijk.dat" ? chunk : QByteArray());
    }
    data.content.pinyinChunks = {{Pinyin("zhong1"), Pinyin("zhong1"), 0}};
    EXPECT_TRUE(data.Open());
    const CharacterList list =
        data.lists->CharactersByPinyin("zhong1", data.index->FindPinyinChunk(Pinyin("zhong1")).value());
    return {list, data.faults.count()};
}

TEST(CraftedChunkTest, RecordsThatBreakTheWalkAreFaults) {
    QByteArray good, afterInvalidKey;
    AppendRecord(ListFile::Pinyin, Pinyin("zhong1"), {0x4E2D, 0x949F}, good);
    AppendRecord(ListFile::Pinyin, 0xFFFF, {0x4E00}, afterInvalidKey);
    afterInvalidKey += good;
    QByteArray overlong = good; // claims 3000 values, holds 2
    qToLittleEndian<std::uint32_t>(Pinyin("zhong1") ^ 3000u, overlong.data() + 4);
    using Read = std::pair<CharacterList, int>;
    EXPECT_EQ(ReadCraftedChunk(good), (Read{{0x4E2D, 0x949F}, 0}));
    EXPECT_EQ(ReadCraftedChunk(afterInvalidKey), (Read{{}, 1}));
    EXPECT_EQ(ReadCraftedChunk(overlong), (Read{{}, 1}));
    EXPECT_EQ(ReadCraftedChunk(QByteArray()), (Read{{}, 1})); // an empty file where a chunk should lie
}

} // namespace
} // namespace quillory
