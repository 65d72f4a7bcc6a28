// The update check's wire rules without a network: the request, the reply's
// key, the unscrambling of the payload, the fields and the address they make,
// the server setting and the lamps' blink cycle.
#include "app/update/UpdateReply.h"
#include "app/update/UpdateLamps.h"
#include "app/update/UpdateRequest.h"
#include "app/update/UpdateServer.h"

#include "tests/support/QtPrinters.h"
#include "tests/support/UpdateScramble.h"

#include <gtest/gtest.h>

using namespace quillory;
using quillory::testing::ScrambleReply;

namespace {
const QByteArray kKey = "0123456789abcdef";
} // namespace

TEST(UpdateRequest, BodyHeadAndReplyKey) {
    // r4 r3, the time, r2 r1: every number below 10 keeps its leading zero.
    EXPECT_EQ(UpdateRequestBody({1700000000, 1, 2, 30, 98}, {"1", "0", "00A3"}),
              QByteArray("tsrv=983017000000000201&major=1&minor=0&data=00A3&"));
    EXPECT_EQ(UpdateVersions::Current(QStringLiteral("0000")).data, QByteArray("0000"));
    const RequestNoise noise = RequestNoise::Draw();
    for (int r : {noise.r1, noise.r2, noise.r3, noise.r4}) {
        EXPECT_GE(r, 0);
        EXPECT_LE(r, 98);
    }
    // The head ends with bare line feeds after the length.
    const QByteArray head = UpdateRequestHead("example.test", 57);
    EXPECT_TRUE(head.startsWith("POST /checkNewUpdate.php HTTP/1.0\r\n"));
    EXPECT_TRUE(head.contains("\r\nHost: example.test\r\n"));
    EXPECT_TRUE(head.endsWith("\r\nContent-Length: 57\n\n"));
    EXPECT_FALSE(head.contains("\r\n\r\n"));
    // The key is the first half of the MD5 in lower case (RFC 1321 test vectors).
    EXPECT_EQ(UpdateReplyKey(""), QByteArray("d41d8cd98f00b204"));
    EXPECT_EQ(UpdateReplyKey("abc"), QByteArray("900150983cd24fb0"));
    EXPECT_EQ(UpdateReplyKey("message digest"), QByteArray("f96b697d7cb7938d"));
}

TEST(UpdateReply, PayloadFollowsTheFirstReturnMarkerAndUnscramblesWithTheCyclingKey) {
    EXPECT_FALSE(FindReplyPayload("HTTP/1.0 200 OK\r\n\r\nreturn 1").has_value());
    EXPECT_EQ(FindReplyPayload("HTTP/1.0 200 OK\r\n\r\nreturn=123return=4"), QByteArray("123return=4"));
    EXPECT_EQ(FindReplyPayload("HTTP/1.0 200 OK\n\nreturn="), QByteArray());
    // Only the body counts: a marker in a header, or with no body at all, is none.
    for (const char* received : {"return=123", "HTTP/1.0 200 OK\r\nX-Note: return=123\r\n\r\nno marker",
                                 "HTTP/1.0 200 OK\r\nX-Note: return=123\r\n"})
        EXPECT_FALSE(FindReplyPayload(received).has_value()) << received;

    const QByteArray plain = "url=http://a.test/x\nmajor=2\n";
    ASSERT_GT(plain.size(), 16);
    EXPECT_EQ(UnscramblePayload(ScrambleReply(plain, kKey), kKey), plain);
    EXPECT_EQ(UnscramblePayload("", kKey), QByteArray());
    // 17 groups of 100: group 16 uses key character 0 again, and a number
    // below its key character wraps to eight bits as the C runtime does.
    const QByteArray plain17 = UnscramblePayload(QByteArray("100").repeated(17), kKey);
    ASSERT_EQ(plain17.size(), 17);
    EXPECT_EQ(plain17[0], char(100 - '0'));
    EXPECT_EQ(plain17[15], char(0xFE)); // 100 - 'f'
    EXPECT_EQ(plain17[16], plain17[0]);
    // A short last group is read with its own digits ("158" - '0' = 'n', "58" - '0' = line feed, 1 - '0'
    // wraps); groups are read like atoi, digits up to the first other character.
    const QByteArray zeros = "0000000000000000";
    EXPECT_EQ(UnscramblePayload("15858", zeros), QByteArray("n\n"));
    EXPECT_EQ(UnscramblePayload("1581", zeros), QByteArray("n") + char(1 - '0' + 256));
    EXPECT_EQ(UnscramblePayload("15x", zeros), QByteArray(1, char(15 - '0' + 256)));
}

