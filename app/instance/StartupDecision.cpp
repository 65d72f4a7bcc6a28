#include "app/instance/StartupDecision.h"

namespace quillory {

InstanceRequest RequestFromArguments(const QStringList& arguments) {
    return arguments.indexOf(QStringLiteral("--quit"), 1) > 0 ? InstanceRequest::Quit : InstanceRequest::Show;
}

StartupDecision DecideStartup(InstanceRequest request, InstanceReply reply) {
    if (request == InstanceRequest::Show) {
        switch (reply) {
        case InstanceReply::NoInstance:
            return {StartupAction::RunAsFirstInstance, 0, {}};
        case InstanceReply::AnsweredShow:
            return {StartupAction::Exit, 0, {}};
        case InstanceReply::AnsweredQuit:
        case InstanceReply::NoAnswer:
        case InstanceReply::Unrecognised:
            break;
        }
        return {StartupAction::RunAsSecondInstance, 0, {}};
    }

    switch (reply) {
    case InstanceReply::AnsweredQuit:
        return {StartupAction::Exit, 0, {}};
    case InstanceReply::NoInstance:
        return {StartupAction::Exit, 0, QStringLiteral("Quillory is not running.")};
    case InstanceReply::NoAnswer:
        return {StartupAction::Exit, 1, QStringLiteral("The running Quillory did not answer.")};
    case InstanceReply::AnsweredShow:
    case InstanceReply::Unrecognised:
        break;
    }
    return {StartupAction::Exit, 1,
            QStringLiteral("The running Quillory did not accept the request to quit.")};
}

} // namespace quillory
