// The data compiler's source readers: Unihan, CC-CEDICT, radical list, bzip2 input, to-jyutping annotator,
// rime-cantonese's tables.
#include "datagen/sources/Bzip2.h"
#include "datagen/sources/CedictReader.h"
#include "datagen/sources/JyutpingAnnotator.h"
#include "datagen/sources/RadicalFormsReader.h"
#include "datagen/sources/RimeCantoneseReader.h"
#include "datagen/sources/UnihanReader.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <bzlib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using quillory::testing::ReadFile;
using quillory::testing::WriteFile;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Strings = std::vector<std::string>;
using Codes = std::vector<std::uint32_t>;
using namespace Qt::StringLiterals;

const QString kDataDir = QStringLiteral(QUILLORY_TEST_DATA_DIR);
const QString kUnihanDir = kDataDir + QStringLiteral("/unihan");
const QString kToJyutping = QStringLiteral(QUILLORY_NPM_DIR "/to-jyutping/package");

QByteArray Compress(const QByteArray& data) {
    QByteArray out(data.size() + data.size() / 100 + 700, '\0');
    unsigned size = static_cast<unsigned>(out.size());
    EXPECT_EQ(BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(data.constData()),
                                       static_cast<unsigned>(data.size()), 9, 0, 0),
              BZ_OK);
    out.truncate(size);
    return out;
}

// A case "input=expected" split at its last "=".
std::pair<QString, QString> Case(const char16_t* text) {
    const QString both = QString::fromUtf16(text);
    const qsizetype at = both.lastIndexOf(u'=');
    return {both.left(at), both.mid(at + 1)};
}

// Pinyin marks to digits (ü as v, decomposed marks as precomposed; no one syllable: nothing), Pinyin fields
// in every Unihan form, radical-stroke values with one ASCII apostrophe, variant lists.
TEST(UnihanFields, ConvertsSplitsAndNormalisesFields) {
    for (const char16_t* text : {u"zhōng=zhong1",
                                 u"xíng=xing2",
                                 u"wǔ=wu3",
                                 u"zhòng=zhong4",
                                 u"de=de5",
                                 u"lǜ=lv4",
                                 u"nü=nv5",
                                 u"Nǚ=nv3",
                                 u"ZHŌNG=zhong1",
                                 u"ńg=ng2",
                                 u"ḿ=m2",
                                 u"ế=ê2",
                                 u"ê̄=ê1",
                                 u"lu\u0308\u0300=lv4",
                                 u"=",
                                 u"zhong1=",
                                 u"zhō ng=",
                                 u"ǎà=",
                                 u"中=",
                                 u"\u0304a="}) {
        const auto [marked, digits] = Case(text);
        EXPECT_EQ(QString::fromStdString(PinyinToToneDigits(marked)), digits) << marked.toStdString();
    }
    for (const char16_t* text : {u"zhōng zhòng=zhōng|zhòng", u"10028.100:zhōng,zhòng=zhōng|zhòng",
                                 u"1494.100:zhōng 1501.040:zhòng=zhōng|zhòng", u"092.080,092.090:fàn=fàn",
                                 u"10019.020*:tiàn,tián 10020.030:tiàn=tiàn|tián|tiàn", u"="}) {
        const auto [field, joined] = Case(text);
        const std::vector<QString> split = SplitPinyinField(field);
        EXPECT_EQ(QStringList(split.begin(), split.end()).join(u'|'), joined);
    }
    for (const char16_t* text :
         {u"2.3=2.3", u"109.7 123.5=109.7", u"168'.0=168'.0", u"168\u2019.0=168'.0", u"120''.2=120'.2",
          u"96.-1=96.-1", u"=", u".3=", u"12.=", u"'12.3=", u"12.x="}) {
        const auto [value, normalised] = Case(text);
        EXPECT_EQ(NormaliseRadicalStroke(value), normalised) << value.toStdString();
    }
    EXPECT_THAT(ParseVariantList(u"U+7BC4 U+8303", 0x8303), ElementsAre(0x7BC4u));
    EXPECT_THAT(ParseVariantList(u"U+8303", 0x8303), IsEmpty());
    EXPECT_THAT(ParseVariantList(u"U+5B78<kMatthews U+5B78 U+2A6A5", 0x5B66), ElementsAre(0x5B78u, 0x2A6A5u));
    EXPECT_THAT(ParseVariantList(u"5B78 U+ U+ZZZZ", 0x5B66), IsEmpty());
}

