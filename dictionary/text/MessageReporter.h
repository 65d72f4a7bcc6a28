#pragma once
// Messages the user must see are handed to a reporter that the owner of the
// core objects supplies: the window shows a message box, tests record them.
#include <QString>
#include <QStringList>

namespace quillory {

class MessageReporter {
public:
    virtual ~MessageReporter() = default;
    virtual void showMessage(const QString& text) = 0;
};

// Keeps every message; for tools and tests that read them afterwards.
class RecordingReporter final : public MessageReporter {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    QStringList messages;
};

// Writes each message to standard error; for the command-line programs.
class StderrReporter final : public MessageReporter {
public:
    void showMessage(const QString& text) override;
};

} // namespace quillory
