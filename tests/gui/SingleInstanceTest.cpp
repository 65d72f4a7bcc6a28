// The single-instance rule: the reply rule and the wire format, what a start
// does with each reply, and real servers and clients in one process and
// across processes. The test program doubles as the other process: started
// with "--serve-helper" or "--ask-helper" it plays the running instance or
// the second start.
#include "app/instance/SingleInstance.h"
#include "app/instance/StartupDecision.h"
#include "settings/NameRegistry.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace quillory;

Q_DECLARE_METATYPE(quillory::InstanceRequest)
Q_DECLARE_METATYPE(quillory::InstanceReply)
Q_DECLARE_METATYPE(quillory::StartupAction)

namespace {

const char kServeHelper[] = "--serve-helper";
constexpr int kGenerousMs = 20000;
const char kAskHelper[] = "--ask-helper";

std::uint32_t CurrentUser() {
    return static_cast<std::uint32_t>(getuid());
}

void WriteLine(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The running instance in another process: reports its state and each
// request on standard output, and ends on a quit request.
int RunServeHelper(QCoreApplication& app, const QString& socketPath) {
    NameRegistry names;
    SingleInstanceServer server(names, socketPath);
    if (server.listen() != SingleInstanceServer::ListenResult::Listening) {
        WriteLine("failed");
        return 2;
    }
    QObject::connect(&server, &SingleInstanceServer::showRequested, [] { WriteLine("show"); });
    QObject::connect(&server, &SingleInstanceServer::quitRequested, &app, [&] {
        WriteLine("quit");
        server.close();
        app.quit();
    });
    WriteLine("listening");
    return app.exec();
}

// A second start in another process: its exit code is the reply it got.
int RunAskHelper(const QString& socketPath, const QString& request) {
    NameRegistry names;
    const InstanceRequest what =
        request == QLatin1String("quit") ? InstanceRequest::Quit : InstanceRequest::Show;
    return static_cast<int>(AskRunningInstance(names, socketPath, what, kGenerousMs));
}

// Asks from a worker thread while this thread's event loop serves the
// in-process server.
InstanceReply AskFromThread(const QString& socketPath, InstanceRequest request, int timeoutMs = kGenerousMs) {
    InstanceReply reply = InstanceReply::NoAnswer;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        NameRegistry names;
        reply = AskRunningInstance(names, socketPath, request, timeoutMs);
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    return reply;
}

// A peer that accepts one connection, reads a request and answers with a
// fixed value, from its own thread.
class ScriptedPeer {
public:
    ScriptedPeer(const QString& socketPath, std::uint32_t reply) {
        thread_.reset(QThread::create([socketPath, reply, this] {
            QLocalServer server;
            if (!server.listen(socketPath)) {
                ready_.release();
                return;
            }
            ready_.release();
            if (!server.waitForNewConnection(kGenerousMs)) {
                return;
            }
            QLocalSocket* socket = server.nextPendingConnection();
            while (socket->bytesAvailable() < instance_wire::kRequestSize &&
                   socket->waitForReadyRead(kGenerousMs)) {
            }
            received_ = socket->readAll();
            socket->write(instance_wire::EncodeReply(reply));
            socket->waitForBytesWritten(kGenerousMs);
            socket->disconnectFromServer();
        }));
        thread_->start();
        ready_.acquire();
    }
    ~ScriptedPeer() { thread_->wait(); }
    QByteArray received() {
        thread_->wait();
        return received_;
    }

private:
    std::unique_ptr<QThread> thread_;
    QSemaphore ready_;
    QByteArray received_;
};

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void replyRuleAnswersOnlyEqualKnownPairs();
    void wireFormatIsBigEndianAndNeedsWholeMessages();
    void startupDecisions_data();
    void startupDecisions();
    void quitOptionIsRecognised();
    void socketPathsDependOnUserAndStayShort();

    void showAndQuitRequestsInOneProcess();
    void otherPairsChangeNothing();
    void requestsMayArriveInPiecesButNotForEver();
    void clientReadsOnlyTheRepliesItKnows();
    void noSocketMeansNoInstance();
    void silentServerCountsAsNoAnswer();
    void liveServerIsNotTakenOver();
    void usersAndNamesDoNotCollide();

    void secondStartInAnotherProcessShowsTheFirst();
    void runningInstanceInAnotherProcessAnswersAndQuits();
    void socketOfKilledInstanceDoesNotBlockStartUp();

private:
    QString socketPath(std::uint32_t user = CurrentUser()) const {
        return InstanceSocketPath(user, folder_->path());
    }
    QString helperProgram() const { return QCoreApplication::applicationFilePath(); }
    // Starts a serving helper and waits until it listens.
    bool startServeHelper(QProcess& process, const QString& path) {
        process.start(helperProgram(), {QString::fromLatin1(kServeHelper), path});
        if (!process.waitForStarted(kGenerousMs)) {
            return false;
        }
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(kGenerousMs)) {
                return false;
            }
        }
        return process.readLine().trimmed() == "listening";
    }

    std::unique_ptr<QTemporaryDir> folder_;
    NameRegistry names_;
};

