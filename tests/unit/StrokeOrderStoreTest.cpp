// The stroke-order store: records written by the data compiler's writer and
// read back through the index, the reader on damaged chunks, and the sweep
// direction taken from a stroke's median.
#include "stroke/records/StrokeOrderStore.h"
#include "datagen/strokes/StrokeData.h"
#include "datagen/strokes/StrokeSource.h"
#include "datagen/strokes/StrokeStoreWriter.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataIndex.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillory::stroke {
namespace {

using datagen::StrokeCharacter;

// Character i has (i % 7) + 1 strokes with directions cycling 0..3.
std::vector<StrokeCharacter> Characters(const std::vector<std::uint32_t>& codes) {
    std::vector<StrokeCharacter> characters;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        StrokeCharacter c;
        c.code = codes[i];
        const int strokes = int(i % 7) + 1;
        c.contours.resize(strokes);
        for (int s = 0; s < strokes; ++s)
            c.directions.push_back(std::uint8_t((i + s) % 4));
        characters.push_back(c);
    }
    return characters;
}

TEST(StrokeOrderStore, RecordsComeBackThroughTheIndexFromEveryChunk) {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t code = 0x4E00; codes.size() < 300; code += 3)
        codes.push_back(code);
    codes.push_back(0x20000); // the index holds 16-bit codes: left out
    const std::vector<StrokeCharacter> characters = Characters(codes);
    datagen::IndexContent content;
    const QByteArray store = datagen::BuildStrokeOrderStore(characters, content.strokeOrder);
    ASSERT_EQ(content.strokeOrder.size(), 3u); // 128 + 128 + 44 characters
    EXPECT_EQ(content.strokeOrder[1].low, codes[128]);
    EXPECT_EQ(content.strokeOrder[2].high, codes[299]);

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(datagen::WriteIndexFile(content, dir.filePath(QStringLiteral("oxa.dat")), &error))
        << error.toStdString();
    const QString storePath = dir.filePath(QLatin1String(kStrokeOrderFileName));
    ASSERT_TRUE(testing::WriteFile(storePath, store));
    RecordingReporter reporter;
    DataIndex index(reporter);
    QFile indexFile(dir.filePath(QStringLiteral("oxa.dat")));
    ASSERT_TRUE(indexFile.open(QIODevice::ReadOnly) && index.LoadDataIndex(indexFile));

    const StrokeOrderStore reader(index, storePath);
    StrokeOrderBytes record;
    for (const std::size_t i : {0, 1, 127, 128, 255, 256, 299}) {
        SCOPED_TRACE(i);
        const StrokeCharacter& c = characters[i];
        ASSERT_EQ(reader.ReadRecord(c.code, record), int(c.contours.size()));
        for (std::size_t s = 0; s < c.contours.size(); ++s) {
            EXPECT_EQ(EntryAt(record, int(s)).contour, s);
            EXPECT_EQ(EntryAt(record, int(s)).flags, c.directions[s]); // no continuation
        }
        EXPECT_EQ(StrokeCountOf(record, int(c.contours.size())), int(c.contours.size()));
        EXPECT_EQ(record[2 * c.contours.size()], 0); // the rest stays clear
    }
    // Between two characters, before the first, after the last, and above the index's range.
    for (const std::uint32_t missing : {0x4E01u, 0x4DFFu, 0x9FA5u, 0x20000u})
        EXPECT_EQ(reader.ReadRecord(missing, record), 0) << missing;
    EXPECT_LE(
        StrokeOrderStore(index, dir.filePath(QStringLiteral("absent.dat"))).ReadRecord(codes[0], record), 0);
}

TEST(StrokeOrderStore, DamagedChunksGiveNoRecord) {
    // 4E00 with 2 entries, 4E05 with 1.
    const QByteArray good = QByteArray::fromHex("004e02"
                                                "0001"
                                                "0100"
                                                "054e01"
                                                "0003");
    StrokeOrderBytes record;
    record.fill(0xEE);
    EXPECT_EQ(FindRecordInChunk(good, 0x4E05, record), 1);
    EXPECT_EQ(record[0], 0);
    EXPECT_EQ(record[1], 3);
    EXPECT_EQ(record[2], 0); // cleared before filling
    const struct {
        const char* what;
        QByteArray chunk;
        std::uint32_t code;
    } damaged[] = {
        {"cut inside a record", good.left(good.size() - 1), 0x4E05},
        {"cut inside a head", good.left(8), 0x4E05},
        {"more entries than a record holds", QByteArray::fromHex("004e81") + QByteArray(258, 0), 0x4E00}};
    for (const auto& d : damaged) {
        record.fill(0xEE);
        EXPECT_EQ(FindRecordInChunk(d.chunk, d.code, record), -1) << d.what;
        EXPECT_EQ(record[0], 0) << d.what;
    }
    // A chunk ref that points backwards or past the file's end reads nothing.
    const auto ref = [](std::uint32_t position, std::uint32_t next) {
        ChunkRef r;
        r.position = position;
        r.nextPosition = next;
        return r;
    };
    QBuffer file;
    file.setData(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadStrokeOrderRecord(file, ref(5, 2), 0x4E00, record), -1);
    EXPECT_EQ(ReadStrokeOrderRecord(file, ref(0, 100), 0x4E00, record), -1);
    EXPECT_LE(ReadStrokeOrderRecord(file, ref(100, 0), 0x4E00, record), 0);
    EXPECT_EQ(ReadStrokeOrderRecord(file, ref(0, 0), 0x4E00, record), 2);
}

