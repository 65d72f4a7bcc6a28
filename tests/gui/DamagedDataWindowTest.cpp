// The main window over damaged data and during its start-up dialogs: damage
// is said once per session, an unusable sound archive greys the speakers,
// and a quit asked for while a start-up dialog is open ends the program then.
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "dictionary/text/Romanisation.h"
#include "tests/support/TemporarySettings.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

constexpr int kPageTimeoutMs = 20000;

// A data folder of links to the full data, without the files named in
// left; a file named in replaced links to the device or file given.
bool LinkData(const QString& folder, const QStringList& left,
              const QList<std::pair<QString, QString>>& replaced = {}) {
    const QDir full(QStringLiteral(QUILLORY_DATA_DIR));
    for (const QString& name : full.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString target = full.filePath(name);
        for (const auto& [file, replacement] : replaced)
            target = file == name ? replacement : target;
        if (!left.contains(name) && !QFile::link(target, folder + u'/' + name))
            return false;
    }
    return true;
}

QString Body(CExplainWin* view) {
    QString body;
    bool done = false;
    view->page()->runJavaScript(u"document.body.innerHTML"_s, [&](const QVariant& value) {
        body = value.toString();
        done = true;
    });
    return QTest::qWaitFor([&] { return done; }, 10000) ? body : QString();
}

} // namespace

class DamagedDataWindowTest : public QObject {
    Q_OBJECT

private slots:
    void damageIsSaidOnceAndSpeakersGoGrey() {
        QTemporaryDir data, empty;
        QFile(empty.filePath(u"ijk.dat"_s)).open(QIODevice::WriteOnly);
        QVERIFY(LinkData(data.path(), {u"search.txt"_s},
                         {{u"ijk.dat"_s, empty.filePath(u"ijk.dat"_s)}, {u"sounds.dat"_s, u"/dev/zero"_s}}));
        testing::TemporarySettings settings;
        RecordingReporter reporter;
        MainWindow window(MainWindowEnvironment{data.path(), &settings.store(),
                                                [](const QUrl&) { return true; }, &reporter});
        QVERIFY(window.Initialise());
        QCOMPARE(reporter.messages.size(), 1);
        QVERIFY2(reporter.messages[0].contains(u"no regular file"_s), qPrintable(reporter.messages[0]));

        // 中's page: both readings with grey speakers and no speaker links.
        window.PostRequest(ProtocolRequest{0, 0x4E2D, std::nullopt});
        QString page;
        QTRY_VERIFY_WITH_TIMEOUT((page = Body(window.view())).contains(u"zung1"_s), kPageTimeoutMs);
        QVERIFY(page.contains(u"speaker2.gif"_s));
        QVERIFY(!page.contains(u"speaker.gif"_s));

        // Two Pinyin pages over the damaged list file: one message in all.
        const auto zhong = *EncodeSyllable("zhong1", Scheme::Pinyin);
        for (int click = 0; click < 2; ++click) {
            window.PostRequest(ProtocolRequest{1, zhong, std::nullopt});
            QCoreApplication::sendPostedEvents();
        }
        QTRY_COMPARE_WITH_TIMEOUT(reporter.messages.size(), 2, kPageTimeoutMs);
        QVERIFY2(reporter.messages[1].contains(u"ijk.dat"_s), qPrintable(reporter.messages[1]));
        QTest::qWait(100); // a second message would have come with the second page
        QCOMPARE(reporter.messages.size(), 2);
        window.ExitProgram();
    }

    void quitDuringTheDataMessageQuitsThen() {
        // Without its record store the start shows the data message in a
        // box; a quit arrives while it is open, as the instance server
        // hands it over.
        QTemporaryDir data;
        QVERIFY(LinkData(data.path(), {u"records.db"_s, u"search.txt"_s}));
        testing::TemporarySettings settings;
        MainWindow window(
            MainWindowEnvironment{data.path(), &settings.store(), [](const QUrl&) { return true; }});
        QSignalSpy exited(&window, &MainWindow::exited);
        bool dialogOpen = false;
        bool leftOpen = false;
        QTimer::singleShot(0, &window, [&] {
            dialogOpen = QApplication::activeModalWidget() != nullptr;
            window.ExitProgram();
        });
        // A box still open much later would wait for a user for ever.
        QTimer::singleShot(5000, &window, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                leftOpen = true;
                dialog->reject();
            }
        });
        QVERIFY(window.Initialise());
        QVERIFY(dialogOpen);
        QVERIFY(!leftOpen);
        QVERIFY(exited.count() == 1 || exited.wait(10000));
    }
};

int main(int argc, char* argv[]) {
    RegisterLinkScheme();
    QApplication app(argc, argv);
    DamagedDataWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DamagedDataWindowTest.moc"
