// What the search box finds and suggests, over a small store written by the
// data compiler's writer: romanised queries typed any way, ranking within a
// reading system, English, Chinese text and code points.
#include "dictionary/search/Lookup.h"
#include "datagen/writers/RecordStoreWriter.h"
#include "dictionary/records/RecordStore.h"
#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace quillory;
using namespace quillory::datagen;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Each word: traditional, simplified, Pinyin, Jyutping, English, word count,
// Cantonese count.
SourceData SmallSource() {
    const struct {
        const char *traditional, *simplified, *pinyin, *jyutping, *english;
        qint64 count, cantonese;
    } words[] = {
        {"中", "中", "zhong1", "zung1", "middle / China", 100000, 0},
        {"中文", "中文", "zhong1 wen2", "zung1 man4", "Chinese language", 1755, 0},
        {"現", "现", "xian4", "jin6", "now", 9000, 0},
        {"先", "先", "xian1", "sin1", "first", 5000, 0},
        {"西安", "西安", "xi1 an1", "sai1 on1", "capital of Shaanxi", 6000, 0},
        {"方案", "方案", "fang1 an4", "fong1 on3", "plan", 800, 0},
        {"反感", "反感", "fan3 gan3", "faan2 gam2", "disgust", 300, 0},
        {"飯", "饭", "fan4", "faan6", "rice / meal", 2000, 0},
        {"風扇", "风扇", "feng1 shan4", "fung1 sin3", "electric fan", 200, 0},
        {"你好", "你好", "ni3 hao3", "nei5 hou2", "hello / hi", 3000, 500},
        {"旅遊", "旅游", "lv3 you2", "leoi5 jau4", "trip / to travel", 1000, 0},
        {"水", "水", "shui3", "seoi2", "water", 8000, 0},
        {"唔該", "唔该", "m2 gai1", "m4 goi1", "", 0, 110343},
        {"媽媽", "妈妈", "ma1 ma5", "maa4 maa1", "mom", 700, 0},
        {"好些", "好些", "hao3 xie1", "hou2 se1", "a good deal of", 900, 0},
        {"房", "房", "fang2", "fong4", "house / room", 600, 0},
    };
    SourceData d;
    for (const auto& w : words) {
        d.words.push_back({S(w.traditional), S(w.simplified), S(w.pinyin), S(w.jyutping), S(w.english)});
        if (w.count > 0)
            d.wordCounts.insert(S(w.simplified), w.count);
        if (w.cantonese > 0)
            d.cantoneseCounts.insert(S(w.traditional), w.cantonese);
    }
    // 乙 has a character record and no dictionary entry.
    CharacterSource yi;
    yi.code = 0x4E59;
    yi.pinyin = {"yi3"};
    yi.jyutping = {"jyut3"};
    yi.strokes = 1;
    yi.radical = S("5.0");
    yi.definition = S("second");
    d.characters[yi.code] = yi;
    d.cedictHeader = S("# test header");
    return d;
}

std::vector<QString> Words(const std::vector<LookupMatch>& matches) {
    std::vector<QString> words;
    for (const LookupMatch& m : matches)
        words.push_back(m.word);
    return words;
}

std::vector<QString> Words(const std::vector<Suggestion>& suggestions) {
    std::vector<QString> words;
    for (const Suggestion& s : suggestions)
        words.push_back(s.word);
    return words;
}

std::vector<QString> List(std::initializer_list<const char*> utf8) {
    std::vector<QString> list;
    for (const char* text : utf8)
        list.push_back(S(text));
    return list;
}

class LookupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        QString error;
        ASSERT_TRUE(WriteRecordStore(SmallSource(), path(), &error)) << error.toStdString();
    }
    static void TearDownTestSuite() { delete dir_; }
    static QString path() { return dir_->filePath(QStringLiteral("records.db")); }

    void SetUp() override {
        ASSERT_TRUE(store_.Open(path())) << store_.openError().toStdString();
        store_.setFaults(&faults_);
        lookup_ = std::make_unique<Lookup>(store_);
    }
    void TearDown() override { EXPECT_EQ(faults_.count(), 0) << faults_.first().toStdString(); }

    static inline QTemporaryDir* dir_ = nullptr;
    RecordStore store_;
    DataFaults faults_;
    std::unique_ptr<Lookup> lookup_;
};

// Romanised queries typed any way: their kind and every match in order
// (exact tones first, then more common, then fewer syllables).
TEST_F(LookupTest, RomanisedQueriesFindTheirWordsInOrder) {
    const struct {
        const char* query;
        LookupKind kind;
        std::vector<QString> words;
    } cases[] = {
        {"zhongwen", LookupKind::Pinyin, List({"中文"})},
        {"Zhōngwén", LookupKind::Pinyin, List({"中文"})},
        {"zhong1 wen2", LookupKind::Pinyin, List({"中文"})},
        {"ni3hao3", LookupKind::Pinyin, List({"你好"})},
        {"lǚyóu", LookupKind::Pinyin, List({"旅游"})},
        {"lvyou", LookupKind::Pinyin, List({"旅游"})},
        {"lu:3you2", LookupKind::Pinyin, List({"旅游"})},
        {"xian", LookupKind::Pinyin, List({"现", "西安", "先"})},
        // The exact tone match leads the more common toneless one.
        {"xian1", LookupKind::Pinyin, List({"先", "西安"})},
        {"xi'an", LookupKind::Pinyin, List({"西安"})},
        {"fangan", LookupKind::Pinyin, List({"方案", "反感"})},
        {"māma", LookupKind::Pinyin, List({"妈妈"})},
        {"nei5 hou2", LookupKind::Jyutping, List({"你好"})},
        {"m4 goi1", LookupKind::Jyutping, List({"唔该"})},
        {"mgoi", LookupKind::Jyutping, List({"唔该"})},
        // Toneless Jyutping that is also Pinyin only when nothing else is found.
        {"neihou", LookupKind::Jyutping, List({"你好"})},
        {"house", LookupKind::English, List({"房"})},
        {"water", LookupKind::English, List({"水"})},
        {"hello", LookupKind::English, List({"你好"})},
        {"fan", LookupKind::Mixed, List({"饭", "风扇"})},
        {"ni3hao4", LookupKind::Pinyin, {}},
        {"xyzzy", LookupKind::English, {}},
        {"sik6 faan", LookupKind::Jyutping, {}},
    };
    for (const auto& c : cases) {
        const LookupResult result = lookup_->Find(S(c.query));
        EXPECT_EQ(result.kind, c.kind) << c.query;
        EXPECT_THAT(Words(result.all()), ElementsAreArray(c.words)) << c.query;
    }
}

