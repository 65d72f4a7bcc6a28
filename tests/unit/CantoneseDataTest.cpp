// The data compiler's Cantonese merge (character reading order, a word's Jyutping, the words added) and
// the rows of the reading index.
#include "datagen/sources/CantoneseMerge.h"
#include "datagen/writers/ReadingKeyRows.h"
#include "tests/support/QtPrinters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

TEST(OrderJyutpingReadings, PutsCantoneseFirstThenWeightsUnlistedAndZero) {
    const std::vector<RimeReading> hang = {{u"haang4"_s, 5}, {u"hang4"_s, 5}, {u"hang6"_s, 5},
                                           {u"hong2"_s, 3},  {u"hong4"_s, 5}, {u"hong6"_s, 0}};
    const std::vector<RimeReading> ngaak = {
        {u"aak1"_s, 3}, {u"ak1"_s, 0}, {u"ngaak1"_s, kNoRimeWeight}, {u"ngak1"_s, 0}};
    const struct {
        const char* what;
        Strings readings;
        std::string cantonese;
        std::vector<RimeReading> rime;
        Strings expected;
    } cases[] = {
        {"weights after kCantonese; equal weights keep their order; unlisted before 0 %",
         {"hang4", "hong6", "hong4", "haang2", "hang6", "hong2", "haang4"},
         "hang4",
         hang,
         {"hang4", "hong4", "hang6", "haang4", "hong2", "haang2", "hong6"}},
        {"a reading rime lists but the sources lack is added at its weight",
         {"hang4", "hong4"},
         "hang4",
         hang,
         {"hang4", "hong4", "haang4", "hang6", "hong2", "hong6"}},
        {"kCantonese weighed 0 % leads the 0 % readings; no weight counts as the ordinary reading",
         {"ak1", "ngaak1", "aak1", "ngak1", "ngaai3"},
         "ak1",
         ngaak,
         {"ngaak1", "aak1", "ngaai3", "ak1", "ngak1"}},
        {"only 0 % readings: kCantonese stays first",
         {"ak1", "ngak1"},
         "ak1",
         {{u"ngak1"_s, 0}, {u"ak1"_s, 0}},
         {"ak1", "ngak1"}},
        {"without kCantonese a 0 % reading gives way to an unlisted one",
         {"hong6", "zz1"},
         "",
         {{u"hong6"_s, 0}},
         {"zz1", "hong6"}},
        {"rime silent: order unchanged", {"b1", "a1"}, "b1", {}, {"b1", "a1"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(OrderJyutpingReadings(test.readings, test.cantonese, test.rime), test.expected)
            << test.what;
    }
}

TEST(ChooseWordJyutping, TakesRimesReadingOnlyForAChangedToneOrNone) {
    const QStringList zungman = {u"zung1 man4"_s, u"zung1 man2"_s};
    const struct {
        QString annotated;
        QStringList rime;
        QString expected;
    } cases[] = {
        {u"zung1 man2"_s, zungman, u"zung1 man2"_s}, // rime lists it
        {u"zung1 man1"_s, zungman, u"zung1 man4"_s}, // a changed tone: rime's first
        {u"zung1 man"_s, zungman, u"zung1 man4"_s},  // no tone at all differs only in tone
        {u"zung1 mun4"_s, zungman, u"zung1 mun4"_s}, // other syllables: kept
        {u"zung1"_s, zungman, u"zung1"_s},           // fewer syllables: kept
        {u""_s, zungman, u"zung1 man4 / zung1 man2"_s},
        {u"sik6 faan6"_s, {}, u"sik6 faan6"_s},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ChooseWordJyutping(test.annotated, test.rime), test.expected)
            << test.annotated.toStdString();
    }
}

SourceData SmallSource() {
    SourceData source;
    const std::pair<char32_t, const char*> pinyin[] = {
        {U'唔', "wu2"}, {U'該', "gai1"}, {U'銀', "yin2"}, {U'行', "xing2"}, {U'街', "jie1"}};
    for (const auto& [code, reading] : pinyin) {
        source.characters[code].code = code;
        source.characters[code].pinyin = {reading, "zz1"};
    }
    source.characters[U'乜'].code = U'乜'; // no Pinyin
    source.words = {{u"銀行"_s, u"银行"_s, u"yin2 hang2"_s, u"ngan4 hong4"_s, u"bank"_s},
                    {u"該"_s, u"该"_s, u"gai1"_s, u"goi1"_s, u"should"_s}};
    return source;
}

TEST(MergeCantonese, AddsCountedWordsTheDictionaryLacks) {
    SourceData source = SmallSource();
    RimeCantonese rime;
    const std::pair<QString, qint64> words[] = {{u"唔該"_s, 110343}, {u"銀行街"_s, 20}, {u"銀行"_s, 99},
                                                {u"唔"_s, 99},       {u"乜該"_s, 5},    {u"該唔該"_s, 0},
                                                {u"唔行"_s, 7},      {u"行唔"_s, 7},    {u"行該"_s, 0}};
    for (const auto& [word, count] : words) {
        rime.words.append(word);
        rime.wordReadings[word] = {u"m4 goi1"_s, u"m4 goi2"_s};
        if (count > 0) {
            rime.counts.insert(word, count);
        }
    }
    const ToSimplified toSimplified = [](const QString& text) -> std::optional<QString> {
        QString simplified = text;
        simplified.replace(u'銀', u'银').replace(u'該', u'该');
        return text == u"行唔"_s ? u"银行"_s : simplified; // a simplified form that is a headword
    };
    CantoneseStats stats;
    QString error;
    ASSERT_TRUE(MergeCantonese(rime, source, toSimplified, &error, &stats)) << error.toStdString();
    QStringList added;
    for (std::size_t i = 2; i < source.words.size(); ++i) {
        const WordSource& word = source.words[i];
        added.append(word.traditional + u'|' + word.simplified + u'|' + word.pinyin + u'|' + word.jyutping +
                     u'|' + word.english);
    }
    // 銀行 is a headword, 唔 a single character, 乜 lacks Pinyin, 該唔該 is uncounted and longer than
    // two characters, 行唔's simplified form is a headword; 銀行街 reads its headword piece as the
    // entry does; 行該 has two characters and needs no count.
    EXPECT_THAT(added, ElementsAre(u"唔該|唔该|wu2 gai1|m4 goi1 / m4 goi2|"_s,
                                   u"銀行街|银行街|yin2 hang2 jie1|m4 goi1 / m4 goi2|"_s,
                                   u"唔行|唔行|wu2 xing2|m4 goi1 / m4 goi2|"_s,
                                   u"行該|行该|xing2 gai1|m4 goi1 / m4 goi2|"_s));
    EXPECT_EQ(stats.wordsAdded, 4);
    EXPECT_EQ(source.cantoneseCounts.value(u"唔該"_s), 110343);

    QString failure;
    EXPECT_FALSE(MergeCantonese(
        rime, source = SmallSource(), [](const QString&) -> std::optional<QString> { return std::nullopt; },
        &failure));
    EXPECT_FALSE(failure.isEmpty());
}

TEST(ReadingKeyRows, OneRowPerDistinctReadingWithItsSystemsCount) {
    SourceData source;
    source.words = {{u"中文"_s, u"中文"_s, u"zhong1 wen2"_s, u"zung1 man4 / Zung1  man2 / zung1 man4"_s, {}},
                    {u"樂"_s, u"乐"_s, u"yue4"_s, u"lok6"_s, {}},
                    {u"，"_s, u"，"_s, u","_s, u""_s, {}}};
    source.wordCounts = {{u"中文"_s, 1755}, {u"樂"_s, 1}, {u"乐"_s, 4000}};
    source.cantoneseCounts = {{u"中文"_s, 15750}, {u"乐"_s, 3}};
    QStringList rows;
    for (const ReadingKeyRow& row : BuildReadingKeyRows(source)) {
        rows.append(u"%1 %2 %3 %4 %5"_s.arg(row.wordId)
                        .arg(int(row.system))
                        .arg(row.letters, row.reading)
                        .arg(row.count));
    }
    // Pinyin counts the simplified form; Jyutping the traditional form, else the simplified one.
    EXPECT_THAT(rows,
                ElementsAre(u"1 0 zhongwen zhong1 wen2 1755"_s, u"1 1 zungman zung1 man4 15750"_s,
                            u"1 1 zungman zung1 man2 15750"_s, u"2 0 yue yue4 4000"_s, u"2 1 lok lok6 3"_s));
}

} // namespace
} // namespace quillory::datagen
