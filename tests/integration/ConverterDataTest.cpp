// The Converter on the full data: simplified and traditional text exactly as
// the opencc command converts it, polyphones read by their words, and a long
// mixed text through HTML and back.
#include "dictionary/Dictionary.h"
#include "tests/support/ChineseCorpus.h"
#include "tests/support/QtPrinters.h"
#include "tools/convert/TextConverter.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace quillory {
namespace {

using testing::CorpusForm;
using testing::RealChineseText;

QString StorePath() {
    return QDir(QStringLiteral(QUILLORY_DATA_DIR)).filePath(Dictionary::recordStoreName());
}

class ConverterDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        store_ = new RecordStore;
        ASSERT_TRUE(store_->Open(StorePath()));
        converter_ = new TextConverter(StorePath());
    }
    static void TearDownTestSuite() {
        delete converter_;
        delete store_;
    }

    static QString Convert(const QString& text, TextKind from, TextKind to) {
        const ConversionResult result = converter_->ConvertText(text, from, to);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        return result.text;
    }

    static RecordStore* store_;
    static TextConverter* converter_;
};

RecordStore* ConverterDataTest::store_ = nullptr;
TextConverter* ConverterDataTest::converter_ = nullptr;

// What the opencc command prints for the text with a configuration.
QString OpenCcCommand(const QString& config, const QString& text) {
    QProcess process;
    process.start(QStringLiteral("opencc"), {QStringLiteral("-c"), config});
    process.write(text.toUtf8());
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(ConverterDataTest, StandardFormsAreThoseOfTheOpenCcCommand) {
    const QString simplified = RealChineseText(*store_, 200000, CorpusForm::Simplified);
    const QString traditional = RealChineseText(*store_, 200000, CorpusForm::Traditional);
    ASSERT_GE(simplified.size(), 200000);
    const QString toTraditional = Convert(simplified, TextKind::GB, TextKind::Big5);
    EXPECT_NE(toTraditional, simplified);
    EXPECT_TRUE(toTraditional == OpenCcCommand(QStringLiteral("s2t.json"), simplified));
    EXPECT_TRUE(Convert(traditional, TextKind::Big5, TextKind::GB) ==
                OpenCcCommand(QStringLiteral("t2s.json"), traditional));
}

TEST_F(ConverterDataTest, PolyphonesAreReadByTheirWords) {
    // Sentences of our own; each lists the readings its polyphones should
    // show. A character alone takes its most common reading, which is wrong
    // now and then (很长 reads zhang3): nine in ten must come out right.
    const struct {
        const char* text;
        std::vector<const char*> readings;
    } sentences[] = {
        {"我去银行取钱，路上有很多行人。", {"yin2 hang2", "xing2 ren2"}},
        {"这家银行的行长是个好人。", {"yin2 hang2", "hang2 zhang3"}},
        {"他一个人在街上行走。", {"xing2 zou3"}},
        {"这首音乐让我很快乐。", {"yin1 yue4", "kuai4 le4"}},
        {"音乐会上大家都很快乐。", {"yin1 yue4 hui4", "kuai4 le4"}},
        {"孩子长大了，想去看长城。", {"zhang3 da4", "chang2 cheng2"}},
        {"长城很长，我们走了很长时间。", {"chang2 cheng2", "chang2 shi2 jian1"}},
        {"这件事很重要。", {"zhong4 yao4"}},
        {"我们重新开始吧。", {"chong2 xin1"}},
        {"你还是去睡觉吧。", {"hai2 shi5", "shui4 jiao4"}},
        {"我觉得你说得对。", {"jue2 de5"}},
        {"他还没睡觉，我觉得他很累。", {"shui4 jiao4", "jue2 de5"}},
        {"请把书还给我。", {"huan2"}},
        {"研究生命的起源很重要。", {"yan2 jiu1", "sheng1 ming4", "zhong4 yao4"}},
        {"我和服务员说话。", {"fu2 wu4 yuan2"}},
        {"他的头发很长。", {"tou2 fa5"}},
        {"经济发展得很快。", {"fa1 zhan3"}},
        {"这个地方的空气很干燥。", {"gan1 zao4"}},
        {"我们重视教育。", {"zhong4 shi4"}},
        {"你的爱好是什么？", {"ai4 hao4"}},
        {"我为了了解情况，去了首都。", {"wei4 le5", "liao3 jie3", "shou3 du1"}},
        {"他跑得很快，得到了第一名。", {"pao3  de5", "de2 dao4"}},
        {"这个地方很好，他高兴地笑了。", {"di4 fang1", "gao1 xing4  de5"}},
        {"他正在看着我，着急地说。", {"kan4  zhe5", "zhao2 ji2"}},
        {"我们应该多种树。", {"zhong4  shu4"}},
    };
    int right = 0;
    int total = 0;
    QStringList misses;
    for (const auto& sentence : sentences) {
        const QString pinyin = Convert(QString::fromUtf8(sentence.text), TextKind::GB, TextKind::Pinyin);
        for (const char* reading : sentence.readings) {
            ++total;
            const bool found = pinyin.contains(QLatin1String(reading));
            right += found ? 1 : 0;
            if (!found) {
                misses << QString::fromUtf8(sentence.text) + QStringLiteral(" -> ") + pinyin +
                              QStringLiteral(" lacks ") + QLatin1String(reading);
            }
        }
    }
    std::printf("Polyphones read right: %d of %d\n%s\n", right, total, qPrintable(misses.join(u'\n')));
    EXPECT_GE(right * 10, total * 9) << misses.join(u'\n').toStdString();
    // Traditional text reads through its own words; Jyutping the same way.
    EXPECT_EQ(Convert(QStringLiteral("銀行行人"), TextKind::Big5, TextKind::Pinyin),
              QStringLiteral("yin2 hang2  xing2 ren2"));
    EXPECT_EQ(Convert(QStringLiteral("銀行行人"), TextKind::Big5, TextKind::Jyutping),
              QStringLiteral("ngan4 hong4  hang4 jan4"));
    EXPECT_EQ(Convert(QStringLiteral("长大 Apple 3个"), TextKind::GB, TextKind::Pinyin),
              QStringLiteral("zhang3 da4 Apple 3 ge4"));
}

TEST_F(ConverterDataTest, LongMixedTextThroughHtmlAndBackIsLossless) {
    QString mixed = RealChineseText(*store_, 300000, CorpusForm::Mixed);
    mixed += QStringLiteral("&#20013; &#x4e2d; &amp; &#; 𠀀 \t\n&");
    const QString html = Convert(mixed, TextKind::GB, TextKind::Html);
    EXPECT_FALSE(html.contains(QChar(0x4E2D)));
    EXPECT_TRUE(Convert(html, TextKind::Html, TextKind::GB) == mixed);
}

} // namespace
} // namespace quillory
