// The real program as separate processes: a second start hands over to the
// running one and exits, and "quillory --quit" makes it save and exit.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void secondStartHandsOverAndQuitSaves();

private:
    QProcessEnvironment Environment() const;
    QTemporaryDir home_;
    QTemporaryDir data_;
};

QProcessEnvironment ProgramTest::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("share")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

void ProgramTest::secondStartHandsOverAndQuitSaves() {
    // A data folder of links to the build's data, so the history written at
    // exit lands in the test's own folder.
    const QDir source(QStringLiteral(QUILLORY_DATA_DIR));
    for (const QString& name : source.entryList(QDir::Files)) {
        if (name != QLatin1String("search.txt")) {
            QVERIFY(QFile::link(source.filePath(name), data_.filePath(name)));
        }
    }
    QFile history(data_.filePath(QStringLiteral("search.txt")));
    QVERIFY(history.open(QIODevice::WriteOnly));
    history.write("1\t1916\t[zhong]\n");
    history.close();

    const QString program = QStringLiteral(QUILLORY_BINARY_DIR "/quillory");
    const QStringList dataArgs = {QStringLiteral("--data"), data_.path()};
    QProcess first;
    first.setProcessEnvironment(Environment());
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(program, dataArgs);
    QVERIFY(first.waitForStarted());

    // The running instance listens on a socket in the runtime folder.
    const QDir runtime(home_.path());
    QTRY_VERIFY_WITH_TIMEOUT(!runtime.entryList({QStringLiteral("quillory-*")}, QDir::System).isEmpty(),
                             60000);

    // A second start hands over and ends by itself without opening a window.
    QProcess second;
    second.setProcessEnvironment(Environment());
    second.start(program, dataArgs);
    const bool secondEnded = second.waitForFinished(30000);
    if (!secondEnded) {
        second.kill();
        second.waitForFinished();
        first.kill();
        first.waitForFinished();
    }
    QVERIFY(secondEnded);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    QProcess quit;
    quit.setProcessEnvironment(Environment());
    quit.start(program, {QStringLiteral("--quit")});
    QVERIFY(quit.waitForFinished(30000));
    QCOMPARE(quit.exitCode(), 0);
    QVERIFY(first.waitForFinished(30000));
    QCOMPARE(first.exitCode(), 0);

    QSettings saved(home_.filePath(QStringLiteral("config/Tessaravin/Quillory.conf")), QSettings::IniFormat);
    QCOMPARE(saved.value(QStringLiteral("Versions/LANG")).toString(), QStringLiteral("0"));
    QVERIFY(saved.contains(QStringLiteral("Versions/Path")));
    QVERIFY(history.open(QIODevice::ReadOnly));
    QVERIFY(history.readAll().contains("[zhong]"));
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "ProgramTest.moc"
