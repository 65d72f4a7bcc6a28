// The index file oxa.dat: written by the data compiler's writer, read back
// by DataIndex, and the reader's behaviour on damaged files.
#include "dictionary/files/DataIndex.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataFormat.h"
#include "tests/support/TestFiles.h"
#include "tests/support/QtPrinters.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

using namespace quillory;
using namespace quillory::datagen;
using quillory::testing::WriteFile;

namespace {

const QString kLengthMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e l*e*n*g*t*h*!");
const QString kChecksumMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e d*a*t*a* c*h*e*c*k*s*u*m*!");

const auto Pinyin = [](const char* text) { return EncodeSyllable(text, Scheme::Pinyin).value(); };
const auto Jyutping = [](const char* text) { return EncodeSyllable(text, Scheme::Jyutping).value(); };

IndexContent SmallContent() {
    IndexContent c;
    c.version = 0x1A2B;
    c.jyutpingSounds = {{Jyutping("zung1"), 1000}, {Jyutping("si6"), 2000}, {Jyutping("gwong2"), 3000}};
    c.pinyinSounds = {{Pinyin("zhong1"), 0x01020304}, {Pinyin("a1"), 77}, {Pinyin("lv4"), 0xFFFFFFF0}};
    c.strokeOrder = {{0x4E00, 0x4FFF, 10}, {0x5000, 0x5FFF, 20}, {0x6000, 0x9FA5, 30}};
    c.strokeCountChunks = {{1, 4, 0}, {5, 9, 4000}, {10, 64, 65000}};
    c.pinyinChunks = {{Pinyin("a1"), Pinyin("bo4"), 0},
                      {Pinyin("bu1"), Pinyin("fou3"), 5000},
                      {Pinyin("ga1"), Pinyin("zhuo5"), 9000}};
    c.jyutpingChunks = {{Jyutping("aa1"), Jyutping("faan6"), 0}, {Jyutping("fan1"), Jyutping("zyut6"), 7000}};
    c.radicalChunks = {{"1.0", "9'.3", 0}, {"10.0", "85.2", 3000}, {"86.0", "214.17", 6000}};
    c.pinyinSyllables = {Pinyin("a1"), Pinyin("zhong1"), Pinyin("lv4")};
    c.jyutpingSyllables = {Jyutping("zung1"), Jyutping("aa3")};
    c.strokeCounts = {1, 2, 3, 17, 64};
    c.radicalTable = "1.0\t4E00 0 1 2\n2.0\t4E28 0 1\n163'.0\t961D 2 3\n";
    return c;
}

QByteArray BuildOrFail(const IndexContent& content, IndexFileStats* stats = nullptr) {
    QString error;
    const QByteArray file = BuildIndexFile(content, &error, stats);
    EXPECT_FALSE(file.isEmpty()) << error.toStdString();
    return file;
}

bool Load(DataIndex& index, const QByteArray& file) {
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return index.LoadDataIndex(buffer);
}

// Loads file into a fresh index; the messages it reported.
QStringList LoadMessages(const QByteArray& file, bool expectLoaded) {
    RecordingReporter reporter;
    DataIndex index(reporter);
    EXPECT_EQ(Load(index, file), expectLoaded);
    return reporter.messages;
}

// The inflated index inside a file image.
QByteArray Unpack(const QByteArray& file) {
    QByteArray payload = file.left(file.size() - kIndexVersionSize);
    ScrambleIndexPayload(payload.data(), payload.size());
    QByteArray out(kIndexMaxSize, '\0');
    uLongf size = out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                         reinterpret_cast<const Bytef*>(payload.constData()), payload.size()),
              Z_OK);
    out.resize(size);
    return out;
}

// Sets length and check bytes so that an edited index passes both checks.
void Reseal(QByteArray& index) {
    index[0] = char(index.size() >> 8);
    index[1] = char(index.size() & 0xFF);
    const IndexCheckBytes check = ComputeIndexCheckBytes(index);
    index[kIndexCheckAOffset] = char(check.a);
    index[kIndexCheckBOffset] = char(check.b);
}

