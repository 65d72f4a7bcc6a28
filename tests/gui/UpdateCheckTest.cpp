// The update check against a small server of the test's own on 127.0.0.1:
// replies whole, in pieces, without a payload, never; a refused connection;
// and the indicator the main window drives from the result.
#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLamps.h"
#include "app/update/UpdateReply.h"
#include "tests/support/UpdateScramble.h"
#include "tests/support/Waiting.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace quillory;
using quillory::testing::kGenerousMs;
using quillory::testing::ScrambleReplyFor;
using Outcome = quillory::UpdateCheckOutcome;

Q_DECLARE_METATYPE(quillory::LampStates)

namespace {

const QByteArray kPlain = "url=http://127.0.0.1/download/latest\nmajor=2\nminor=1\ndata=00A0\n";
const QString kAddress = QStringLiteral("http://127.0.0.1/download/latest?major=2?minor=1?data=00A0");

enum class Reply { Whole, Pieces, BeyondLimit, NoPayload, Silence };

// The pieces a server sends for the request body.
QList<QByteArray> ReplyPieces(Reply kind, const QByteArray& body) {
    const QByteArray head = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    const QByteArray payload = "return=" + ScrambleReplyFor(kPlain, body);
    switch (kind) {
    case Reply::Whole:
        return {head + payload};
    case Reply::Pieces: {
        // Cut inside a group, in three pieces, with a short group after the
        // last field.
        const qsizetype cut = head.size() + 7 + 3 * 20 + 1;
        const QByteArray reply = head + payload + "58";
        return {reply.left(cut), reply.mid(cut, 5), reply.mid(cut + 5)};
    }
    case Reply::BeyondLimit:
        return {head + QByteArray(kUpdateReplyLimit, ' '), payload};
    case Reply::NoPayload:
        return {head + "no news"};
    case Reply::Silence:
        break;
    }
    return {};
}

// A one-connection HTTP/1.0 server: reads the request (head to the bare
// double line feed, then Content-Length bytes of body) and answers with the
// pieces of the reply, one every 100 ms, then closes. With no pieces it keeps
// the connection open and says nothing.
class FakeUpdateServer : public QObject {
public:
    explicit FakeUpdateServer(Reply reply) {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this, reply] {
            QTcpSocket* socket = server_.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, reply] {
                request_ += socket->readAll();
                const qsizetype headEnd = request_.indexOf("\n\n");
                const qsizetype lengthAt = request_.indexOf("Content-Length: ");
                if (complete_ || headEnd < 0 || lengthAt < 0 ||
                    request_.size() - headEnd - 2 <
                        request_.mid(lengthAt + 16, headEnd - lengthAt - 16).toInt())
                    return;
                complete_ = true;
                SendPieces(socket, ReplyPieces(reply, request_.mid(headEnd + 2)));
            });
        });
    }

    UpdateServer address() const { return {"127.0.0.1", server_.serverPort()}; }
    const QByteArray& request() const { return request_; }
    bool requestComplete() const { return complete_; }

private:
    void SendPieces(QTcpSocket* socket, QList<QByteArray> pieces) {
        if (pieces.isEmpty())
            return;
        socket->write(pieces.takeFirst());
        socket->flush();
        if (pieces.isEmpty())
            socket->disconnectFromHost();
        else
            QTimer::singleShot(100, this, [=, this] { SendPieces(socket, pieces); });
    }

    QTcpServer server_;
    QByteArray request_;
    bool complete_ = false;
};

// A checker with fixed request noise, and a spy on its end.
struct Check {
    explicit Check(std::optional<UpdateServer> server, UpdateCheckTimeouts timeouts = {})
        : checker(server, UpdateVersions{"1", "0", "00A3"}) {
        checker.setNoiseSource([] { return RequestNoise{1700000000, 1, 2, 30, 4}; });
        checker.setTimeouts(timeouts);
    }
    // The outcome and the address that finished() gave.
    std::pair<Outcome, QString> result() const {
        return {checker.outcome(), finished.value(0).value(0).toString()};
    }

