// The index file oxa.dat: written by the data compiler's writer, read back
// by DataIndex, and the reader's behaviour on damaged files.
#include "dictionary/files/DataIndex.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataFormat.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

using namespace quillory;
using namespace quillory::datagen;

namespace {

const QString kLengthMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e l*e*n*g*t*h*!");
const QString kChecksumMessage = QStringLiteral("w*r*o*n*g I*N*I f*i*l*e d*a*t*a* c*h*e*c*k*s*u*m*!");

SyllableId Pinyin(const char* text) {
    return EncodeSyllable(text, Scheme::Pinyin).value();
}
SyllableId Jyutping(const char* text) {
    return EncodeSyllable(text, Scheme::Jyutping).value();
}

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
    const QByteArray bare = BuildInflatedIndex(SmallContent(), 0, &error);
    const int overhead = int(Repack(bare).size() - bare.size());
    QByteArray index = bare;
    index.resize(fileSize - overhead, '\0');
    Reseal(index);
    return Repack(index);
}

// A found chunk at position, followed by the chunk at next (0: the last).
void ExpectChunk(const std::optional<ChunkRef>& ref, std::uint32_t position, std::uint32_t next) {
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->position, position);
    EXPECT_EQ(ref->nextPosition, next);
}

class LoadedIndex : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(index, BuildOrFail(content))); }
    IndexContent content = SmallContent();
    RecordingReporter reporter;
    DataIndex index{reporter};
};

TEST_F(LoadedIndex, ListsAndTextsRoundTrip) {
    EXPECT_TRUE(index.isLoaded());
    EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_EQ(index.DataVersion(), "1A2B");
    EXPECT_EQ(index.PinyinSyllables(), content.pinyinSyllables);
    EXPECT_EQ(index.JyutpingSyllables(), content.jyutpingSyllables);
    EXPECT_EQ(index.StrokeCounts(), content.strokeCounts);
    EXPECT_EQ(index.RadicalTableText(), QString::fromLatin1(content.radicalTable));
}

TEST_F(LoadedIndex, SoundIndexesFindTheirKeysWithNextPositions) {
    for (std::size_t i = 0; i < content.pinyinSounds.size(); ++i) {
        const auto ref = index.FindPinyinSoundChunk(content.pinyinSounds[i].key);
        ASSERT_TRUE(ref) << i;
        EXPECT_EQ(ref->position, content.pinyinSounds[i].position);
        EXPECT_EQ(ref->low, content.pinyinSounds[i].key);
        const bool last = i + 1 == content.pinyinSounds.size();
        EXPECT_EQ(ref->nextPosition, last ? 0u : content.pinyinSounds[i + 1].position);
        EXPECT_TRUE(index.HasPinyinSound(content.pinyinSounds[i].key));
    }
    ExpectChunk(index.FindJyutpingSoundChunk(Jyutping("si6")), 2000, 3000);
    // The two sound sections do not share entries.
    EXPECT_FALSE(index.HasJyutpingSound(Pinyin("zhong1")));
    EXPECT_FALSE(index.HasPinyinSound(Jyutping("zung1")));
    EXPECT_FALSE(index.HasPinyinSound(Pinyin("zhong2")));
}

TEST_F(LoadedIndex, StrokeOrderAndStrokeCountRanges) {
    ExpectChunk(index.FindStrokeOrderChunk(0x4E00), 10, 20);
    const auto middle = index.FindStrokeOrderChunk(0x5FFF);
    ExpectChunk(middle, 20, 30);
    EXPECT_EQ(middle->low, 0x5000);
    EXPECT_EQ(middle->high, 0x5FFF);
    EXPECT_EQ(index.FindStrokeOrderChunk(0x9FA5)->nextPosition, 0u);
    EXPECT_FALSE(index.FindStrokeOrderChunk(0x4DFF));
    EXPECT_FALSE(index.FindStrokeOrderChunk(0x9FA6));
    EXPECT_FALSE(index.FindStrokeOrderChunk(0x14E00)); // beyond 16 bits, not a wrapped 0x4E00

    const auto first = index.FindStrokeCountChunk(1);
    ExpectChunk(first, 0, 4000);
    EXPECT_EQ(first->low, 1);
    EXPECT_EQ(first->high, 4);
    ExpectChunk(index.FindStrokeCountChunk(9), 4000, 65000);
    ExpectChunk(index.FindStrokeCountChunk(64), 65000, 0);
    EXPECT_FALSE(index.FindStrokeCountChunk(0));
    EXPECT_FALSE(index.FindStrokeCountChunk(65));
    EXPECT_FALSE(index.FindStrokeCountChunk(256 + 5));
}