QByteArray Repack(const QByteArray& index) {
    return PackIndexFile(index, 0x0102, 0);
}

// A loadable file of exactly fileSize bytes: the bare index extended with
// zero bytes behind its sections, stored uncompressed.
QByteArray FileOfSize(int fileSize) {
    QString error;
    QByteArray index = BuildInflatedIndex(SmallContent(), 0, &error);
    index.resize(fileSize - int(Repack(index).size() - index.size()), '\0');
    Reseal(index);
    return Repack(index);
}

// A found chunk at position followed by the chunk at next (0: the last);
// position -1: nothing found.
void ExpectChunk(const std::optional<ChunkRef>& ref, long position, std::uint32_t next = 0) {
    if (position < 0) {
        EXPECT_FALSE(ref);
        return;
    }
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->position, std::uint32_t(position));
    EXPECT_EQ(ref->nextPosition, next);
}

// What an index without a loaded file answers.
void ExpectNothingLoaded(const DataIndex& index) {
    EXPECT_FALSE(index.isLoaded());
    EXPECT_TRUE(index.PinyinSyllables().empty() && index.JyutpingSyllables().empty() &&
                index.StrokeCounts().empty() && index.RadicalTableText().isEmpty());
    EXPECT_FALSE(index.HasPinyinSound(Pinyin("a1")) || index.HasJyutpingSound(Jyutping("zung1")));
    EXPECT_FALSE(index.FindStrokeOrderChunk(0x4E00) || index.FindStrokeCountChunk(1) ||
                 index.FindPinyinChunk(Pinyin("a1")) || index.FindJyutpingChunk(Jyutping("aa1")) ||
                 index.FindRadicalChunk("1.0"));
}

class LoadedIndex : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(index, BuildOrFail(content))); }
    IndexContent content = SmallContent();
    RecordingReporter reporter;
    DataIndex index{reporter};
};