void SingleInstanceTest::replyRuleAnswersOnlyEqualKnownPairs() {
    const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
    QCOMPARE(ids.areYouThere, *names_.idOf(QString::fromLatin1(kAreYouThereName)));
    QCOMPARE(ids.showYourself, *names_.idOf(QStringLiteral("WM_SHOW_YOURSELF")));
    QCOMPARE(ids.quitYourself, *names_.idOf(QStringLiteral("WM_QUIT_YOURSELF")));
    QVERIFY(ids.showYourself != ids.quitYourself);

    const InstanceAnswer show = AnswerInstanceRequest(ids, ids.showYourself, ids.showYourself);
    QCOMPARE(show.action, InstanceAction::Show);
    QCOMPARE(show.reply, ids.areYouThere + 1);

    const InstanceAnswer quit = AnswerInstanceRequest(ids, ids.quitYourself, ids.quitYourself);
    QCOMPARE(quit.action, InstanceAction::Quit);
    QCOMPARE(quit.reply, ids.areYouThere + 11);

    for (const auto& [wParam, lParam] :
         {std::pair{ids.showYourself, ids.quitYourself}, std::pair{ids.quitYourself, ids.showYourself},
          std::pair{ids.showYourself, 0u}, std::pair{ids.areYouThere, ids.areYouThere}, std::pair{0u, 0u}}) {
        const InstanceAnswer other = AnswerInstanceRequest(ids, wParam, lParam);
        QCOMPARE(other.action, InstanceAction::None);
        QCOMPARE(other.reply, 0u);
    }
}

void SingleInstanceTest::wireFormatIsBigEndianAndNeedsWholeMessages() {
    const QByteArray request = instance_wire::EncodeRequest({0x0000C008u, 0x01020304u});
    QCOMPARE(request, QByteArray::fromHex("0000c00801020304"));
    const auto decoded = instance_wire::DecodeRequest(request + "extra");
    QVERIFY(decoded.has_value());
    QCOMPARE(decoded->wParam, 0x0000C008u);
    QCOMPARE(decoded->lParam, 0x01020304u);
    QVERIFY(!instance_wire::DecodeRequest(request.left(7)).has_value());

    QCOMPARE(instance_wire::EncodeReply(0xC008u + 11), QByteArray::fromHex("0000c013"));
    QCOMPARE(instance_wire::DecodeReply(QByteArray::fromHex("ffffffff")),
             std::optional<std::uint32_t>(0xFFFFFFFFu));
    QVERIFY(!instance_wire::DecodeReply(QByteArray::fromHex("0000c0")).has_value());
}

void SingleInstanceTest::startupDecisions_data() {
    QTest::addColumn<InstanceRequest>("request");
    QTest::addColumn<InstanceReply>("reply");
    QTest::addColumn<StartupAction>("action");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("hasMessage");

    const auto show = InstanceRequest::Show;
    const auto quit = InstanceRequest::Quit;
    QTest::newRow("first start") << show << InstanceReply::NoInstance << StartupAction::RunAsFirstInstance
                                 << 0 << false;
    QTest::newRow("instance came forward")
        << show << InstanceReply::AnsweredShow << StartupAction::Exit << 0 << false;
    QTest::newRow("hung instance") << show << InstanceReply::NoAnswer << StartupAction::RunAsSecondInstance
                                   << 0 << false;
    QTest::newRow("unknown reply to show")
        << show << InstanceReply::Unrecognised << StartupAction::RunAsSecondInstance << 0 << false;
    QTest::newRow("instance quits") << quit << InstanceReply::AnsweredQuit << StartupAction::Exit << 0
                                    << false;
    QTest::newRow("nothing to quit") << quit << InstanceReply::NoInstance << StartupAction::Exit << 0 << true;
    QTest::newRow("quit not answered") << quit << InstanceReply::NoAnswer << StartupAction::Exit << 1 << true;
}