const SourceData& Unihan() {
    static const SourceData source = [] {
        SourceData read;
        QString error;
        EXPECT_TRUE(ReadUnihan(kUnihanDir, read, &error)) << error.toStdString();
        return read;
    }();
    return source;
}

TEST(ReadUnihan, ReadsTheIdeographRangeFromPlainOrCompressedFiles) {
    EXPECT_EQ(Unihan().characters.size(), 55u);
    for (const auto& [code, character] : Unihan().characters) {
        EXPECT_TRUE(IsDictionaryIdeograph(code));
        EXPECT_EQ(character.code, code);
    }
    EXPECT_THAT(Unihan().characters.at(U'中').definition.toStdString(), HasSubstr("middle"));
    // Code, Mandarin readings merged in field order without repeats (kMandarin, kTGHZ2013, kXHC1983,
    // kHanyuPinyin), Cantonese, the first radical-stroke and stroke count (着 "109.7 123.5", 范 "8 9"),
    // frequency, variants without the character itself (范, 着).
    using Row = std::tuple<std::uint32_t, Strings, Strings, QString, int, int, Codes, Codes>;
    const Row cases[] = {
        {U'中', {"zhong1", "zhong4"}, {"zung1"}, "2.3", 4, 1, {}, {}},
        {U'行', {"xing2", "hang2", "heng2", "hang4", "xing4"}, {"hang4"}, "144.0", 6, 2, {}, {}},
        {U'长', {"zhang3", "chang2"}, {"coeng4"}, "168'.0", 4, 2, {}, {0x9577}},
        {U'長', {"zhang3", "chang2", "zhang4"}, {"coeng4"}, "168.0", 8, 2, {0x957F}, {}},
        {U'女', {"nv3", "nv4", "ru3"}, {"neoi5"}, "38.0", 3, 2, {}, {}},
        {U'嗯', {"n2", "ng2", "ng3", "ng4", "n3", "n4"}, {"ng6"}, "30.10", 13, 3, {}, {}},
        {U'五', {"wu3"}, {"ng5"}, "7.2", 4, 2, {}, {}},
        {U'范', {"fan4"}, {"faan6"}, "140.5", 8, 5, {}, {0x7BC4}},
        {U'着', {"zhe5", "zhao1", "zhao2", "zhuo2"}, {"zoek6"}, "109.7", 11, 0, {}, {0x8457}},
        {U'纠', {"jiu1"}, {"gau2"}, "120'.2", 5, 5, {}, {0x7CFE}},
        {U'王', {"wang2", "wang4", "yu4"}, {"wong4"}, "96.-1", 4, 2, {}, {}},
    };
    for (const Row& expected : cases) {
        const CharacterSource& c = Unihan().characters.at(std::get<0>(expected));
        EXPECT_EQ(
            Row(c.code, c.pinyin, c.jyutping, c.radical, c.strokes, c.frequency, c.simplified, c.traditional),
            expected);
    }
    // The same from bzip2 files; a missing folder or file names the file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : QDir(kUnihanDir).entryList({QStringLiteral("Unihan_*.txt")}))
        ASSERT_TRUE(WriteFile(dir.filePath(name + QStringLiteral(".bz2")),
                              Compress(ReadFile(QDir(kUnihanDir).filePath(name)))));
    SourceData source;
    QString error;
    ASSERT_TRUE(ReadUnihan(dir.path(), source, &error)) << error.toStdString();
    ASSERT_EQ(source.characters.size(), Unihan().characters.size());
    for (const auto& [code, character] : Unihan().characters) {
        EXPECT_EQ(source.characters.at(code).pinyin, character.pinyin);
        EXPECT_EQ(source.characters.at(code).radical, character.radical);
    }
    EXPECT_FALSE(ReadUnihan(dir.filePath(QStringLiteral("absent")), source, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("Unihan_Readings.txt"));
    ASSERT_TRUE(QDir(dir.path()).removeRecursively() && QDir().mkpath(dir.path()));
    ASSERT_TRUE(QFile::copy(kUnihanDir + QStringLiteral("/Unihan_Readings.txt"),
                            dir.filePath(QStringLiteral("Unihan_Readings.txt"))));
    EXPECT_FALSE(ReadUnihan(dir.path(), source, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("Unihan_DictionaryLikeData.txt"));
}

// Concatenated streams read whole, truncated and corrupt data refused, plain files passed through.
TEST(Bzip2, ReadsStreamsAndFilesOfEitherName) {
    const QByteArray first(100000, 'a');
    const QByteArray second = QByteArrayLiteral("U+4E2D\tkMandarin\tzh\xC5\x8Dng\n");
    QByteArray out;
    QString error;
    ASSERT_TRUE(DecompressBzip2(Compress(first) + Compress(second), &out, &error)) << error.toStdString();
    EXPECT_EQ(out, first + second);
    const QByteArray packed = Compress(QByteArray(5000, 'x') + QByteArray("tail"));
    EXPECT_FALSE(DecompressBzip2(packed.left(packed.size() / 2), &out, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("truncated"));
    QByteArray corrupt = packed;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    EXPECT_FALSE(DecompressBzip2(corrupt, &out, &error));
    EXPECT_FALSE(DecompressBzip2(QByteArray(), &out, &error));
    QTemporaryDir dir;
    ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("a.txt")), "plain"));
    ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("b.txt.bz2")), Compress("packed")));
    ASSERT_TRUE(ReadSourceFile(FindSourceFile(dir.path(), QStringLiteral("a.txt")), &out, &error));
    EXPECT_EQ(out, "plain");
    ASSERT_TRUE(ReadSourceFile(FindSourceFile(dir.path(), QStringLiteral("b.txt")), &out, &error));
    EXPECT_EQ(out, "packed");
    EXPECT_TRUE(FindSourceFile(dir.path(), QStringLiteral("c.txt")).isEmpty());
    EXPECT_FALSE(ReadSourceFile(dir.filePath(QStringLiteral("c.txt")), &out, &error));
}