TEST_F(LoadedIndex, ListsTextsSoundsAndChunksRoundTrip) {
    EXPECT_TRUE(index.isLoaded());
    EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_EQ(index.dataVersion(), "1A2B");
    EXPECT_EQ(index.PinyinSyllables(), content.pinyinSyllables);
    EXPECT_EQ(index.JyutpingSyllables(), content.jyutpingSyllables);
    EXPECT_EQ(index.StrokeCounts(), content.strokeCounts);
    EXPECT_EQ(index.RadicalTableText(), QString::fromLatin1(content.radicalTable));

    const auto& sounds = content.pinyinSounds;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        SCOPED_TRACE(i);
        const auto ref = index.FindPinyinSoundChunk(sounds[i].key);
        ExpectChunk(ref, sounds[i].position, i + 1 == sounds.size() ? 0u : sounds[i + 1].position);
        EXPECT_EQ(ref->low, sounds[i].key);
        EXPECT_TRUE(index.HasPinyinSound(sounds[i].key));
    }
    ExpectChunk(index.FindJyutpingSoundChunk(Jyutping("si6")), 2000, 3000);
    // The two sound sections do not share entries.
    EXPECT_FALSE(index.HasJyutpingSound(Pinyin("zhong1")));
    EXPECT_FALSE(index.HasPinyinSound(Jyutping("zung1")));
    EXPECT_FALSE(index.HasPinyinSound(Pinyin("zhong2")));

    // Kinds: o stroke order (hex code), c stroke count, p/j Pinyin/Jyutping text, P raw Pinyin id (hex),
    // r radical key. 14E00 is beyond 16 bits, not a wrapped 4E00; ch sorts after b by text, before it by
    // id; zun1 is after zhuo5, faat3 between faan6 and fan1, 9'.4 between 9'.3 and 10.0; text order
    // would put 100.1 before 85.2.
    const std::tuple<char, const char*, long, std::uint32_t> cases[] = {
        {'o', "4E00", 10, 20},     {'o', "5FFF", 20, 30},   {'o', "9FA5", 30, 0},
        {'o', "4DFF", -1, 0},      {'o', "9FA6", -1, 0},    {'o', "14E00", -1, 0},
        {'c', "1", 0, 4000},       {'c', "9", 4000, 65000}, {'c', "64", 65000, 0},
        {'c', "0", -1, 0},         {'c', "65", -1, 0},      {'c', "261", -1, 0},
        {'p', "a1", 0, 5000},      {'p', "bo4", 0, 5000},   {'p', "chi1", 5000, 9000},
        {'p', "zhong1", 9000, 0},  {'p', "zun1", -1, 0},    {'P', "0", -1, 0},
        {'P', "FFFF", -1, 0},      {'j', "faan6", 0, 7000}, {'j', "gwong2", 7000, 0},
        {'j', "faat3", -1, 0},     {'r', "9.5", 0, 3000},   {'r', "9'.4", -1, 0},
        {'r', "85.2", 3000, 6000}, {'r', "100.1", 6000, 0}, {'r', "214.18", -1, 0}};
    for (const auto& [kind, key, position, next] : cases) {
        SCOPED_TRACE(std::string(1, kind) + " " + key);
        const std::uint32_t number = QByteArray(key).toUInt(nullptr, kind == 'c' ? 10 : 16);
        const std::optional<ChunkRef> ref = kind == 'o'   ? index.FindStrokeOrderChunk(number)
                                            : kind == 'c' ? index.FindStrokeCountChunk(int(number))
                                            : kind == 'p' ? index.FindPinyinChunk(Pinyin(key))
                                            : kind == 'P' ? index.FindPinyinChunk(SyllableId(number))
                                            : kind == 'j' ? index.FindJyutpingChunk(Jyutping(key))
                                                          : index.FindRadicalChunk(key);
        ExpectChunk(ref, position, next);
    }
    // Bounds of the chunk found.
    const auto bounds = [](const std::optional<ChunkRef>& ref) {
        return std::vector<int>{ref->low, ref->high};
    };
    EXPECT_EQ(bounds(index.FindStrokeOrderChunk(0x5FFF)), (std::vector<int>{0x5000, 0x5FFF}));
    EXPECT_EQ(bounds(index.FindStrokeCountChunk(1)), (std::vector<int>{1, 4}));
    EXPECT_EQ(bounds(index.FindPinyinChunk(Pinyin("chi1"))),
              (std::vector<int>{Pinyin("bu1"), Pinyin("fou3")}));
    const auto radical = index.FindRadicalChunk("9.5");
    EXPECT_EQ(radical->lowText, "1.0");
    EXPECT_EQ(radical->highText, "9'.3");
    EXPECT_EQ(index.FindRadicalChunk("100.1")->highText, "214.17");
}

TEST(RadicalKeyOrder, NumberThenVariantThenResidual) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"2.3", "12.0", -1},
        {"12.0", "2.3", 1},
        {"9.17", "9'.0", -1},
        {"163'.3", "163'.10", -1},
        {" 5.1\t", "5.1\n", 0},
        {"96.-1", "96.0", -1},
        {"99999999999999999999.0", "1.0", 1}}; // the last: no overflow
    for (const auto& [a, b, order] : cases)
        EXPECT_EQ(CompareRadicalKeyTexts(a, b), order) << a << " " << b;
}

TEST(IndexWriter, PadsSmallContentIntoTheFileWindow) {
    IndexFileStats stats;
    const QByteArray file = BuildOrFail(SmallContent(), &stats);
    EXPECT_GT(stats.paddingSize, 20000);
    EXPECT_EQ(stats.fileSize, file.size());
    EXPECT_GE(file.size(), kIndexMinFileSize);
    EXPECT_LE(file.size(), kIndexMaxSize);
    const QByteArray index = Unpack(file);
    EXPECT_EQ(index.size(), stats.inflatedSize);
    EXPECT_LE(index.size(), file.size() - kIndexVersionSize + kIndexInflateSlack);
    EXPECT_EQ(IndexSectionSpan(index, kUnusedSection2).size(), stats.paddingSize);
}