TEST_F(LoadedIndex, SyllableChunksMatchByTextRange) {
    ExpectChunk(index.FindPinyinChunk(Pinyin("a1")), 0, 5000);
    ExpectChunk(index.FindPinyinChunk(Pinyin("bo4")), 0, 5000);
    // ch sorts before b by id but after it by text: the text decides.
    const auto chi = index.FindPinyinChunk(Pinyin("chi1"));
    ExpectChunk(chi, 5000, 9000);
    EXPECT_EQ(chi->low, Pinyin("bu1"));
    EXPECT_EQ(chi->high, Pinyin("fou3"));
    ExpectChunk(index.FindPinyinChunk(Pinyin("zhong1")), 9000, 0);
    EXPECT_FALSE(index.FindPinyinChunk(Pinyin("zun1"))); // after "zhuo5"
    EXPECT_FALSE(index.FindPinyinChunk(0));
    EXPECT_FALSE(index.FindPinyinChunk(0xFFFF));

    ExpectChunk(index.FindJyutpingChunk(Jyutping("faan6")), 0, 7000);
    ExpectChunk(index.FindJyutpingChunk(Jyutping("gwong2")), 7000, 0);
    EXPECT_FALSE(index.FindJyutpingChunk(Jyutping("faat3"))); // between faan6 and fan1
}

TEST_F(LoadedIndex, RadicalWalkUsesNumericKeyOrder) {
    const auto first = index.FindRadicalChunk("9.5");
    ExpectChunk(first, 0, 3000);
    EXPECT_EQ(first->lowText, "1.0");
    EXPECT_EQ(first->highText, "9'.3");
    EXPECT_FALSE(index.FindRadicalChunk("9'.4")); // after 9'.3, before 10.0
    // Text order would put "100.1" before "85.2".
    const auto last = index.FindRadicalChunk("100.1");
    ExpectChunk(last, 6000, 0);
    EXPECT_EQ(last->highText, "214.17");
    ExpectChunk(index.FindRadicalChunk("85.2"), 3000, 6000);
    EXPECT_FALSE(index.FindRadicalChunk("214.18"));
}