// Headwords, glosses and Pinyin (lower case, u: as v, r5 as er5, literal tokens kept); malformed lines
// refused.
TEST(CedictText, ReadsNormalisesRefusesAndMerges) {
    WordSource word;
    ASSERT_TRUE(ParseCedictLine(u"銀行 银行 [yin2 hang2] /bank/CL:家[jia1],個|个[ge4]/", &word));
    EXPECT_EQ(word.traditional, u"銀行");
    EXPECT_EQ(word.simplified, u"银行");
    EXPECT_EQ(word.english, u"bank / CL:家[jia1],個|个[ge4]");
    EXPECT_EQ(word.pinyin, u"yin2 hang2");
    EXPECT_TRUE(word.jyutping.isEmpty());
    for (const char16_t* text :
         {u"中國 中国 [Zhong1 guo2] /China/=zhong1 guo2",
          u"紅男綠女 红男绿女 [hong2 nan2 lu:4 nu:3] /young/=hong2 nan2 lv4 nv3",
          u"呂 吕 [Lu:3] /surname Lü/=lv3",
          u"一下兒 一下儿 [yi1 xia4 r5] /erhua of 一下[yi1 xia4]/=yi1 xia4 er5",
          u"3C 3C [san1 C] /computers/=san1 C", u"11區 11区 [11 Qu1] /Japan/=11 qu1",
          u"卡拉OK 卡拉OK [ka3 la1 O K] /karaoke/=ka3 la1 O K",
          u"亞當·斯密 亚当·斯密 [Ya4 dang1 · Si1 mi4] /Adam Smith/=ya4 dang1 · si1 mi4",
          u"一不做，二不休 一不做，二不休 [yi1 bu4 zuo4 , er4 bu4 xiu1] /idiom/=yi1 bu4 zuo4 , er4 bu4 xiu1",
          u"々 々 [xx5] /iteration mark/=xx5"}) {
        const auto [line, pinyin] = Case(text);
        ASSERT_TRUE(ParseCedictLine(line, &word)) << line.toStdString();
        EXPECT_EQ(word.pinyin, pinyin);
    }
    for (const char16_t* line :
         {u"", u"# CC-CEDICT", u"中 中 zhong1 /middle/", u"中 中 [zhong1 /middle/", u"中 中 [zhong1] middle",
          u"中 中 [zhong1] /middle", u"中 [zhong1] /middle/", u"中 中 [zhong1] //"})
        EXPECT_FALSE(ParseCedictLine(line, &word)) << QString::fromUtf16(line).toStdString();
    // A whole text: the header kept, single-character entries merged into the characters.
    SourceData source;
    CharacterSource& zhong = source.characters[U'中'];
    zhong.code = U'中';
    zhong.pinyin = {"zhong1"};
    AddCedictText(
        u"# CC-CEDICT\n#! license=cc-by-sa\n中 中 [Zhong1] /China/surname Zhong/\n中 中 [zhong4] /to hit/\n"
        u"not an entry\n# a comment later on\n兒 儿 [er2] /child/\n兒 儿 [r5] /suffix/child/\n"
        u"中國 中国 [Zhong1 guo2] /China/\n",
        source);
    EXPECT_EQ(source.cedictHeader, u"# CC-CEDICT\n#! license=cc-by-sa");
    ASSERT_EQ(source.words.size(), 5u);
    EXPECT_EQ(source.words.back().simplified, u"中国");
    EXPECT_EQ(zhong.pinyin, (Strings{"zhong1", "zhong4"}));
    EXPECT_EQ(zhong.cedictEnglish, u"China / surname Zhong / to hit");
    // Both headword forms get the entry; repeated glosses are kept once.
    EXPECT_EQ(source.characters.at(U'儿').pinyin, (Strings{"er2", "er5"}));
    EXPECT_EQ(source.characters.at(U'兒').pinyin, (Strings{"er2", "er5"}));
    EXPECT_EQ(source.characters.at(U'儿').cedictEnglish, u"child / suffix");
    EXPECT_EQ(source.characters.count(U'国'), 0u);
}

