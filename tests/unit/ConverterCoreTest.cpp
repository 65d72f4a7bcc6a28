// The Converter's rules without the dictionary: kinds, arrows and title,
// HTML references, the conversion table, and reading by the most probable
// words over a small word list.
#include "tests/support/QtPrinters.h"
#include "tools/convert/HtmlReferences.h"
#include "tools/convert/ReadingWriter.h"
#include "tools/convert/TextConverter.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using enum TextKind;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(ConverterKinds, NamesArrowsAndTitles) {
    EXPECT_EQ(KindName(7), "Unknown");
    EXPECT_EQ(KindName(0), "Unknown");
    EXPECT_EQ(ConverterTitle(GB, Html), "Tessaravin - Quillory - Converter - GB <-> HTML");
    const struct {
        TextKind upper, lower;
        bool down, up;
        const char* titleEnd;
    } cases[] = {{Pinyin, GB, false, true, "Pinyin <- GB"},
                 {Html, Jyutping, false, true, "HTML <- Jyutping"},
                 {Pinyin, Html, true, false, "Pinyin -> HTML"},
                 {Html, Pinyin, false, true, "HTML <- Pinyin"},
                 {Pinyin, Jyutping, false, false, "Pinyin - Jyutping"},
                 {Jyutping, Jyutping, true, true, "Jyutping <-> Jyutping"},
                 {Big5, GB, true, true, "Big5 <-> GB"},
                 {Html, Big5, true, true, "HTML <-> Big5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ArrowsFor(c.upper, c.lower), (ArrowStates{c.down, c.up})) << c.titleEnd;
        EXPECT_TRUE(ConverterTitle(c.upper, c.lower).endsWith(U(c.titleEnd))) << c.titleEnd;
    }
    // For every pair the arrow rules agree with the conversion table.
    for (const TextKind upper : kAllTextKinds) {
        for (const TextKind lower : kAllTextKinds) {
            const ArrowStates arrows = ArrowsFor(upper, lower);
            EXPECT_EQ(arrows.down, IsOffered(upper, lower))
                << KindName(upper).toStdString() << KindName(lower).toStdString();
            EXPECT_EQ(arrows.up, IsOffered(lower, upper))
                << KindName(upper).toStdString() << KindName(lower).toStdString();
        }
    }
    EXPECT_EQ(KindFromOption("BIG5"), Big5);
    EXPECT_FALSE(KindFromOption("big"));
}

TEST(HtmlReferences, EncodeDecodeAndPinyin) {
    const std::pair<const char*, const char*> encoded[] = {{"中文", "&#x4e2d;&#x6587;"},
                                                           {"a中 b", "a&#x4e2d; b"},
                                                           {"&#20013;", "&#38;#20013;"},
                                                           {"龥", "&#x9fa5;"},
                                                           {"𠀀 ü", "𠀀 ü"}};
    EXPECT_EQ(EncodeHtml(U("龦")), U("龦")); // U+9FA6 lies past the range
    for (const auto& [text, html] : encoded) {
        EXPECT_EQ(EncodeHtml(U(text)), U(html)) << text;
        EXPECT_EQ(DecodeHtml(U(html)), U(text)) << html;
    }
    const std::pair<const char*, const char*> decoded[] = {
        {"&#20013;", "中"},
        {"&#x4E2D;", "中"},
        {"&#X4e2d;x", "中x"},
        {"&#x4G2D;", "&#x4G2D;"},
        {"&amp;", "&amp;"},
        {"a&", "a&"},
        {"&", "&"},
        {"&#", "&#"},
        {"&#;", "&#;"},
        {"&#x;", "&#x;"},
        {"&#12a;", "&#12a;"},
        {"&#x20000;", "𠀀"},
        {"&#131072;", "𠀀"},
        {"&#x110000;", "&#x110000;"},
        {"&#99999999999999999999;", "&#99999999999999999999;"},
        {"&#xD800;", "&#xD800;"},
        {"&#0;", "&#0;"},
        {"&#x4e2d &#x6587;", "&#x4e2d 文"},
        {"&&#20013;", "&中"},
        {"&#&#20013;", "&#中"},
        {"&#x4e2d", "&#x4e2d"}};
    for (const auto& [html, text] : decoded) {
        EXPECT_EQ(DecodeHtml(U(html)), U(text)) << html;
    }
    const std::pair<const char*, const char*> pinyin[] = {{"ni3 hao3", "n&#464; h&#462;o"},
                                                          {"liu4 xiong2", "li&#249; xi&#243;ng"},
                                                          {"lv4 ma5", "l&#476; ma"},
                                                          {"ng2 中", "&#324;g &#20013;"},
                                                          {"a 𠀀", "a &#131072;"}};
    for (const auto& [text, html] : pinyin) {
        EXPECT_EQ(PinyinToHtml(U(text)), U(html)) << text;
    }
}