// Sizes like the real data: sound entries for every syllable and a radical
// table of some kilobytes, repetitive enough to compress well.
IndexContent RealisticContent(int pinyinSounds) {
    IndexContent c = SmallContent();
    c.pinyinSounds.clear();
    c.jyutpingSounds.clear();
    c.pinyinSyllables.clear();
    for (int i = 0; i < pinyinSounds; ++i) {
        c.pinyinSounds.push_back({SyllableId(i * 3), std::uint32_t(i) * 6100});
        c.pinyinSyllables.push_back(SyllableId(i * 3));
    }
    for (int i = 0; i < 1900; ++i)
        c.jyutpingSounds.push_back({SyllableId(i * 5), std::uint32_t(i) * 5900});
    c.radicalTable.clear();
    for (int r = 1; c.radicalTable.size() < 15000; ++r)
        c.radicalTable += QByteArray::number(r) + ".0\t4E00 4E01 0 1 2 3 4 5 6 7 8 9 A\n";
    return c;
}

TEST(IndexWriter, CompressibleContentUsesALevelTheReaderCanInflateOrIsRefused) {
    IndexFileStats stats;
    const IndexContent content = RealisticContent(1650);
    const QByteArray file = BuildOrFail(content, &stats);
    // At the strongest level this index would inflate beyond what the reader
    // offers (payload + 10240 bytes), so a weaker level must have been taken.
    EXPECT_LT(stats.compressionLevel, 9);
    EXPECT_GT(stats.inflatedSize, 35000);
    EXPECT_LE(stats.inflatedSize, stats.fileSize - kIndexVersionSize + kIndexInflateSlack);
    RecordingReporter reporter;
    DataIndex index(reporter);
    ASSERT_TRUE(Load(index, file));
    EXPECT_EQ(index.PinyinSyllables().size(), 1650u);
    EXPECT_EQ(index.FindPinyinSoundChunk(1649 * 3)->position, 1649u * 6100);
    EXPECT_EQ(index.FindJyutpingSoundChunk(1899 * 5)->nextPosition, 0u);
    EXPECT_EQ(index.RadicalTableText(), QString::fromLatin1(content.radicalTable));
    // A truncated file's stream does not inflate: it is damaged.
    for (int size : {int(file.size()) - 3, int(file.size()) - 4000})
        EXPECT_EQ(LoadMessages(file.left(size), false),
                  QStringList{"The index file oxa.dat is damaged: its data does not inflate."})
            << size;

    // Content that cannot fit is refused, and no file is written for it.
    QString error;
    EXPECT_TRUE(BuildIndexFile(RealisticContent(3500), &error).isEmpty());
    EXPECT_TRUE(error.contains("51200")) << error.toStdString();

    IndexContent longKeys = SmallContent();
    longKeys.radicalChunks.push_back({QByteArray(200, '1'), QByteArray(60, '2'), 0});
    error.clear();
    EXPECT_TRUE(BuildIndexFile(longKeys, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir dir;
    EXPECT_FALSE(WriteIndexFile(longKeys, dir.filePath("oxa.dat"), &error));
    EXPECT_FALSE(QFile::exists(dir.filePath("oxa.dat")));
    EXPECT_TRUE(WriteIndexFile(SmallContent(), dir.filePath("oxa.dat"), &error));
}

TEST(IndexLoading, FileSizeWindowAndNothingLeftAfterAFailure) {
    RecordingReporter reporter;
    DataIndex index(reporter);
    ExpectNothingLoaded(index);
    EXPECT_EQ(index.dataVersion(), "0000");
    const QByteArray exact = FileOfSize(kIndexMinFileSize);
    ASSERT_EQ(exact.size(), kIndexMinFileSize);
    EXPECT_TRUE(Load(index, exact));
    EXPECT_EQ(index.dataVersion(), "0102");
    EXPECT_EQ(index.PinyinSyllables().size(), 3u);

    const QByteArray shortFile = FileOfSize(kIndexMinFileSize - 1);
    ASSERT_EQ(shortFile.size(), kIndexMinFileSize - 1);
    EXPECT_FALSE(Load(index, shortFile));
    ExpectNothingLoaded(index); // the earlier index is gone
    EXPECT_TRUE(reporter.messages.isEmpty());

    // The largest file loads; one longer than the window is damaged, not
    // read from its first 51200 bytes.
    QByteArray largest = FileOfSize(kIndexMaxSize);
    EXPECT_TRUE(Load(index, largest));
    EXPECT_EQ(index.dataVersion(), "0102");
    largest.append(QByteArray(100, 'x'));
    EXPECT_FALSE(Load(index, largest));
    ExpectNothingLoaded(index);
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains("longer than its content"));
}

TEST(IndexLoading, LengthChecksumAndGarbageFaultsAreRefused) {
    const QByteArray good = Unpack(BuildOrFail(SmallContent()));
    QByteArray longer = good;
    longer[1] = char(longer[1] + 1);
    EXPECT_EQ(LoadMessages(Repack(longer), false), QStringList{kLengthMessage});
    // A stream that does not inflate, or bytes after the stream (where the
    // version would then be read from), are damage with a message that says so.
    const QByteArray file = BuildOrFail(SmallContent());
    QByteArray broken = file;
    broken[2] = char(broken[2] ^ 0xFF);
    const QByteArray appended =
        file.left(file.size() - kIndexVersionSize) + "xy" + file.right(kIndexVersionSize);
    const std::pair<QByteArray, const char*> damaged[] = {{broken, "does not inflate"},
                                                          {appended, "longer than its content"},
                                                          {file + "xy", "longer than its content"}};
    for (const auto& [bytes, message] : damaged) {
        const QStringList messages = LoadMessages(bytes, false);
        ASSERT_EQ(messages.size(), 1) << message;
        EXPECT_TRUE(messages[0].contains(message)) << messages[0].toStdString();
    }

    // A flipped byte fails exactly one check byte: B for offsets divisible by 3.
    for (int offset : {2, 3, 5, 6, 7, 8, 57, 1000, int(good.size()) - 1}) {
        SCOPED_TRACE(offset);
        QByteArray bad = good;
        bad[offset] = char(bad[offset] ^ (offset < kIndexBaseOffset ? 0x01 : 0x40));
        if (offset > kIndexBaseOffset) {
            const IndexCheckBytes check = ComputeIndexCheckBytes(bad);
            const bool aFails = check.a != std::uint8_t(bad[kIndexCheckAOffset]);
            const bool bFails = check.b != std::uint8_t(bad[kIndexCheckBOffset]);
            EXPECT_NE(aFails, bFails);
            EXPECT_EQ(bFails, offset % 3 == 0);
        }
        EXPECT_EQ(LoadMessages(Repack(bad), false), QStringList{kChecksumMessage});
    }
    // The base offset is outside the checksum.
    QByteArray shifted = good;
    shifted[kIndexBaseOffset] = char(shifted[kIndexBaseOffset] + 1);
    EXPECT_TRUE(LoadMessages(Repack(shifted), true).isEmpty());
    // Garbage is refused with one message at most.
    std::mt19937 random(7);
    for (int size : {0, 2, 100, kIndexMinFileSize, kIndexMaxSize, 70000}) {
        QByteArray garbage(size, '\0');
        for (char& c : garbage)
            c = char(random());
        EXPECT_LE(LoadMessages(garbage, false).size(), 1) << size;
    }
}

// Descriptors and entries edited but resealed, so that the file passes its
// checks: every read must stay within the index.
TEST(IndexLoading, CorruptSectionsStayWithinTheIndex) {
    const QByteArray good = Unpack(BuildOrFail(SmallContent()));
    const int bodiesEnd = IndexSectionSpan(good, kRadicalTableSection).end;
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        for (int edits = 0; edits < 4; ++edits) {
            const bool header = random() % 2 == 0;
            bad[header ? 4 + int(random() % (kIndexHeaderSize - 4)) : bodiesEnd - 1 - int(random() % 600)] =
                char(random());
        }
        Reseal(bad);
        RecordingReporter reporter;
        DataIndex index(reporter);
        ASSERT_TRUE(Load(index, Repack(bad)));
        EXPECT_LE(index.PinyinSyllables().size() * 2, std::size_t(bad.size()));
        EXPECT_LE(index.StrokeCounts().size(), std::size_t(bad.size()));
        EXPECT_LE(index.RadicalTableText().size(), bad.size());
        for (const char* key : {"1.0", "9'.3", "50.2", "214.17"})
            index.FindRadicalChunk(key);
        index.FindPinyinChunk(Pinyin("zhong1")), index.FindJyutpingChunk(Jyutping("zung1"));
        index.FindStrokeOrderChunk(0x5000), index.FindStrokeCountChunk(7);
        index.HasPinyinSound(Pinyin("a1")), index.HasJyutpingSound(Jyutping("si6"));
    }
    // A descriptor pointing beyond the index means an empty section.
    QByteArray bad = good;
    const int descriptor = kIndexDescriptorsOffset + kPinyinSyllableSection * kIndexDescriptorSize;
    const std::uint16_t beyond = EncodeDescriptorValue(std::uint16_t(bad.size()));
    bad[descriptor + 2] = char(beyond >> 8);
    bad[descriptor + 3] = char(beyond & 0xFF);
    Reseal(bad);
    RecordingReporter reporter;
    DataIndex index(reporter);
    ASSERT_TRUE(Load(index, Repack(bad)));
    EXPECT_TRUE(index.PinyinSyllables().empty());
    EXPECT_EQ(index.JyutpingSyllables().size(), 2u);
}

