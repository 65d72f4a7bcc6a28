// The single-instance rule: the reply rule and the wire format, what a start
// does with each reply, and real servers and clients in one process and
// across processes. Started with "--serve-helper" the test program plays the
// running instance in another process.
#include "app/instance/SingleInstance.h"
#include "app/instance/SocketFolder.h"
#include "app/instance/StartupDecision.h"
#include "settings/NameRegistry.h"
#include "tests/support/Waiting.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <future>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillory;
using testing::kGenerousMs;
using Listen = SingleInstanceServer::ListenResult;
using enum InstanceRequest;
using enum InstanceReply;

namespace {

const char kServeHelper[] = "--serve-helper";

void WriteLine(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// The running instance in another process: reports its state and each
// request on standard output, and ends on a quit request.
int RunServeHelper(QCoreApplication& app, const QString& socketPath) {
    NameRegistry names;
    SingleInstanceServer server(names, socketPath);
    if (server.Listen() != Listen::Listening)
        return 2;
    QObject::connect(&server, &SingleInstanceServer::showRequested, [] { WriteLine("show"); });
    QObject::connect(&server, &SingleInstanceServer::quitRequested, &app, [&] {
        WriteLine("quit");
        server.close();
        app.quit();
    });
    WriteLine("listening");
    return app.exec();
}

// Asks from a worker thread while this thread's event loop serves the
// in-process server.
InstanceReply AskFromThread(const QString& socketPath, InstanceRequest request) {
    std::future<InstanceReply> reply = std::async(std::launch::async, [=] {
        NameRegistry names;
        return AskRunningInstance(names, socketPath, request, kGenerousMs);
    });
    testing::WaitFor([&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                     3 * kGenerousMs);
    return reply.get();
}

// An instance's server with spies on what it is asked.
struct Served {
    Served(NameRegistry& names, const QString& path) : server(names, path) {}
    SingleInstanceServer server;
    QSignalSpy shown{&server, &SingleInstanceServer::showRequested};
    QSignalSpy quitting{&server, &SingleInstanceServer::quitRequested};
};

// A peer that answers a whole request with a fixed value and keeps what it read.
struct ScriptedPeer : QLocalServer {
    ScriptedPeer(const QString& path, std::uint32_t reply) {
        listen(path);
        connect(this, &QLocalServer::newConnection, [this, reply] {
            QLocalSocket* socket = nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, [this, socket, reply] {
                received += socket->readAll();
                if (received.size() >= instance_wire::kRequestSize)
                    socket->write(instance_wire::EncodeReply(reply));
            });
        });
    }
    QByteArray received;
};

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder_;
    NameRegistry names_;

    QString socketPath(std::uint32_t user = getuid()) const {
        return InstanceSocketPath(user, folder_->path());
    }
    // Starts a serving helper and waits until it listens.
    bool startServeHelper(QProcess& process) {
        process.start(QCoreApplication::applicationFilePath(),
                      {QString::fromLatin1(kServeHelper), socketPath()});
        while (process.waitForStarted(kGenerousMs) && !process.canReadLine() &&
               process.waitForReadyRead(kGenerousMs)) {
        }
        return process.readLine().trimmed() == "listening";
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void replyRuleAnswersOnlyEqualKnownPairs() {
        const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
        QCOMPARE(ids.areYouThere, *names_.idOf(QString::fromLatin1(kAreYouThereName)));
        QCOMPARE(ids.showYourself, *names_.idOf(QStringLiteral("WM_SHOW_YOURSELF")));
        QCOMPARE(ids.quitYourself, *names_.idOf(QStringLiteral("WM_QUIT_YOURSELF")));
        QVERIFY(ids.showYourself != ids.quitYourself);

        const auto answer = [&](std::uint32_t wParam, std::uint32_t lParam) {
            const InstanceAnswer answer = AnswerInstanceRequest(ids, wParam, lParam);
            return std::pair{answer.action, answer.reply};
        };
        QCOMPARE(answer(ids.showYourself, ids.showYourself),
                 std::pair(InstanceAction::Show, ids.areYouThere + 1));
        QCOMPARE(answer(ids.quitYourself, ids.quitYourself),
                 std::pair(InstanceAction::Quit, ids.areYouThere + 11));
        for (const auto& [wParam, lParam] :
             {std::pair{ids.showYourself, ids.quitYourself}, std::pair{ids.quitYourself, ids.showYourself},
              std::pair{ids.showYourself, 0u}, std::pair{ids.areYouThere, ids.areYouThere},
              std::pair{0u, 0u}})
            QCOMPARE(answer(wParam, lParam), std::pair(InstanceAction::None, 0u));
    }

    void wireFormatIsBigEndianAndNeedsWholeMessages() {
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

    void startupDecisions() {
        // The action, the exit code and whether a message is shown.
        const auto decide = [](InstanceRequest request, InstanceReply reply) {
            const StartupDecision decision = DecideStartup(request, reply);
            return std::tuple{decision.action, decision.exitCode, !decision.message.isEmpty()};
        };
        using enum StartupAction;
        QCOMPARE(decide(Show, NoInstance), std::tuple(RunAsFirstInstance, 0, false));
        QCOMPARE(decide(Show, AnsweredShow), std::tuple(Exit, 0, false));
        // A hung instance, or one that answers something else.
        QCOMPARE(decide(Show, NoAnswer), std::tuple(RunAsSecondInstance, 0, false));
        QCOMPARE(decide(Show, Unrecognised), std::tuple(RunAsSecondInstance, 0, false));
        QCOMPARE(decide(Quit, AnsweredQuit), std::tuple(Exit, 0, false));
        QCOMPARE(decide(Quit, NoInstance), std::tuple(Exit, 0, true));
        QCOMPARE(decide(Quit, NoAnswer), std::tuple(Exit, 1, true));
    }

    void quitOptionIsRecognised() {
        QCOMPARE(RequestFromArguments({"quillory"}), Show);
        QCOMPARE(RequestFromArguments({"quillory", "--quit"}), Quit);
        QCOMPARE(RequestFromArguments({"quillory", "-x", "--quit"}), Quit);
        // The program's own name is not an option, however it is spelled.
        QCOMPARE(RequestFromArguments({"--quit"}), Show);
        QCOMPARE(RequestFromArguments({}), Show);
    }

    void socketPathsDependOnUserAndStayShort() {
        const QString folder = QStringLiteral("/run/user/1000");
        const QString path = InstanceSocketPath(1000, folder);
        QCOMPARE(path, InstanceSocketPath(1000, folder));
        QVERIFY(path.startsWith(folder + QStringLiteral("/quillory-")));
        QCOMPARE(path.size(), (folder + QStringLiteral("/quillory-")).size() + 16);
        QVERIFY(path != InstanceSocketPath(1001, folder));
        QVERIFY(path != InstanceSocketPath(0, folder));

        const QString current = CurrentUserInstanceSocketPath();
        QVERIFY(current.endsWith(InstanceSocketPath(getuid(), QStringLiteral("/")).mid(1)));
        QVERIFY(current.toLocal8Bit().size() < 108); // sun_path, terminator included
    }

    // The socket's folder when the desktop gives none: the user's own, mode
    // 0700; a link, a file or another user's folder under its name is never
    // used, and a folder of the user's own with loose rights is tightened.
    void socketFolderIsPrivate() {
        QTemporaryDir parent;
        const QString expected = parent.filePath(QStringLiteral("quillory-%1").arg(getuid()));
        const auto mode = [&] {
            struct stat info {};
            return lstat(QFile::encodeName(expected).constData(), &info) == 0 ? info.st_mode & 0777 : 0u;
        };
        QCOMPARE(PrivateSocketFolder(parent.path()), expected);
        QCOMPARE(mode(), 0700u);
        QVERIFY(chmod(QFile::encodeName(expected).constData(), 0777) == 0);
        QCOMPARE(PrivateSocketFolder(parent.path()), expected);
        QCOMPARE(mode(), 0700u);

        QTemporaryDir elsewhere;
        QVERIFY(QDir(expected).removeRecursively() && QFile::link(elsewhere.path(), expected));
        QCOMPARE(PrivateSocketFolder(parent.path()), QString());
        QVERIFY(QFile::remove(expected) && QFile(expected).open(QIODevice::WriteOnly));
        QCOMPARE(PrivateSocketFolder(parent.path()), QString());
        QVERIFY(QFile::remove(expected) && QDir().mkdir(expected));
        if (chown(QFile::encodeName(expected).constData(), getuid() + 1, getgid()) != 0)
            QSKIP("only root can give a folder to another user");
        QCOMPARE(PrivateSocketFolder(parent.path()), QString());

        // Runtime folders of another user (the desktop's, and the one Qt
        // falls back to in the temporary folder) are refused by Qt: the socket
        // goes to the private folder in the temporary folder, never beside it.
        QTemporaryDir runtime, temporary;
        const QString qtFallback = temporary.filePath(QStringLiteral("runtime-") +
                                                      QString::fromLocal8Bit(getpwuid(getuid())->pw_name));
        QVERIFY(QDir().mkdir(qtFallback));
        for (const QString& folder : {runtime.path(), qtFallback})
            QVERIFY(chown(QFile::encodeName(folder).constData(), getuid() + 1, getgid()) == 0);
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTemporary = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        const QString path = CurrentUserInstanceSocketPath();
        for (const auto& [name, old] :
             {std::pair("XDG_RUNTIME_DIR", oldRuntime), std::pair("TMPDIR", oldTemporary)})
            old.isNull() ? qunsetenv(name) : qputenv(name, old);
        QCOMPARE(QFileInfo(path).path(), temporary.filePath(QStringLiteral("quillory-%1").arg(getuid())));
    }

    void requestsInOneProcess() {
        Served served(names_, socketPath());
        QCOMPARE(served.server.Listen(), Listen::Listening);
        // Other pairs get the reply 0 and change nothing.
        const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
        for (const auto& [wParam, lParam] :
             {std::pair{ids.showYourself, ids.quitYourself}, std::pair{ids.areYouThere, ids.areYouThere}}) {
            QLocalSocket socket;
            socket.connectToServer(socketPath());
            QVERIFY(socket.waitForConnected(kGenerousMs));
            socket.write(instance_wire::EncodeRequest({wParam, lParam}));
            QTRY_VERIFY(socket.bytesAvailable() >= instance_wire::kReplySize);
            QCOMPARE(instance_wire::DecodeReply(socket.readAll()), std::optional<std::uint32_t>(0u));
            QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        }
        QCOMPARE(served.shown.count() + served.quitting.count(), 0);
        QVERIFY(served.server.isListening());

        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
        QTRY_COMPARE(served.shown.count(), 1);
        QCOMPARE(served.quitting.count(), 0);
        QCOMPARE(AskFromThread(socketPath(), Quit), AnsweredQuit);
        QTRY_COMPARE(served.quitting.count(), 1);
        QCOMPARE(served.shown.count(), 1);
        // The Exit action releases the name: the file goes and a start finds
        // no instance.
        served.server.close();
        QVERIFY(!served.server.isListening());
        QVERIFY(!QFile::exists(socketPath()));
        QCOMPARE(AskFromThread(socketPath(), Show), NoInstance);
    }

    void requestsMayArriveInPiecesButNotForEver() {
        Served served(names_, socketPath());
        // The time-out is read per connection: far beyond any pause of a slow
        // machine for the client that sends in pieces, short for the idle one.
        served.server.setRequestTimeout(60000);
        QCOMPARE(served.server.Listen(), Listen::Listening);
        const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
        const QByteArray request = instance_wire::EncodeRequest({ids.showYourself, ids.showYourself});

        QLocalSocket pieces;
        pieces.connectToServer(socketPath());
        QVERIFY(pieces.waitForConnected(kGenerousMs));
        pieces.write(request.left(3));
        pieces.flush();
        // A chance for the server to act on the piece, which it must not; a
        // slow machine only makes this pause shorter in effect, never a failure.
        QTest::qWait(50);
        QCOMPARE(served.shown.count(), 0);
        pieces.write(request.mid(3));
        QTRY_VERIFY_WITH_TIMEOUT(pieces.bytesAvailable() >= instance_wire::kReplySize, kGenerousMs);
        QCOMPARE(instance_wire::DecodeReply(pieces.readAll()), std::optional<std::uint32_t>(ids.showReply()));
        QCOMPARE(served.shown.count(), 1);
        // A client that never finishes its request is dropped, and the server
        // goes on answering others.
        served.server.setRequestTimeout(200);
        QLocalSocket idle;
        idle.connectToServer(socketPath());
        QVERIFY(idle.waitForConnected(kGenerousMs));
        idle.write(request.left(5));
        QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QLocalSocket::UnconnectedState, kGenerousMs);
        QCOMPARE(served.shown.count(), 1);
        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
    }

    void clientReadsOnlyTheRepliesItKnows() {
        const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
        {
            ScriptedPeer peer(socketPath(), ids.areYouThere + 11);
            QVERIFY(peer.isListening());
            QCOMPARE(AskFromThread(socketPath(), Quit), AnsweredQuit);
            QCOMPARE(peer.received, instance_wire::EncodeRequest({ids.quitYourself, ids.quitYourself}));
        }
        // "No meaningful value" from a peer that did nothing is not taken as a yes.
        ScriptedPeer peer(socketPath(), 0);
        QVERIFY(peer.isListening());
        QCOMPARE(AskFromThread(socketPath(), Show), Unrecognised);
    }

    void askingWithoutALiveInstance() {
        QCOMPARE(AskRunningInstance(names_, socketPath(), Show), NoInstance);
        QCOMPARE(AskRunningInstance(names_, socketPath(), Quit), NoInstance);
        // A path in a folder that does not exist is no instance either.
        QCOMPARE(AskRunningInstance(names_, folder_->filePath(QStringLiteral("gone/quillory-0")), Show),
                 NoInstance);
        // A silent server: the connection completes in the kernel even though
        // it never accepts or reads anything. NoAnswer, not a hang: the client
        // gives up after its own time-out.
        QLocalServer silent;
        QVERIFY(silent.listen(socketPath()));
        QCOMPARE(AskRunningInstance(names_, socketPath(), Show, 500), NoAnswer);
        // A starting server does not take the name from a live holder, even a
        // silent one.
        SingleInstanceServer server(names_, socketPath());
        QCOMPARE(server.Listen(), Listen::InstanceRunning);
        QVERIFY(!server.isListening());
        QVERIFY(!server.errorString().isEmpty());
    }

    void serversOfOneNameOrOfOtherUsers() {
        Served first(names_, socketPath());
        QCOMPARE(first.server.Listen(), Listen::Listening);
        QCOMPARE(first.server.Listen(), Listen::Listening);
        // A live server is not taken over.
        NameRegistry otherNames;
        Served second(otherNames, socketPath());
        QCOMPARE(second.server.Listen(), Listen::InstanceRunning);
        QVERIFY(!second.server.isListening());
        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
        QTRY_COMPARE(first.shown.count(), 1);
        QCOMPARE(second.shown.count(), 0);
        // Closing the second server leaves the first one's socket alone.
        second.server.close();
        QVERIFY(QFile::exists(socketPath()));
        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
        QTRY_COMPARE(first.shown.count(), 2);
        // Another user's instance is another socket.
        Served theirs(otherNames, socketPath(getuid() + 1));
        QCOMPARE(theirs.server.Listen(), Listen::Listening);
        QCOMPARE(AskFromThread(socketPath(getuid() + 1), Quit), AnsweredQuit);
        QTRY_COMPARE(theirs.quitting.count(), 1);
        QCOMPARE(first.shown.count(), 2);
        QVERIFY(first.server.isListening());
        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
        QTRY_COMPARE(first.shown.count(), 3);
    }

    void runningInstanceInAnotherProcessAnswersAndQuits() {
        QProcess first;
        QVERIFY(startServeHelper(first));
        // This process is the second start and then the outside program.
        QCOMPARE(AskRunningInstance(names_, socketPath(), Show, kGenerousMs), AnsweredShow);
        QVERIFY(first.canReadLine() || first.waitForReadyRead(kGenerousMs));
        QCOMPARE(first.readLine().trimmed(), QByteArray("show"));

        QCOMPARE(AskRunningInstance(names_, socketPath(), Quit, kGenerousMs), AnsweredQuit);
        QVERIFY(first.waitForFinished(kGenerousMs));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(first.readAll().trimmed(), QByteArray("quit"));
        QVERIFY(!QFile::exists(socketPath()));
    }

    // A socket whose other end is another user is never used (SO_PEERCRED),
    // by either side: the instance here runs as another user in a folder
    // both may enter. Needs root, to start a process as another user.
    void peersOfAnotherUserAreNeverHeard() {
        if (getuid() != 0)
            QSKIP("only root can start a process as another user");
        constexpr uid_t kOther = 65534;
        QTemporaryDir open;
        QVERIFY(chmod(QFile::encodeName(open.path()).constData(), 0777) == 0);
        const QString path = InstanceSocketPath(kOther, open.path());
        QProcess theirs;
        theirs.setChildProcessModifier([] {
            if (setgid(kOther) != 0 || setuid(kOther) != 0)
                _exit(3);
        });
        theirs.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kServeHelper), path});
        QVERIFY(theirs.waitForReadyRead(kGenerousMs));
        QCOMPARE(theirs.readLine().trimmed(), QByteArray("listening"));
        // This side asks nothing of it ...
        QCOMPARE(AskRunningInstance(names_, path, Show, kGenerousMs), NoAnswer);
        QCOMPARE(AskRunningInstance(names_, path, Quit, kGenerousMs), NoAnswer);
        // ... and it hears nothing from this side, even a well-formed request.
        const InstanceProtocolIds ids = InstanceProtocolIds::From(names_);
        QLocalSocket raw;
        raw.connectToServer(path);
        QVERIFY(raw.waitForConnected(kGenerousMs));
        raw.write(instance_wire::EncodeRequest({ids.showYourself, ids.showYourself}));
        QVERIFY(raw.waitForBytesWritten(kGenerousMs));
        QTRY_COMPARE_WITH_TIMEOUT(raw.state(), QLocalSocket::UnconnectedState, kGenerousMs);
        QCOMPARE(raw.readAll(), QByteArray()); // closed without a reply, so nothing was done
        theirs.kill();
        theirs.waitForFinished(kGenerousMs);
    }

    void socketOfKilledInstanceDoesNotBlockStartUp() {
        QProcess crashed;
        QVERIFY(startServeHelper(crashed));
        crashed.kill();
        QVERIFY(crashed.waitForFinished(kGenerousMs));
        QVERIFY(QFile::exists(socketPath())); // left behind
        // NoInstance, not NoAnswer: the refused connection is seen at once
        // rather than waited out.
        QCOMPARE(AskRunningInstance(names_, socketPath(), Show), NoInstance);

        Served served(names_, socketPath());
        QCOMPARE(served.server.Listen(), Listen::Listening);
        QCOMPARE(AskFromThread(socketPath(), Show), AnsweredShow);
        QTRY_COMPARE(served.shown.count(), 1);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String(kServeHelper))
        return RunServeHelper(app, arguments.at(2));
    SingleInstanceTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
