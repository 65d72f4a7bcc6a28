#include "dictionary/text/GbkCodec.h"

#include <gtest/gtest.h>

using namespace quillory;

TEST(GbkCodec, RoundTripsChineseAndAscii) {
    const QString text = QStringLiteral("中文 zhong1 學習 [lü]");
    const auto bytes = EncodeGbk(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->left(2), QByteArray("\xD6\xD0")); // 中 in GBK
    EXPECT_EQ(DecodeGbk(*bytes), text);
}

TEST(GbkCodec, InvalidInputIsRefusedOrReplaced) {
    // A lead byte with no trail byte, and a lead byte followed by a control byte.
    EXPECT_FALSE(DecodeGbk(QByteArray("ab\xD6")).has_value());
    EXPECT_FALSE(DecodeGbk(QByteArray("\xD6\x01x")).has_value());
    const QString lenient = DecodeGbkLenient(QByteArray("a\xFF" "b"));
    EXPECT_TRUE(lenient.startsWith(u'a'));
    EXPECT_TRUE(lenient.endsWith(u'b'));
    EXPECT_TRUE(lenient.contains(QChar(0xFFFD)));
    // Characters outside GBK cannot be written.
    EXPECT_FALSE(EncodeGbk(QString::fromUcs4(U"\U0001F600")).has_value());
}

TEST(GbkCodec, Gb18030ReadsGbkUnchangedAndKeepsEveryCharacter) {
    // Every two-byte GBK character reads the same through GB18030.
    QByteArray all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (trail != 0x7F)
                all += QByteArray{char(lead), char(trail)};
    EXPECT_EQ(DecodeGb18030Lenient(all), DecodeGbkLenient(all));
    // Text outside GBK survives a write.
    const QString wide = QString::fromUcs4(U"\U00020000中\U0001F600é");
    EXPECT_EQ(DecodeGb18030Lenient(EncodeGb18030(wide)), wide);
    EXPECT_EQ(EncodeGb18030(u"中"_qs), QByteArray("\xD6\xD0"));
}
