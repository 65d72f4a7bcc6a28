#pragma once
// A sound server of the test's own with one null output, so that sounds can
// really be started on machines without sound hardware. Start it before the
// first use of Qt Multimedia: the process's clients find it through
// PULSE_SERVER. Without the server program installed, nothing is started.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace quillory::testing {

class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;
    ~PrivateSoundServer() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(3000))
                process_.kill();
            process_.waitForFinished(1000);
        }
    }

    static bool Installed() {
        return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
    }

    // Starts the server and points this process at it; false with the reason
    // when it did not come up within a few seconds.
    bool Start(QString* error) {
        if (!dir_.isValid()) {
            *error = QStringLiteral("no temporary folder");
            return false;
        }
        const QString socket = dir_.filePath(QStringLiteral("native"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir_.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path());
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
             QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"), QStringLiteral("-L"),
             QStringLiteral("module-null-sink"), QStringLiteral("-L"),
             QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
        if (!process_.waitForStarted(5000)) {
            *error = QStringLiteral("pulseaudio did not start: ") + process_.errorString();
            return false;
        }
        for (int waited = 0; waited < 5000 && !QFileInfo::exists(socket); waited += 50) {
            if (process_.waitForFinished(50)) {
                *error = QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(process_.readAll());
                return false;
            }
        }
        if (!QFileInfo::exists(socket)) {
            *error =
                QStringLiteral("pulseaudio opened no socket: ") + QString::fromLocal8Bit(process_.readAll());
            return false;
        }
        qputenv("PULSE_SERVER", QByteArray("unix:") + QFile::encodeName(socket));
        return true;
    }

    // Points this process at a server that does not exist: no audio output.
    static void UseNoServer() { qputenv("PULSE_SERVER", "unix:/nonexistent/quillory-no-sound-server"); }

private:
    QTemporaryDir dir_;
    QProcess process_;
};

} // namespace quillory::testing