TEST(ConvertText, TableWithoutTheDictionary) {
    TextConverter converter(QStringLiteral("/nonexistent/records.db"));
    const struct {
        TextKind from, to;
        const char *text, *result;
    } cases[] = {{GB, Html, "中文", "&#x4e2d;&#x6587;"},
                 {Big5, Html, "中文", "&#x4e2d;&#x6587;"},
                 {Html, GB, "&#x4e2d;&#x6587;", "中文"},
                 {Html, Big5, "&#20013;", "中"},
                 {Pinyin, Html, "ni3 hao3", "n&#464; h&#462;o"},
                 {Jyutping, Html, "nei5 hou2", "nei5 hou2"},
                 {Pinyin, Pinyin, "ni3", "ni3"},
                 {Html, Html, "&#20013;", "&#20013;"},
                 {GB, Big5, "头发 发展 干燥 后面", "頭髮 發展 乾燥 後面"},
                 {Big5, GB, "頭髮 發展 乾燥 後面", "头发 发展 干燥 后面"}};
    for (const auto& c : cases) {
        const ConversionResult result = converter.ConvertText(U(c.text), c.from, c.to);
        EXPECT_TRUE(result.ok()) << c.text << " " << result.error.toStdString();
        EXPECT_EQ(result.text, U(c.result)) << c.text;
    }
    for (const auto& [from, to] :
         {std::pair{Pinyin, GB}, {Html, Pinyin}, {Jyutping, Pinyin}, {Html, Jyutping}}) {
        EXPECT_FALSE(converter.ConvertText(U("x"), from, to).ok())
            << KindName(from).toStdString() << KindName(to).toStdString();
    }
    // Readings need the record store; without it the failure says so.
    const ConversionResult readings = converter.ConvertText(U("中文"), GB, Pinyin);
    EXPECT_FALSE(readings.ok());
    EXPECT_TRUE(readings.error.contains(QStringLiteral("/nonexistent/records.db")));
    // A zero character does not cut the text short.
    const QString withZero = U("头发") + QChar(0) + U("头发");
    EXPECT_EQ(converter.ConvertText(withZero, GB, Big5).text, U("頭髮") + QChar(0) + U("頭髮"));
    // The Taiwan and Hong Kong forms differ from the standard ones.
    EXPECT_EQ(converter.ConvertText(U("着"), GB, Big5, ChineseVariant::Taiwan).text, U("著"));
    EXPECT_EQ(converter.ConvertText(U("裏面"), Big5, GB, ChineseVariant::Taiwan).text, U("里面"));
}

// A word list in which the longest word first would read wrongly.
ReadingLexicon SmallLexicon() {
    const auto word = [](const char* simplified, const char* traditional, const char* pinyin, qint64 count,
                         const char* english = "x") {
        return WordReading{U(simplified), U(traditional), U(pinyin), U(pinyin), U(english), count};
    };
    const std::vector<WordReading> words = {
        word("研究", "研究", "yan2 jiu1", 20000),   word("研究生", "研究生", "yan2 jiu1 sheng1", 3000),
        word("生命", "生命", "sheng1 ming4", 9000), word("和服", "和服", "he2 fu2", 200),
        word("服务", "服務", "fu2 wu4", 30000),     word("银行", "銀行", "yin2 hang2", 7684),
        word("行人", "行人", "xing2 ren2", 979),    word("行", "行", "hang2", 1, "surname Hang"),
        word("头发", "頭髮", "tou2 fa5", 3000),     word("发", "髮", "fa4", 100)};
    std::vector<CharacterReading> characters;
    for (const char* line : {"研 yan2 1000", "究 jiu1 1000", "生 sheng1 50000", "命 ming4 5000",
                             "和 he2 100000", "服 fu2 3000", "务 wu4 2000", "银 yin2 800", "行 xing2 60000",
                             "人 ren2 90000", "头 tou2 9000", "发 fa1 20000", "髮 fa4 10", "頭 tou2 10",
                             // a corpus of realistic size: common characters stay cheaper than rare words
                             "的 de5 60000000"}) {
        const QStringList parts = U(line).split(u' ');
        characters.push_back({parts[0].toUcs4().front(), parts[1], parts[1], parts[2].toLongLong()});
    }
    ReadingLexicon lexicon;
    lexicon.Build(words, characters);
    return lexicon;
}

TEST(ReadingWriter, MostProbableWordsAndTheOutputRule) {
    const ReadingLexicon lexicon = SmallLexicon();
    const struct {
        const char* text;
        bool traditional;
        const char* readings;
    } cases[] = {{"研究生命", false, "yan2 jiu1  sheng1 ming4"},
                 {"和服务", false, "he2  fu2 wu4"},
                 {"银行行人", false, "yin2 hang2  xing2 ren2"},
                 {"行", false, "xing2"}, // a character alone: its most common reading, not an entry's
                 {"头发", false, "tou2 fa5"},
                 {"頭髮", true, "tou2 fa5"},
                 {"研究abc生命1", false, "yan2 jiu1 abc sheng1 ming4 1"},
                 {"生命，研究。", false, "sheng1 ming4，yan2 jiu1。"},
                 {"Hi 𠀀生", false, "Hi 𠀀 sheng1"}, // an unknown character stays
                 {"", false, ""}};
    for (const auto& c : cases) {
        ReadingRequest request;
        request.traditional = c.traditional;
        EXPECT_EQ(WriteReadings(U(c.text), request, lexicon), U(c.readings)) << c.text;
    }
    // Traditional text matched through its simplified form: 頭發 is no headword.
    ReadingRequest request;
    request.traditional = true;
    const QString simplified = U("头发");
    request.simplified = simplified;
    EXPECT_EQ(WriteReadings(U("頭發"), request, lexicon), U("tou2 fa5"));
}

} // namespace
} // namespace quillory