void SingleInstanceTest::startupDecisions() {
    QFETCH(InstanceRequest, request);
    QFETCH(InstanceReply, reply);
    QFETCH(StartupAction, action);
    QFETCH(int, exitCode);
    QFETCH(bool, hasMessage);

    const StartupDecision decision = DecideStartup(request, reply);
    QCOMPARE(decision.action, action);
    QCOMPARE(decision.exitCode, exitCode);
    QCOMPARE(!decision.message.isEmpty(), hasMessage);
}

void SingleInstanceTest::quitOptionIsRecognised() {
    QCOMPARE(RequestFromArguments({QStringLiteral("quillory")}), InstanceRequest::Show);
    QCOMPARE(RequestFromArguments({QStringLiteral("quillory"), QStringLiteral("--quit")}),
             InstanceRequest::Quit);
    QCOMPARE(
        RequestFromArguments({QStringLiteral("quillory"), QStringLiteral("-x"), QStringLiteral("--quit")}),
        InstanceRequest::Quit);
    // The program's own name is not an option, however it is spelled.
    QCOMPARE(RequestFromArguments({QStringLiteral("--quit")}), InstanceRequest::Show);
    QCOMPARE(RequestFromArguments({}), InstanceRequest::Show);
}

void SingleInstanceTest::socketPathsDependOnUserAndStayShort() {
    const QString path = InstanceSocketPath(1000, QStringLiteral("/run/user/1000"));
    QCOMPARE(path, InstanceSocketPath(1000, QStringLiteral("/run/user/1000")));
    QVERIFY(path.startsWith(QStringLiteral("/run/user/1000/quillory-")));
    QCOMPARE(path.size(), QStringLiteral("/run/user/1000/quillory-").size() + 16);
    QVERIFY(path != InstanceSocketPath(1001, QStringLiteral("/run/user/1000")));
    QVERIFY(path != InstanceSocketPath(0, QStringLiteral("/run/user/1000")));

    const QString current = CurrentUserInstanceSocketPath();
    QVERIFY(current.endsWith(InstanceSocketPath(CurrentUser(), QStringLiteral("/")).mid(1)));
    QVERIFY(current.toLocal8Bit().size() < 108); // sun_path, terminator included
}

void SingleInstanceTest::showAndQuitRequestsInOneProcess() {
    SingleInstanceServer server(names_, socketPath());
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::Listening);
    QVERIFY(server.isListening());
    QSignalSpy shown(&server, &SingleInstanceServer::showRequested);
    QSignalSpy quitting(&server, &SingleInstanceServer::quitRequested);

    QCOMPARE(AskFromThread(server.socketPath(), InstanceRequest::Show), InstanceReply::AnsweredShow);
    QTRY_COMPARE(shown.count(), 1);
    QCOMPARE(quitting.count(), 0);

    QCOMPARE(AskFromThread(server.socketPath(), InstanceRequest::Quit), InstanceReply::AnsweredQuit);
    QTRY_COMPARE(quitting.count(), 1);
    QCOMPARE(shown.count(), 1);

    // The Exit action releases the name: the file goes and a start finds no
    // instance.
    server.close();
    QVERIFY(!server.isListening());
    QVERIFY(!QFile::exists(server.socketPath()));
    QCOMPARE(AskFromThread(server.socketPath(), InstanceRequest::Show), InstanceReply::NoInstance);
}

void SingleInstanceTest::otherPairsChangeNothing() {
    SingleInstanceServer server(names_, socketPath());
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::Listening);
    QSignalSpy shown(&server, &SingleInstanceServer::showRequested);
    QSignalSpy quitting(&server, &SingleInstanceServer::quitRequested);
    const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);

    for (const auto& [wParam, lParam] :
         {std::pair{ids.showYourself, ids.quitYourself}, std::pair{ids.areYouThere, ids.areYouThere}}) {
        QLocalSocket socket;
        socket.connectToServer(server.socketPath());
        QVERIFY(socket.waitForConnected(kGenerousMs));
        socket.write(instance_wire::EncodeRequest({wParam, lParam}));
        QTRY_VERIFY(socket.bytesAvailable() >= instance_wire::kReplySize);
        QCOMPARE(instance_wire::DecodeReply(socket.readAll()), std::optional<std::uint32_t>(0u));
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    }
    QCOMPARE(shown.count(), 0);
    QCOMPARE(quitting.count(), 0);
    QVERIFY(server.isListening());
}