TEST_F(LookupTest, MatchesCarryTheEntryAndTheirSections) {
    const LookupResult fan = lookup_->Find(S(" fan "));
    EXPECT_EQ(fan.query, S("fan"));
    ASSERT_EQ(fan.readings.size(), 1u);
    EXPECT_EQ(fan.readings[0].system, ReadingSystem::Pinyin);
    EXPECT_EQ(fan.readings[0].syllable, S("fan"));
    // English matches take the forms and Jyutping of their entries.
    ASSERT_EQ(fan.english.size(), 1u);
    const LookupMatch& fanEntry = fan.english[0];
    EXPECT_EQ(QStringList({fanEntry.word, fanEntry.traditional, fanEntry.pinyin, fanEntry.jyutping}),
              QStringList({S("风扇"), S("風扇"), S("feng1 shan4"), S("fung1 sin3")}));

    const LookupResult cantonese = lookup_->Find(S("nei5hou2"));
    ASSERT_EQ(cantonese.readings.size(), 1u);
    EXPECT_EQ(cantonese.readings[0].system, ReadingSystem::Jyutping);
    EXPECT_EQ(cantonese.readings[0].matches[0].count, 500);
    EXPECT_TRUE(cantonese.readings[0].syllable.isEmpty());

    const LookupResult zhong = lookup_->Find(S("zung1"));
    ASSERT_EQ(zhong.readings.size(), 1u);
    EXPECT_EQ(zhong.readings[0].syllable, S("zung"));
    EXPECT_EQ(Words(zhong.readings[0].matches), List({"中"}));
}

// Chinese text and code points give the entry itself; a character without
// entry its record.
TEST_F(LookupTest, ChineseTextAndCodePointsGiveTheEntry) {
    const struct {
        const char* query;
        LookupKind kind;
        const char* word;
        const char* pinyin;
    } cases[] = {{"中文", LookupKind::Chinese, "中文", "zhong1 wen2"},
                 {"媽媽", LookupKind::Chinese, "妈妈", "ma1 ma5"},
                 {"4e2d", LookupKind::Hex, "中", "zhong1"},
                 {"4E59", LookupKind::Hex, "乙", "yi3"}};
    for (const auto& c : cases) {
        const LookupResult result = lookup_->Find(S(c.query));
        EXPECT_EQ(result.kind, c.kind) << c.query;
        const std::vector<LookupMatch> all = result.all();
        ASSERT_EQ(all.size(), 1u) << c.query;
        EXPECT_EQ(all[0].word, S(c.word));
        EXPECT_EQ(all[0].pinyin, S(c.pinyin));
    }
    EXPECT_TRUE(lookup_->Find(S("乙乙")).all().empty());
}

TEST_F(LookupTest, SuggestionsFollowThePrefixMostCommonFirst) {
    const struct {
        const char* prefix;
        int limit;
        std::vector<QString> words;
    } cases[] = {
        {"xi", 10, List({"现", "西安", "先"})}, {"xi", 2, List({"现", "西安"})},
        {"zhong1w", 10, List({"中文"})},        {"zhong4", 10, {}},
        {"中", 10, List({"中", "中文"})},       {"wat", 10, List({"水"})},
        {"nei5 h", 10, List({"你好"})},         {"", 10, {}},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(Words(lookup_->Suggest(S(c.prefix), c.limit)), ElementsAreArray(c.words)) << c.prefix;
    }
    const std::vector<Suggestion> fan = lookup_->Suggest(S("fan4"));
    ASSERT_EQ(fan.size(), 1u);
    EXPECT_EQ(fan[0].reading, S("fan4"));
    EXPECT_EQ(fan[0].gloss, S("rice"));
}

// A store written before the reading index still answers Chinese text and
// English; romanised queries find no reading, and nothing counts as damage.
TEST_F(LookupTest, StoreWithoutReadingIndexAnswersTheRest) {
    QTemporaryDir dir;
    const QString older = dir.filePath(QStringLiteral("records.db"));
    ASSERT_TRUE(QFile::copy(path(), older));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(older.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DROP TABLE reading_keys", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    RecordStore store;
    ASSERT_TRUE(store.Open(older));
    store.setFaults(&faults_);
    const Lookup lookup(store);
    EXPECT_TRUE(lookup.Find(S("zhongwen")).readings.empty());
    EXPECT_EQ(Words(lookup.Find(S("中文")).all()), List({"中文"}));
    EXPECT_EQ(Words(lookup.Find(S("water")).all()), List({"水"}));
    EXPECT_TRUE(lookup.Suggest(S("zhong")).empty());
}

} // namespace