TEST(DataFilesTest, MissingFolderReportsEveryFile) {
    const QString folder = QDir::tempPath() + "/quillory-no-such-folder";
    RecordingReporter reporter;
    DataFiles files(folder, reporter);
    EXPECT_FALSE(files.OpenDataFiles());
    QStringList expected;
    for (const char* name : {"oxa.dat", "ghi.dat", "ijk.dat", "jkl.dat", "hij.dat"})
        expected << "Cannot open " + folder + "/" + name + " to read or write.";
    EXPECT_EQ(reporter.messages, expected);
    EXPECT_EQ(files.indexFile(), nullptr);
    EXPECT_EQ(files.listFile(ListFile::Radical), nullptr);
}

TEST(DataFilesTest, OpensWhatExistsAndLoadsTheIndexTwice) {
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteIndexFile(SmallContent(), dir.filePath("oxa.dat"), &error)) << error.toStdString();
    ASSERT_TRUE(WriteFile(dir.filePath("ghi.dat"), "list") &&
                WriteFile(dir.filePath("jkl.dat"), "list"));
    RecordingReporter reporter;
    DataFiles files(dir.path() + "/", reporter);
    EXPECT_EQ(files.DataPath("ghi.dat"), dir.filePath("ghi.dat"));
    EXPECT_FALSE(files.OpenDataFiles());
    ASSERT_EQ(reporter.messages.size(), 2);
    EXPECT_TRUE(reporter.messages[0].contains("ijk.dat"));
    EXPECT_TRUE(reporter.messages[1].contains("hij.dat"));
    ASSERT_NE(files.listFile(ListFile::StrokeCount), nullptr);
    EXPECT_EQ(files.listFile(ListFile::StrokeCount)->readAll(), "list");
    EXPECT_EQ(files.listFile(ListFile::Pinyin), nullptr);

    ASSERT_NE(files.indexFile(), nullptr);
    DataIndex index(reporter);
    EXPECT_TRUE(index.LoadDataIndex(*files.indexFile()));
    EXPECT_TRUE(index.LoadDataIndex(*files.indexFile())); // seeks back to the start
    EXPECT_EQ(index.StrokeCounts().size(), 5u);

    ASSERT_TRUE(WriteFile(dir.filePath("ijk.dat"), {}) && WriteFile(dir.filePath("hij.dat"), {}));
    reporter.messages.clear();
    EXPECT_TRUE(files.OpenDataFiles());
    EXPECT_TRUE(reporter.messages.isEmpty());
    files.CloseDataFiles();
    EXPECT_EQ(files.indexFile(), nullptr);
}

} // namespace
