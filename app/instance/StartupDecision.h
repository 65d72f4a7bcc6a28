#pragma once
// What a start does once the running instance, if any, has been asked.
#include "app/instance/InstanceProtocol.h"

#include <QString>
#include <QStringList>

namespace quillory {

enum class StartupAction {
    // End the process with exitCode, after showing message when there is one.
    Exit,
    // Take the instance socket and open the main window.
    RunAsFirstInstance,
    // Open the main window without the socket: an instance holds it but did
    // not do what was asked.
    RunAsSecondInstance,
};

struct StartupDecision {
    StartupAction action = StartupAction::RunAsFirstInstance;
    int exitCode = 0;
    QString message;
};

// "--quit" among the arguments (the first is the program) asks the running
// instance to quit; otherwise a start asks it to show itself.
InstanceRequest RequestFromArguments(const QStringList& arguments);

// A start that asked to be shown ends only when the instance confirmed it;
// every other outcome opens a window, so a start never ends with nothing on
// screen. A quit request always ends the process, with 0 when no instance is
// left running and 1 when one may still be.
StartupDecision DecideStartup(InstanceRequest request, InstanceReply reply);

} // namespace quillory