    UpdateChecker checker;
    QSignalSpy finished{&checker, &UpdateChecker::finished};
};

} // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<LampStates>(); }

    void repliesGiveAnAddressOnlyWhenWholeAndValid_data() {
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("found");
        QTest::newRow("whole") << int(Reply::Whole) << true;
        QTest::newRow("in pieces, short last group") << int(Reply::Pieces) << true;
        QTest::newRow("payload beyond the limit") << int(Reply::BeyondLimit) << false;
        QTest::newRow("no payload") << int(Reply::NoPayload) << false;
    }

    void repliesGiveAnAddressOnlyWhenWholeAndValid() {
        QFETCH(int, reply);
        QFETCH(bool, found);
        FakeUpdateServer server{Reply(reply)};
        Check check(server.address());
        check.checker.Start();
        QTRY_COMPARE_WITH_TIMEOUT(check.finished.count(), 1, kGenerousMs);
        const QString expected = found ? kAddress : QString();
        QCOMPARE(check.result(), std::pair(found ? Outcome::AddressFound : Outcome::NoAddress, expected));
        QCOMPARE(check.checker.address(), expected);
    }

    void requestIsExactAndACheckRunsOnce() {
        FakeUpdateServer server{Reply::Whole};
        Check check(server.address());
        check.checker.Start();
        QVERIFY(check.checker.isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(check.finished.count(), 1, kGenerousMs);

        QCOMPARE(server.request(), QByteArray("POST /checkNewUpdate.php HTTP/1.0\r\n"
                                              "Content-Type: application/x-www-form-urlencoded\r\n"
                                              "Accept-Encoding: gzip, deflate\r\n"
                                              "Host: 127.0.0.1\r\n"
                                              "Content-Length: 50\n\n"
                                              "tsrv=043017000000000201&major=1&minor=0&data=00A3&"));
        // A second start neither starts another check nor changes the result.
        check.checker.Start();
        QVERIFY(!check.checker.isRunning());
        QCOMPARE(check.checker.outcome(), Outcome::AddressFound);
        QCOMPARE(check.finished.count(), 1);
    }

    void silentServerEndsByTimeoutWhileTheLoopRuns() {
        FakeUpdateServer server{Reply::Silence};
        Check check(server.address(), {kGenerousMs, kGenerousMs, 1500});
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(20);
        check.checker.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.requestComplete(), kGenerousMs);
        const int ticksBeforeReply = ticks;
        QTRY_COMPARE_WITH_TIMEOUT(check.finished.count(), 1, kGenerousMs);
        QCOMPARE(check.result(), std::pair(Outcome::ReplyTimedOut, QString()));
        // The timer kept firing while the check waited for the reply.
        QVERIFY2(ticks > ticksBeforeReply + 3, qPrintable(QString::number(ticks - ticksBeforeReply)));
    }

    void refusedConnectionOrNoServerGiveNoAddress() {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        Check refused(UpdateServer{"127.0.0.1", port});
        refused.checker.Start();
        QTRY_COMPARE_WITH_TIMEOUT(refused.finished.count(), 1, kGenerousMs);
        QCOMPARE(refused.result(), std::pair(Outcome::ConnectFailed, QString()));
        // Without a server the check reports no update, from the event loop.
        Check none(std::nullopt);
        none.checker.Start();
        QCOMPARE(none.finished.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(none.finished.count(), 1, kGenerousMs);
        QCOMPARE(none.result(), std::pair(Outcome::NotConfigured, QString()));
    }

    void indicatorShowsControlsAndBlinksOnlyForAnAddress() {
        UpdateIndicator indicator;
        QSignalSpy visible(&indicator, &UpdateIndicator::controlsVisibleChanged);
        indicator.showCheckResult(QString());
        QVERIFY(!indicator.controlsVisible());
        QVERIFY(!indicator.isBlinking());
        QCOMPARE(visible.count(), 0);

        indicator.showCheckResult(kAddress);
        QVERIFY(indicator.controlsVisible());
        QVERIFY(indicator.isBlinking());
        QCOMPARE(visible.count(), 1);
        QCOMPARE(visible.at(0).at(0).toBool(), true);
        // The address is kept for the rest of the process.
        indicator.showCheckResult(QString());
        indicator.showCheckResult(QStringLiteral("http://127.0.0.1/other"));
        QCOMPARE(indicator.address(), kAddress);
        QCOMPARE(visible.count(), 1);
        // The lamp timer runs the steps by itself.
        QTRY_VERIFY_WITH_TIMEOUT(indicator.step() > 0, kGenerousMs);
    }

    void indicatorReportsOnlyLampChanges() {
        UpdateIndicator indicator;
        QSignalSpy lamps(&indicator, &UpdateIndicator::lampsChanged);
        for (int i = 0; i < 2 * kBlinkSteps; ++i)
            indicator.tick();
        QCOMPARE(indicator.step(), 0);
        // Per cycle: dot at 1140, 1141, 1142, dark, all, dark, all, dark.
        const LampStates off{}, all{true, true, true};
        const QList<LampStates> cycle(
            {{true, false, false}, {false, true, false}, {false, false, true}, off, all, off, all, off});
        QCOMPARE(lamps.count(), 2 * cycle.size());
        for (int i = 0; i < lamps.count(); ++i)
            QCOMPARE(lamps.at(i).at(0).value<LampStates>(), cycle.at(i % cycle.size()));
        QCOMPARE(indicator.lamps(), off);
    }
};

QTEST_MAIN(UpdateCheckTest)
#include "UpdateCheckTest.moc"