TEST(StrokeSource, DirectionRunsFromTheMediansFirstPointToItsLast) {
    const struct {
        const char* median; // y grows upwards
        std::uint8_t direction;
    } cases[] = {
        {"[[100,500],[200,480],[900,520]]", kSweepLeftToRight},
        {"[[500,800],[520,100]]", kSweepTopToBottom},
        {"[[900,500],[100,450]]", kSweepRightToLeft},
        {"[[300,100],[350,700]]", kSweepBottomToTop},
        // The horizontal leg of a turning stroke is longer, but the ends lie further apart vertically.
        {"[[100,800],[800,800],[700,0]]", kSweepTopToBottom},
        {"[[0,0],[100,100]]", kSweepLeftToRight}, // a tie goes across
        {"[[5,5]]", kSweepLeftToRight}};
    for (const auto& c : cases)
        EXPECT_EQ(datagen::DirectionOfMedian(QJsonDocument::fromJson(c.median).array()), c.direction)
            << c.median;
}

// The compiler's stroke step on a package of three files, one of them
// unusable: the font, the store and the license are written, and the stroke
// counts are compared with the dictionary's.
TEST(StrokeData, WritesFontStoreAndLicenseFromAPackageFolder) {
    QTemporaryDir package, out;
    const QByteArray square = "\"M 100 100 L 900 100 L 900 800 L 100 800 Z\"";
    const QByteArray line = "\"M 100 500 L 900 500 L 900 400 Z\"";
    ASSERT_TRUE(testing::WriteFile(package.filePath(QStringLiteral("一.json")),
                                   "{\"strokes\": [" + line + "], \"medians\": [[[100,450],[900,450]]]}"));
    ASSERT_TRUE(testing::WriteFile(package.filePath(QStringLiteral("口.json")),
                                   "{\"strokes\": [" + square + "," + line + "," + square +
                                       "], \"medians\": [[[1,9],[1,1]], [[1,9],[9,9]], [[1,1],[9,1]]]}"));
    ASSERT_TRUE(
        testing::WriteFile(package.filePath(QStringLiteral("丁.json")), "{\"strokes\": [\"M 1 2\"]}"));
    ASSERT_TRUE(testing::WriteFile(package.filePath(QStringLiteral("package.json")), "{}"));
    ASSERT_TRUE(testing::WriteFile(package.filePath(QLatin1String(kStrokeLicenseFileName)), "license text"));
    datagen::SourceData source;
    source.characters[0x4E00].strokes = 1;
    source.characters[0x53E3].strokes = 3;
    source.characters[0x4E01].strokes = 2;
    datagen::IndexContent index;
    datagen::StrokeDataStats stats;
    QString error;
    ASSERT_TRUE(datagen::WriteStrokeData(package.path(), source, out.path(), index, &error, &stats))
        << error.toStdString();
    EXPECT_EQ(stats.characters, 2);
    EXPECT_EQ(stats.strokes, 4);
    EXPECT_EQ(stats.comparedWithUnihan, 2);
    EXPECT_EQ(stats.agreeingWithUnihan, 2);
    ASSERT_EQ(stats.warnings.size(), 1);
    EXPECT_TRUE(stats.warnings[0].startsWith(QStringLiteral("丁.json left out")));
    EXPECT_EQ(testing::ReadFile(out.filePath(QLatin1String(kStrokeLicenseFileName))), "license text");
    EXPECT_TRUE(testing::ReadFile(out.filePath(QLatin1String(kStrokeFontFileName)))
                    .startsWith(QByteArray("\0\1\0\0", 4)));
    ASSERT_EQ(index.strokeOrder.size(), 1u);
    EXPECT_EQ(index.strokeOrder[0].low, 0x4E00);
    EXPECT_EQ(index.strokeOrder[0].high, 0x53E3);
    StrokeOrderBytes record;
    ASSERT_EQ(FindRecordInChunk(testing::ReadFile(out.filePath(QLatin1String(kStrokeOrderFileName))), 0x53E3,
                                record),
              3);
    const std::uint8_t expected[] = {0, kSweepTopToBottom, 1, kSweepLeftToRight, 2, kSweepLeftToRight};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), record.begin()));

    EXPECT_FALSE(datagen::WriteStrokeData(out.filePath(QStringLiteral("absent")), source, out.path(), index,
                                          &error, &stats));
}

} // namespace
} // namespace quillory::stroke
