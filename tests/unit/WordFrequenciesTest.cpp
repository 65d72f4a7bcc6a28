// Word frequencies: jieba's lines read, every headword and character given a
// count (a traditional form its simplified form's), and the record store's
// accessors over a written store and an older store without counts.
#include "datagen/sources/WordCountReader.h"
#include "datagen/writers/RecordRows.h"
#include "datagen/writers/RecordStoreWriter.h"
#include "dictionary/records/RecordStore.h"
#include "dictionary/records/SqliteStatement.h"
#include "tests/support/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillory;
using namespace quillory::datagen;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// 银行/銀行 and 头发/頭髮 as words; 发 and its traditional form 髮 as characters.
SourceData CountedSource() {
    SourceData data;
    for (const char* line : {"银行 7684 n", "头发 3000 n", "发 20000 v", "髮 5 n", "AT&T 3 nz", "水 24314 n",
                             "bad line", "发 100 v", "", "负 -1 x", "了 883634 ul", "瞭 41 v"}) {
        AddWordCountLine(S(line), data);
    }
    data.words.push_back({S("銀行"), S("银行"), S("yin2 hang2"), S("ngan4 hong4"), S("bank")});
    data.words.push_back({S("頭髮"), S("头发"), S("tou2 fa5"), S("tau4 faat3"), S("hair")});
    data.words.push_back({S("罕詞"), S("罕词"), S("han3 ci2"), S("hon2 ci4"), S("rare word")});
    // 瞭 is the traditional form of 了 and a simplified headword of its own.
    data.words.push_back({S("瞭"), S("了"), S("liao3"), S("liu5"), S("to understand")});
    data.words.push_back({S("瞭"), S("瞭"), S("liao4"), S("liu4"), S("to watch from a height")});
    data.characters[0x53D1].code = 0x53D1; // 发
    data.characters[0x53D1].pinyin = {"fa1", "fa4"};
    data.characters[0x9AEE].code = 0x9AEE; // 髮
    data.characters[0x9AEE].pinyin = {"fa4"};
    data.characters[0x9AEE].simplified = {0x53D1};
    return data;
}

TEST(WordFrequencies, CountsOfHeadwordsAndCharacters) {
    const SourceData data = CountedSource();
    EXPECT_EQ(data.wordCounts.size(), 8);             // the bad, empty and negative lines are skipped
    EXPECT_EQ(data.wordCounts.value(S("发")), 20000); // a word listed twice keeps the larger count
    const std::map<QByteArray, qint64> counts = BuildWordFrequencies(data);
    const std::pair<const char*, qint64> expected[] = {
        {"银行", 7684}, {"銀行", 7684}, {"头发", 3000}, {"頭髮", 3000}, {"罕词", 0},
        {"罕詞", 0},    {"发", 20000},  {"髮", 20000},  {"了", 883634}, {"瞭", 41}};
    EXPECT_EQ(counts.size(), std::size(expected)); // corpus words that are no headword stay out
    for (const auto& [word, count] : expected) {
        EXPECT_EQ(counts.count(QByteArray(word)) ? counts.at(QByteArray(word)) : -1, count) << word;
    }
}

TEST(WordFrequencies, RecordStoreAccessors) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("records.db"));
    QString error;
    ASSERT_TRUE(WriteRecordStore(CountedSource(), path, &error)) << error.toStdString();
    RecordStore store;
    ASSERT_TRUE(store.Open(path));
    EXPECT_TRUE(store.hasWordFrequencies());
    EXPECT_EQ(store.wordFrequency(S("銀行")), 7684);
    EXPECT_EQ(store.wordFrequency(S("髮")), 20000);
    EXPECT_EQ(store.wordFrequency(S("水")), 0); // no headword
    EXPECT_EQ(store.wordFrequency(QString()), 0);
    const std::vector<WordReading> words = store.wordReadings();
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[1].traditional, S("頭髮"));
    EXPECT_EQ(words[1].pinyin, S("tou2 fa5"));
    EXPECT_EQ(words[1].count, 3000);
    const std::vector<CharacterReading> characters = store.characterReadings();
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(characters[1].code, 0x9AEEu);
    EXPECT_EQ(characters[1].count, 20000);
    store.Close();

    // A store written before the counts still opens; everything counts 0.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE word_frequencies", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(store.Open(path));
    EXPECT_FALSE(store.hasWordFrequencies());
    EXPECT_EQ(store.wordFrequency(S("銀行")), 0);
    EXPECT_EQ(store.wordReadings().size(), 5u);
    EXPECT_EQ(store.characterReadings().front().count, 0);
}

} // namespace