void SingleInstanceTest::requestsMayArriveInPiecesButNotForEver() {
    SingleInstanceServer server(names_, socketPath());
    // The time-out is read per connection: far beyond any pause of a slow
    // machine for the client that sends in pieces, short for the idle one.
    server.setRequestTimeout(60000);
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::Listening);
    QSignalSpy shown(&server, &SingleInstanceServer::showRequested);
    const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
    const QByteArray request = instance_wire::EncodeRequest({ids.showYourself, ids.showYourself});

    QLocalSocket pieces;
    pieces.connectToServer(server.socketPath());
    QVERIFY(pieces.waitForConnected(kGenerousMs));
    pieces.write(request.left(3));
    pieces.flush();
    // A chance for the server to act on the piece, which it must not; a
    // slow machine only makes this pause shorter in effect, never a failure.
    QTest::qWait(50);
    QCOMPARE(shown.count(), 0);
    pieces.write(request.mid(3));
    QTRY_VERIFY_WITH_TIMEOUT(pieces.bytesAvailable() >= instance_wire::kReplySize, kGenerousMs);
    QCOMPARE(instance_wire::DecodeReply(pieces.readAll()), std::optional<std::uint32_t>(ids.showReply()));
    QCOMPARE(shown.count(), 1);

    // A client that never finishes its request is dropped, and the server
    // goes on answering others.
    server.setRequestTimeout(200);
    QLocalSocket idle;
    idle.connectToServer(server.socketPath());
    QVERIFY(idle.waitForConnected(kGenerousMs));
    idle.write(request.left(5));
    QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QLocalSocket::UnconnectedState, kGenerousMs);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(AskFromThread(server.socketPath(), InstanceRequest::Show), InstanceReply::AnsweredShow);
}

void SingleInstanceTest::clientReadsOnlyTheRepliesItKnows() {
    const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
    {
        ScriptedPeer peer(socketPath(), ids.areYouThere + 11);
        QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Quit, kGenerousMs),
                 InstanceReply::AnsweredQuit);
        QCOMPARE(peer.received(), instance_wire::EncodeRequest({ids.quitYourself, ids.quitYourself}));
    }
    {
        // "No meaningful value" from a peer that did nothing is not taken
        // as a yes.
        ScriptedPeer peer(socketPath(), 0);
        QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Show, kGenerousMs),
                 InstanceReply::Unrecognised);
    }
}

void SingleInstanceTest::noSocketMeansNoInstance() {
    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Show), InstanceReply::NoInstance);
    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Quit), InstanceReply::NoInstance);
    // A path in a folder that does not exist is no instance either.
    QCOMPARE(AskRunningInstance(names_, folder_->filePath(QStringLiteral("gone/quillory-0")),
                                InstanceRequest::Show),
             InstanceReply::NoInstance);
}

void SingleInstanceTest::silentServerCountsAsNoAnswer() {
    // The connection completes in the kernel even though this server never
    // accepts or reads anything.
    QLocalServer silent;
    QVERIFY(silent.listen(socketPath()));

    // NoAnswer, not a hang: the client gives up after its own time-out.
    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Show, 500), InstanceReply::NoAnswer);

    // A starting server does not take the name from a live holder, even a
    // silent one.
    SingleInstanceServer server(names_, socketPath());
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::InstanceRunning);
    QVERIFY(!server.isListening());
    QVERIFY(!server.errorString().isEmpty());
}

