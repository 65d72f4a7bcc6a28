// Quillory: one window per user session. A second start brings the running
// window to the front; "quillory --quit" asks the running program to quit.
#include "app/instance/InstanceServerThread.h"
#include "app/instance/SingleInstance.h"
#include "app/instance/StartupDecision.h"
#include "app/sound/SyllablePlayer.h"
#include "app/timing/WindowTimings.h"
#include "app/window/MainWindow.h"
#include "browser/ExplainWin.h"
#include "browser/LinkScheme.h"
#include "settings/ProgramFolders.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTextStream>

#include <memory>
#include <optional>

using namespace quillory;

int main(int argc, char* argv[]) {
    // The link scheme must be known before the web engine starts.
    RegisterLinkScheme();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessaravin"));
    QApplication::setApplicationName(QStringLiteral("Quillory"));
    QApplication::setQuitOnLastWindowClosed(false);

    NameRegistry names;
    const InstanceRequest request = RequestFromArguments(QApplication::arguments());
    const QString socketPath = CurrentUserInstanceSocketPath();
    const StartupDecision decision = DecideStartup(request, AskRunningInstance(names, socketPath, request));
    if (!decision.message.isEmpty()) {
        QTextStream(stderr) << decision.message << '\n';
    }
    if (decision.action == StartupAction::Exit) {
        return decision.exitCode;
    }

    SingleInstanceServer server(names, socketPath);
    std::optional<InstanceServerThread> serverThread;
    if (decision.action == StartupAction::RunAsFirstInstance &&
        server.Listen() == SingleInstanceServer::ListenResult::Listening) {
        serverThread.emplace(server);
    }

    SettingsStore settings;
    MainWindowEnvironment environment;
    // The data folder beside the program or installed, or another one given with --data.
    environment.dataFolder = ProgramDataFolder();
    const QStringList arguments = QApplication::arguments();
    const qsizetype dataOption = arguments.indexOf(QStringLiteral("--data"));
    if (dataOption > 0 && dataOption + 1 < arguments.size()) {
        environment.dataFolder = arguments[dataOption + 1];
    }
    environment.settings = &settings;
    environment.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    MainWindow window(environment);
    // Times from the start: the fonts dialog and the data are part of it.
    std::unique_ptr<WindowTimings> timings;
    if (WindowTimings::requested()) {
        timings = std::make_unique<WindowTimings>(&window);
    }
    // Requests from another process are posted, never run inside the
    // server's own socket handling: the quit closes that very server. They
    // are heard from the start, so one arriving while the first-start fonts
    // dialog is open is kept and done once the window is ready.
    QObject::connect(&server, &SingleInstanceServer::showRequested, &window, &MainWindow::ShowYourself,
                     Qt::QueuedConnection);
    QObject::connect(&server, &SingleInstanceServer::quitRequested, &window, &MainWindow::ExitProgram,
                     Qt::QueuedConnection);
    // The user chose Exit in the first-start fonts dialog.
    if (!window.Initialise()) {
        return 0;
    }
    if (timings) {
        QObject::connect(window.view(), &CExplainWin::pagePainted, timings.get(),
                         &WindowTimings::ReportPagePainted);
        QObject::connect(&window.player(), &SyllablePlayer::started, timings.get(),
                         &WindowTimings::ReportSoundStarted);
    }
    QObject::connect(
        &window, &MainWindow::exited, &app,
        [&server, &serverThread] {
            if (serverThread) {
                serverThread->Stop();
            }
            server.close();
            QApplication::quit();
        },
        Qt::QueuedConnection);
    window.ShowYourself();
    return QApplication::exec();
}