TEST(ReadCedict, ReadsTheTextOfAJavaScriptModule) {
    QTemporaryDir dir;
    const QByteArray plain = ReadFile(kDataDir + QStringLiteral("/cedict_ts.u8"));
    const QString js = dir.filePath(QStringLiteral("cedict_ts.u8.js"));
    ASSERT_TRUE(WriteFile(js, "module.exports = `" + plain + "`;\n"));
    SourceData fromJs, fromPlain;
    QString error;
    CedictStats stats;
    ASSERT_TRUE(ReadCedict(js, fromJs, &error, &stats)) << error.toStdString();
    ASSERT_TRUE(ReadCedict(kDataDir + QStringLiteral("/cedict_ts.u8"), fromPlain, &error));
    EXPECT_EQ(fromJs.words.size(), fromPlain.words.size());
    EXPECT_EQ(stats.entries, static_cast<int>(fromJs.words.size()));
    EXPECT_EQ(stats.skippedLines, 0);
    EXPECT_TRUE(fromJs.cedictHeader.startsWith(u"# CC-CEDICT"));
    EXPECT_TRUE(fromJs.cedictHeader.contains(u"creativecommons.org"));
    EXPECT_EQ(fromJs.characters.at(U'行').pinyin, (Strings{"hang2", "heng2", "xing2"}));
    const QString broken = dir.filePath(QStringLiteral("broken.js"));
    ASSERT_TRUE(WriteFile(broken, "module.exports = 'no text';\n"));
    EXPECT_FALSE(ReadCedict(broken, fromJs, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("backticks"));
}

// The unified ideograph is the radical's form; the radical character stands in only without one.
TEST(RadicalForms, ReadsKeysAndIdeographsOfLinesAndTheFile) {
    SourceData source;
    for (const char16_t* line : {u"120'; 2EB0; 7E9F", u"2; 2F01; 4E28\r", u"999; ; 4E00", u"998; 2EA0; "})
        EXPECT_TRUE(AddRadicalFormsLine(line, source)) << QString::fromUtf16(line).toStdString();
    for (const char16_t* refused : {u"# 1; 2F00; 4E00", u"", u"x; 2F00; 4E00", u"5; 2F0Z; 4E00", u"7; ;"})
        EXPECT_FALSE(AddRadicalFormsLine(refused, source)) << QString::fromUtf16(refused).toStdString();
    EXPECT_EQ(source.radicalForms,
              (std::map<QString, Codes>{
                  {"120'", {0x7E9F}}, {"2", {0x4E28}}, {"999", {0x4E00}}, {"998", {0x2EA0}}}));
    EXPECT_TRUE(IsRadicalCharacter(0x2E80) && IsRadicalCharacter(0x2FD5));
    EXPECT_FALSE(IsRadicalCharacter(0x2E7F) || IsRadicalCharacter(0x2FE0) || IsRadicalCharacter(0x4E00));
    SourceData file;
    QString error;
    ASSERT_TRUE(ReadRadicalForms(kDataDir + QStringLiteral("/CJKRadicals.txt"), file, &error))
        << error.toStdString();
    EXPECT_THAT(file.radicalForms.at(QStringLiteral("168'")), ElementsAre(0x957Fu));
    EXPECT_THAT(file.radicalForms.at(QStringLiteral("168")), ElementsAre(0x9577u));
    for (const auto& [key, forms] : file.radicalForms)
        for (const std::uint32_t form : forms)
            EXPECT_FALSE(IsRadicalCharacter(form)) << key.toStdString();
    EXPECT_FALSE(ReadRadicalForms(kDataDir + QStringLiteral("/absent.txt"), file, &error));
}

// A missing module, a missing node, a file that is no module (node's message passed on).
TEST(QueryJyutping, FailsClearlyWithoutNodeOrModule) {
    QTemporaryDir dir;
    const QString bogus = dir.filePath(QStringLiteral("index.cjs"));
    ASSERT_TRUE(WriteFile(bogus, "this is not javascript("));
    const std::tuple<QString, QString, const char*> cases[] = {
        {kDataDir + QStringLiteral("/absent-package"), {}, "to-jyutping module was not found"},
        {kToJyutping, QStringLiteral("/nonexistent/bin/node"), "node"},
        {bogus, {}, "cannot load"}};
    for (const auto& [moduleDir, node, message] : cases) {
        JyutpingAnswers answers;
        QString error;
        EXPECT_FALSE(QueryJyutping({moduleDir, {}, node}, {{QStringLiteral("中")}, {}}, &answers, &error))
            << message;
        EXPECT_THAT(error.toStdString(), HasSubstr(message));
    }
}

TEST(AnnotateJyutping, FillsWordsAndAppendsCandidatesAfterCantonese) {
    SourceData source;
    CharacterSource& hang = source.characters[U'行'];
    hang.code = U'行';
    hang.jyutping = {"hang4"};
    source.characters[U'五'].code = U'五'; // no Cantonese reading of its own
    source.words = {{"銀行", "银行", "yin2 hang2", {}, {}},
                    {"行", "行", "xing2", {}, {}},
                    {"行", "行", "hang2", {}, {}},
                    {"3C", "3C", "san1 C", {}, {}},
                    {}};
    QString error;
    JyutpingStats stats;
    ASSERT_TRUE(AnnotateJyutping({kToJyutping, {}, {}}, source, &error, &stats)) << error.toStdString();
    EXPECT_EQ(source.words[0].jyutping, u"ngan4 hong4");
    EXPECT_FALSE(source.words[1].jyutping.isEmpty());
    EXPECT_EQ(source.words[1].jyutping, source.words[2].jyutping);
    EXPECT_FALSE(source.words[3].jyutping.contains(u'C')); // letters without a reading are left out
    EXPECT_EQ(source.words[4].jyutping, u"");
    EXPECT_EQ(stats.wordsRead, 3); // words that received a syllable
    ASSERT_GE(hang.jyutping.size(), 3u);
    EXPECT_EQ(hang.jyutping.front(), "hang4");
    EXPECT_EQ(std::count(hang.jyutping.begin(), hang.jyutping.end(), "hang4"), 1);
    EXPECT_THAT(hang.jyutping, Contains("hong4"));
    EXPECT_THAT(source.characters[U'五'].jyutping, Contains("ng5"));
    EXPECT_EQ(stats.candidatesAdded,
              static_cast<int>(hang.jyutping.size() - 1 + source.characters[U'五'].jyutping.size()));
}

// The YAML header (its own "#" and "---" lines included) is skipped up to "..."; comments, blank lines
// and malformed entries are not entries; weights are read with or without "%"; a repeated reading and
// a reading of two syllables are not kept; a word's readings keep their order.
TEST(RimeCantonese, ReadsTablesAfterTheirHeader) {
    QTemporaryDir dir;
    const QByteArray header = "# Rime dictionary\n---\nname: test\nsort: by_weight\n...\n\n";
    ASSERT_TRUE(WriteFile(dir.filePath(QLatin1String(kRimeWordsFile)),
                          header + "# a comment\n唔該\tm4 goi1\n中文\tzung1 man4\n中文\tzung1 man2\n"
                                   "中文\tzung1 man4\n壞行\tWaai6\n冇\n\n食飯\tsik6 faan6\n"));
    ASSERT_TRUE(WriteFile(dir.filePath(QLatin1String(kRimeCharactersFile)),
                          header + "行\thaang4\t5%\n行\thong6\t0%\n行\thang4\n行\thang4\t3%\n"
                                   "卅\tsaa1 aa6\t5%\n行\thong2\t3\n行\thong4\tmany%\n"));
    ASSERT_TRUE(WriteFile(dir.filePath(QLatin1String(kCantoneseCountsFile)),
                          "唔該\t110343\n食飯\t48586\n唔該\t12\n壞\t-3\n中文\n"));
    RimeCantonese rime;
    RimeStats stats;
    QString error;
    ASSERT_TRUE(ReadRimeCantonese(dir.path(), rime, &error, &stats)) << error.toStdString();

    EXPECT_EQ(rime.words, QStringList({u"唔該"_s, u"中文"_s, u"食飯"_s}));
    EXPECT_EQ(rime.wordReadings.value(u"中文"_s), QStringList({u"zung1 man4"_s, u"zung1 man2"_s}));
    const std::vector<RimeReading>& hang = rime.characters[U'行'];
    std::vector<std::pair<QString, double>> readings;
    for (const RimeReading& reading : hang) {
        readings.emplace_back(reading.jyutping, reading.weight);
    }
    EXPECT_THAT(readings, ElementsAre(std::pair(u"haang4"_s, 5.0), std::pair(u"hong6"_s, 0.0),
                                      std::pair(u"hang4"_s, kNoRimeWeight), std::pair(u"hong2"_s, 3.0)));
    EXPECT_EQ(rime.characters.count(U'卅'), 0u);
    EXPECT_EQ(rime.counts.value(u"唔該"_s), 110343);
    EXPECT_EQ(rime.counts.value(u"食飯"_s), 48586);
    EXPECT_FALSE(rime.counts.contains(u"壞"_s));
    EXPECT_EQ(stats.wordLines, 5);
    EXPECT_EQ(stats.characterLines, 6);
    EXPECT_EQ(stats.countLines, 3);
    EXPECT_EQ(stats.skippedLines, 5); // 壞行 Waai6, 冇, hong4 many%, 壞 -3, 中文 without a count
}

TEST(RimeCantonese, FailsOnAMissingFileOrHeaderEnd) {
    QTemporaryDir dir;
    const QString words = dir.filePath(QLatin1String(kRimeWordsFile));
    RimeCantonese rime;
    RimeStats stats;
    QString error;
    EXPECT_FALSE(ReadRimeWords(words, rime, &error, &stats));
    EXPECT_THAT(error.toStdString(), HasSubstr("cannot read"));
    ASSERT_TRUE(WriteFile(words, "---\nname: test\n唔該\tm4 goi1\n"));
    EXPECT_FALSE(ReadRimeWords(words, rime, &error, &stats));
    EXPECT_THAT(error.toStdString(), HasSubstr("no end of its header"));
    EXPECT_TRUE(rime.words.isEmpty());
}

} // namespace
} // namespace quillory::datagen