TEST(RadicalKeyOrder, NumberThenVariantThenResidual) {
    EXPECT_EQ(CompareRadicalKeyTexts("2.3", "12.0"), -1);
    EXPECT_EQ(CompareRadicalKeyTexts("12.0", "2.3"), 1);
    EXPECT_EQ(CompareRadicalKeyTexts("9.17", "9'.0"), -1);
    EXPECT_EQ(CompareRadicalKeyTexts("163'.3", "163'.10"), -1);
    EXPECT_EQ(CompareRadicalKeyTexts(" 5.1\t", "5.1\n"), 0);
    EXPECT_EQ(CompareRadicalKeyTexts("96.-1", "96.0"), -1);
    EXPECT_EQ(CompareRadicalKeyTexts("99999999999999999999.0", "1.0"), 1); // no overflow
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

TEST(IndexWriter, CompressibleContentUsesALevelTheReaderCanInflate) {
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
}

TEST(IndexWriter, RefusesContentThatCannotFit) {
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

TEST(IndexLoading, FileSizeWindow) {
    RecordingReporter reporter;
    DataIndex index(reporter);
    const QByteArray exact = FileOfSize(kIndexMinFileSize);
    ASSERT_EQ(exact.size(), kIndexMinFileSize);
    EXPECT_TRUE(Load(index, exact));
    EXPECT_EQ(index.DataVersion(), "0102");
    EXPECT_EQ(index.PinyinSyllables().size(), 3u);

    const QByteArray shortFile = FileOfSize(kIndexMinFileSize - 1);
    ASSERT_EQ(shortFile.size(), kIndexMinFileSize - 1);
    EXPECT_FALSE(Load(index, shortFile));
    EXPECT_FALSE(index.isLoaded()); // the earlier index is gone
    EXPECT_TRUE(reporter.messages.isEmpty());

    // Bytes beyond 51200 are never read.
    QByteArray largest = FileOfSize(kIndexMaxSize);
    largest.append(QByteArray(100, 'x'));
    EXPECT_TRUE(Load(index, largest));
    EXPECT_EQ(index.DataVersion(), "0102");
}

TEST(IndexLoading, LengthFieldOffByOneIsReported) {
    RecordingReporter reporter;
    DataIndex index(reporter);
    QByteArray inflated = Unpack(BuildOrFail(SmallContent()));
    inflated[1] = char(inflated[1] + 1);
    EXPECT_FALSE(Load(index, Repack(inflated)));
    EXPECT_EQ(reporter.messages, QStringList{kLengthMessage});
    EXPECT_FALSE(index.isLoaded());
    EXPECT_TRUE(index.PinyinSyllables().empty());
    EXPECT_TRUE(index.RadicalTableText().isEmpty());
}

TEST(IndexLoading, FlippedByteFailsExactlyOneCheckByte) {
    const QByteArray good = Unpack(BuildOrFail(SmallContent()));
    for (int offset : {5, 6, 7, 8, 57, 1000, int(good.size()) - 1}) {
        QByteArray bad = good;
        bad[offset] = char(bad[offset] ^ 0x40);
        const IndexCheckBytes check = ComputeIndexCheckBytes(bad);
        const bool aFails = check.a != std::uint8_t(bad[kIndexCheckAOffset]);
        const bool bFails = check.b != std::uint8_t(bad[kIndexCheckBOffset]);
        EXPECT_NE(aFails, bFails) << offset;
        EXPECT_EQ(bFails, offset % 3 == 0) << offset;

        RecordingReporter reporter;
        DataIndex index(reporter);
        EXPECT_FALSE(Load(index, Repack(bad))) << offset;
        EXPECT_EQ(reporter.messages, QStringList{kChecksumMessage}) << offset;
    }
    for (int offset : {2, 3}) {
        QByteArray bad = good;
        bad[offset] = char(bad[offset] ^ 1);
        RecordingReporter reporter;
        DataIndex index(reporter);
        EXPECT_FALSE(Load(index, Repack(bad)));
        EXPECT_EQ(reporter.messages, QStringList{kChecksumMessage});
    }
}

TEST(IndexLoading, BaseOffsetIsOutsideTheChecksum) {
    QByteArray shifted = Unpack(BuildOrFail(SmallContent()));
    shifted[kIndexBaseOffset] = char(shifted[kIndexBaseOffset] + 1);
    RecordingReporter reporter;
    DataIndex index(reporter);
    EXPECT_TRUE(Load(index, Repack(shifted)));
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST(IndexLoading, GarbageAndTruncatedFilesAreRefused) {
    std::mt19937 random(7);
    for (int size : {0, 2, 100, kIndexMinFileSize, kIndexMaxSize, 70000}) {
        QByteArray garbage(size, '\0');
        for (char& c : garbage)
            c = char(random());
        RecordingReporter reporter;
        DataIndex index(reporter);
        EXPECT_FALSE(Load(index, garbage)) << size;
        EXPECT_LE(reporter.messages.size(), 1) << size;
    }
    const QByteArray file = BuildOrFail(RealisticContent(1650));
    for (int size : {int(file.size()) - 3, int(file.size()) - 4000}) {
        RecordingReporter reporter;
        DataIndex index(reporter);
        EXPECT_FALSE(Load(index, file.left(size))) << size;
        EXPECT_EQ(reporter.messages, QStringList{kLengthMessage}) << size;
    }
}

// Descriptors and entries edited at random but resealed, so that the file
// passes its checks: every read must stay within the index.
TEST(IndexLoading, CorruptSectionsStayWithinTheIndex) {
    const QByteArray good = Unpack(BuildOrFail(SmallContent()));
    const int bodiesEnd = IndexSectionSpan(good, kRadicalTableSection).end;
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        for (int edits = 0; edits < 4; ++edits) {
            const bool header = random() % 2 == 0;
            const int offset =
                header ? 4 + int(random() % (kIndexHeaderSize - 4)) : bodiesEnd - 1 - int(random() % 600);
            bad[offset] = char(random());
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
        index.FindPinyinChunk(Pinyin("zhong1"));
        index.FindJyutpingChunk(Jyutping("zung1"));
        index.FindStrokeOrderChunk(0x5000);
        index.FindStrokeCountChunk(7);
        index.HasPinyinSound(Pinyin("a1"));
        index.HasJyutpingSound(Jyutping("si6"));
    }
}

TEST(IndexLoading, DescriptorBeyondTheIndexMeansAnEmptySection) {
    QByteArray bad = Unpack(BuildOrFail(SmallContent()));
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

TEST(IndexLoading, NothingIsFoundWithoutAnIndex) {
    RecordingReporter reporter;
    DataIndex index(reporter);
    EXPECT_FALSE(index.isLoaded());
    EXPECT_EQ(index.DataVersion(), "0000");
    EXPECT_TRUE(index.PinyinSyllables().empty() && index.JyutpingSyllables().empty() &&
                index.StrokeCounts().empty() && index.RadicalTableText().isEmpty());
    EXPECT_FALSE(index.HasPinyinSound(Pinyin("a1")) || index.HasJyutpingSound(Jyutping("zung1")));
    EXPECT_FALSE(index.FindStrokeOrderChunk(0x4E00) || index.FindStrokeCountChunk(1) ||
                 index.FindPinyinChunk(Pinyin("a1")) || index.FindJyutpingChunk(Jyutping("aa1")) ||
                 index.FindRadicalChunk("1.0"));
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
    for (const char* name : {"ghi.dat", "jkl.dat"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("list");
    }
    RecordingReporter reporter;
    DataFiles files(dir.path() + "/", reporter);
    EXPECT_EQ(files.DataPath("ghi.dat"), dir.filePath("ghi.dat"));
    EXPECT_FALSE(files.OpenDataFiles());
    EXPECT_EQ(reporter.messages.size(), 2);
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

    for (const char* name : {"ijk.dat", "hij.dat"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    reporter.messages.clear();
    EXPECT_TRUE(files.OpenDataFiles());
    EXPECT_TRUE(reporter.messages.isEmpty());
    files.CloseDataFiles();
    EXPECT_EQ(files.indexFile(), nullptr);
}

} // namespace
