// English search on the full data: the everyday word a learner means is among
// the first three matches, and the English page lists the matches in that
// order in its usual table.
#include "dictionary/Dictionary.h"
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PageHtml.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace quillory;
using quillory::pagehtml::Hex;
using quillory::pagehtml::kBr;

namespace {

// Everyday queries and the words a learner means by them (any one will do).
const struct {
    const char* query;
    std::vector<const char*> words;
} kEverydayWords[] = {
    {"bank", {"银行"}},
    {"to study", {"学习"}},
    {"friend", {"朋友"}},
    {"train", {"火车", "列车"}},
    {"water", {"水"}},
    {"apple", {"苹果"}},
    {"computer", {"电脑", "计算机"}},
    {"hello", {"你好"}},
    {"eat", {"吃"}},
    {"to drink", {"喝"}},
    {"teacher", {"老师", "教师"}},
    {"student", {"学生"}},
    {"school", {"学校"}},
    {"mother", {"母亲", "妈妈"}},
    {"father", {"父亲", "爸爸"}},
    {"rice", {"米饭", "大米", "米"}},
    {"tea", {"茶"}},
    {"money", {"钱"}},
    {"house", {"房子", "房"}},
    {"sun", {"太阳"}},
    {"moon", {"月亮", "月"}},
    {"red", {"红", "红色"}},
    {"happy", {"高兴", "快乐"}},
    {"tomorrow", {"明天"}},
    {"yesterday", {"昨天"}},
    {"airport", {"机场"}},
    {"hospital", {"医院"}},
    {"doctor", {"医生"}},
    {"chair", {"椅子"}},
    {"telephone", {"电话"}},
    {"to buy", {"买"}},
    {"to sell", {"卖"}},
    {"to sleep", {"睡觉", "睡"}},
    {"to write", {"写"}},
    {"to read", {"读", "看", "阅读"}},
    {"to speak", {"说", "讲"}},
    {"language", {"语言"}},
    {"name", {"名字", "名"}},
    {"cheap", {"便宜"}},
    {"expensive", {"贵"}},
    {"country", {"国家"}},
    {"book", {"书"}},
    {"dog", {"狗"}},
    {"cat", {"猫"}},
    {"car", {"汽车", "车"}},
    {"love", {"爱"}},
    {"beautiful", {"美丽", "漂亮", "美"}},
    {"to like", {"喜欢"}},
    {"to want", {"要", "想"}},
    {"hot", {"热"}},
    {"cold", {"冷"}},
    {"city", {"城市"}},
    {"big", {"大"}},
    {"person", {"人"}},
    {"old", {"老", "旧"}},
    {"target", {"目标"}},
    {"wear", {"穿"}},
    {"thank you", {"谢谢"}},
    {"long", {"长"}},
    {"work", {"工作"}},
    {"time", {"时间"}},
};

class EnglishRanking : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dictionary_ = new Dictionary(QStringLiteral(QUILLORY_DATA_DIR), reporter_);
        opened_ = dictionary_->Open();
    }
    static void TearDownTestSuite() { delete dictionary_; }
    void SetUp() override { ASSERT_TRUE(opened_) << reporter_.messages.join(u'\n').toStdString(); }

    static const RecordStore& records() { return dictionary_->records(); }

    static inline RecordingReporter reporter_;
    static inline Dictionary* dictionary_ = nullptr;
    static inline bool opened_ = false;
};

TEST_F(EnglishRanking, EverydayWordsAreAmongTheFirstThree) {
    int firstPlace = 0;
    int firstThree = 0;
    for (const auto& [query, words] : kEverydayWords) {
        const std::vector<EnglishMatch> matches = records().englishMatches(QString::fromUtf8(query));
        const auto meant = [&words](const EnglishMatch& match) {
            return std::any_of(words.begin(), words.end(),
                               [&](const char* word) { return match.word == QString::fromUtf8(word); });
        };
        const auto head = matches.begin() + std::ptrdiff_t(std::min<std::size_t>(3, matches.size()));
        const auto found = std::find_if(matches.begin(), head, meant);
        firstPlace += found == matches.begin() && found != head;
        firstThree += found != head;
        QStringList shown;
        for (auto it = matches.begin(); it != head; ++it)
            shown << it->word;
        EXPECT_NE(found, head) << query << " gives " << shown.join(u' ').toStdString();
    }
    const int total = int(std::size(kEverydayWords));
    std::printf("%d queries: %d first, %d among the first three\n", total, firstPlace, firstThree);
}

// The page a plain English query shows: the query, then one line per match in
// the ranked order, each the match's characters linked and its Pinyin.
TEST_F(EnglishRanking, EnglishPageListsTheMatchesInOrderInItsTable) {
    LanguageData language(reporter_);
    language.Load(QString());
    NameRegistry names;
    RegisterLabelKeys(language, names);
    const PageBuilder builder(language, names, dictionary_->index());

    const QString query = QStringLiteral("bank");
    const std::vector<EnglishMatch> matches = records().englishMatches(query);
    ASSERT_GE(matches.size(), 3u);
    std::vector<EnglishTableEntry> entries;
    for (const EnglishMatch& match : matches)
        entries.push_back({match.word, match.pinyin});
    QString page;
    builder.MakeEnglishTable(query, entries, page);

    const QRegularExpression shape(QStringLiteral("^<table width=100%>(<tr>.*</tr>){2}</table>$"));
    EXPECT_TRUE(shape.match(page).hasMatch()) << page.left(300).toStdString();
    const QString chinese = page.mid(page.lastIndexOf(QStringLiteral("<tr>")));
    const QStringList lines = chinese.split(kBr);
    ASSERT_EQ(lines.size(), qsizetype(matches.size()));
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const QString& line = lines[qsizetype(i)];
        for (const uint code : matches[i].word.toUcs4())
            EXPECT_TRUE(line.contains(QStringLiteral("&#x") + Hex(code) + u';')) << i;
        EXPECT_TRUE(line.contains(QStringLiteral("py_green"))) << i;
    }
    EXPECT_TRUE(page.contains(QStringLiteral(">bank<")));
}

} // namespace