TEST(UpdateReply, FieldsFollowTheAddressAndEndWithLineFeeds) {
    const auto fields = ParseUpdateFields("junk\nurl=http://a.test/get\ndata=00A3\nminor=1\nmajor=2\n");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(QList<QByteArray>({fields->url, fields->major, fields->minor, fields->data}),
              QList<QByteArray>({"http://a.test/get", "2", "1", "00A3"}));
    EXPECT_EQ(ComposeUpdateAddress(*fields), QStringLiteral("http://a.test/get?major=2?minor=1?data=00A3"));
    for (const char* bad :
         {"url=http://a.test/\nminor=1\ndata=1\n", "url=http://a.test/\nmajor=2\nminor=1\ndata=1",
          "major=2\nurl=http://a.test/\nminor=1\ndata=1\n", "url=http://a.test/"})
        EXPECT_FALSE(ParseUpdateFields(bad).has_value()) << bad;
}

TEST(UpdateReply, WholeReplyGivesAnOpenableAddressOnly) {
    const QByteArray body = "tsrv=0102170000000003&major=1&minor=0&data=0000&";
    const QByteArray key = UpdateReplyKey(body);
    auto reply = [&](const QByteArray& plain) {
        return "HTTP/1.0 200 OK\r\n\r\nreturn=" + ScrambleReply(plain, key);
    };
    const QByteArray fine = "url=https://a.test/new\nmajor=1\nminor=1\ndata=0001\n";
    EXPECT_EQ(ReadUpdateReply(reply(fine), body),
              QStringLiteral("https://a.test/new?major=1?minor=1?data=0001"));
    // Scrambled for another body: garbage, no address.
    EXPECT_FALSE(ReadUpdateReply(reply(fine), body + "x"));
    // An unauthenticated reply must not make the program open files or
    // start other programs.
    for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "smb://a.test/x",
                            "http://a.test/has space"}) {
        const QByteArray plain = QByteArray("url=") + url + "\nmajor=1\nminor=1\ndata=0001\n";
        EXPECT_FALSE(ReadUpdateReply(reply(plain), body).has_value()) << url;
    }
    // Only the first 2048 bytes of a reply count.
    EXPECT_FALSE(
        ReadUpdateReply("HTTP/1.0 200 OK\r\n\r\n" + QByteArray(kUpdateReplyLimit, ' ') + reply(fine), body)
            .has_value());
}

TEST(UpdateServerSetting, HostAndOptionalPort) {
    EXPECT_FALSE(ParseUpdateServer(QString()).has_value());
    EXPECT_EQ(ParseUpdateServer(QStringLiteral("updates.a.test")), (UpdateServer{"updates.a.test", 80}));
    EXPECT_EQ(ParseUpdateServer(QStringLiteral("127.0.0.1:8080")), (UpdateServer{"127.0.0.1", 8080}));
    EXPECT_EQ(ParseUpdateServer(QStringLiteral("[::1]:81")), (UpdateServer{"[::1]", 81}));
    EXPECT_EQ(ParseUpdateServer(QStringLiteral("[::1]")), (UpdateServer{"[::1]", 80}));
    for (const char* bad : {"host:", "host:0", "host:65536", "host:+80", "host:8x", "::1", "[::1", "[]:80",
                            "a b", "a/b", ":80", "[::1]x"})
        EXPECT_FALSE(ParseUpdateServer(QString::fromLatin1(bad)).has_value()) << bad;
    const QString longest(kMaxUpdateHostLength, u'a');
    EXPECT_TRUE(ParseUpdateServer(longest).has_value());
    EXPECT_FALSE(ParseUpdateServer(longest + u'a').has_value());
}

TEST(UpdateLamps, BlinkCycleRunsTheDotThenBlinksTwice) {
    // Apply the pattern over one cycle from step 0, as the timer does.
    const LampStates off{false, false, false}, all{true, true, true};
    std::vector<LampStates> seen,
        expected = {off, off, off, {true, false, false}, {false, true, false}, {false, false, true}, off, all,
                    off, all, off};
    expected.resize(33, off);
    LampStates lamps = off;
    int step = 0;
    for (int tick = 0; tick < kBlinkSteps; ++tick, step = NextBlinkStep(step))
        seen.push_back(lamps = BlinkPattern(step).value_or(lamps));
    EXPECT_EQ(step, 0);
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(BlinkPattern(-1).has_value());
    EXPECT_FALSE(BlinkPattern(33).has_value());
}