void SingleInstanceTest::liveServerIsNotTakenOver() {
    SingleInstanceServer first(names_, socketPath());
    QCOMPARE(first.listen(), SingleInstanceServer::ListenResult::Listening);
    QCOMPARE(first.listen(), SingleInstanceServer::ListenResult::Listening);

    NameRegistry otherNames;
    SingleInstanceServer second(otherNames, socketPath());
    QCOMPARE(second.listen(), SingleInstanceServer::ListenResult::InstanceRunning);
    QVERIFY(!second.isListening());

    QSignalSpy firstShown(&first, &SingleInstanceServer::showRequested);
    QSignalSpy secondShown(&second, &SingleInstanceServer::showRequested);
    QCOMPARE(AskFromThread(socketPath(), InstanceRequest::Show), InstanceReply::AnsweredShow);
    QTRY_COMPARE(firstShown.count(), 1);
    QCOMPARE(secondShown.count(), 0);

    // Destroying the second server leaves the first one's socket alone.
    second.close();
    QVERIFY(QFile::exists(socketPath()));
    QCOMPARE(AskFromThread(socketPath(), InstanceRequest::Show), InstanceReply::AnsweredShow);
}

void SingleInstanceTest::usersAndNamesDoNotCollide() {
    SingleInstanceServer mine(names_, socketPath(1000));
    NameRegistry otherNames;
    SingleInstanceServer theirs(otherNames, socketPath(1001));
    QCOMPARE(mine.listen(), SingleInstanceServer::ListenResult::Listening);
    QCOMPARE(theirs.listen(), SingleInstanceServer::ListenResult::Listening);
    QSignalSpy mineShown(&mine, &SingleInstanceServer::showRequested);
    QSignalSpy theirsQuitting(&theirs, &SingleInstanceServer::quitRequested);

    QCOMPARE(AskFromThread(socketPath(1001), InstanceRequest::Quit), InstanceReply::AnsweredQuit);
    QTRY_COMPARE(theirsQuitting.count(), 1);
    QCOMPARE(mineShown.count(), 0);
    QVERIFY(mine.isListening());

    QCOMPARE(AskFromThread(socketPath(1000), InstanceRequest::Show), InstanceReply::AnsweredShow);
    QTRY_COMPARE(mineShown.count(), 1);
}

void SingleInstanceTest::secondStartInAnotherProcessShowsTheFirst() {
    SingleInstanceServer server(names_, socketPath());
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::Listening);
    QSignalSpy shown(&server, &SingleInstanceServer::showRequested);

    QProcess second;
    QSignalSpy finished(&second, &QProcess::finished);
    second.start(helperProgram(),
                 {QString::fromLatin1(kAskHelper), server.socketPath(), QStringLiteral("show")});
    QVERIFY(second.waitForStarted(kGenerousMs));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kGenerousMs);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), static_cast<int>(InstanceReply::AnsweredShow));
    QCOMPARE(shown.count(), 1);
}

void SingleInstanceTest::runningInstanceInAnotherProcessAnswersAndQuits() {
    QProcess first;
    QVERIFY(startServeHelper(first, socketPath()));

    // This process is the second start and then the outside program.
    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Show, kGenerousMs),
             InstanceReply::AnsweredShow);
    QVERIFY(first.canReadLine() || first.waitForReadyRead(kGenerousMs));
    QCOMPARE(first.readLine().trimmed(), QByteArray("show"));

    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Quit, kGenerousMs),
             InstanceReply::AnsweredQuit);
    QVERIFY(first.waitForFinished(kGenerousMs));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(first.readAll().trimmed(), QByteArray("quit"));
    QVERIFY(!QFile::exists(socketPath()));
}

void SingleInstanceTest::socketOfKilledInstanceDoesNotBlockStartUp() {
    QProcess crashed;
    QVERIFY(startServeHelper(crashed, socketPath()));
    crashed.kill();
    QVERIFY(crashed.waitForFinished(kGenerousMs));
    QVERIFY(QFile::exists(socketPath())); // left behind

    // NoInstance, not NoAnswer: the refused connection is seen at once
    // rather than waited out.
    QCOMPARE(AskRunningInstance(names_, socketPath(), InstanceRequest::Show), InstanceReply::NoInstance);

    SingleInstanceServer server(names_, socketPath());
    QCOMPARE(server.listen(), SingleInstanceServer::ListenResult::Listening);
    QSignalSpy shown(&server, &SingleInstanceServer::showRequested);
    QCOMPARE(AskFromThread(socketPath(), InstanceRequest::Show), InstanceReply::AnsweredShow);
    QTRY_COMPARE(shown.count(), 1);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String(kServeHelper)) {
        return RunServeHelper(app, arguments.at(2));
    }
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String(kAskHelper)) {
        return RunAskHelper(arguments.at(2), arguments.at(3));
    }
    SingleInstanceTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
