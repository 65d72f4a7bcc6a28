// quillory-cli: dictionary look-ups from a terminal or a script.
#include "CommandLine.h"
#include "LookupCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>

using namespace quillory;
using namespace quillory::cli;

namespace {

constexpr int kDataUnavailable = 3;

void Print(QTextStream& out, const Answer& answer, bool json) {
    if (json) {
        out << QString::fromUtf8(QJsonDocument(answer.json).toJson(QJsonDocument::Compact)) << '\n';
    } else {
        out << answer.text;
        if (!answer.text.endsWith(u'\n')) {
            out << '\n';
        }
    }
    out.flush();
}

int RunBatch(LookupCommands& commands, bool json) {
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString line;
    while (in.readLineInto(&line)) {
        if (line.trimmed().isEmpty()) {
            continue;
        }
        QStringList words;
        QString usage;
        Answer answer;
        if (!SplitCommandWords(line, words)) {
            answer = Failure(kBadUsage, QStringLiteral("unclosed quote"));
        } else if (auto request = ParseRequest(words, &usage)) {
            answer = commands.run(*request);
        } else {
            answer = Failure(kBadUsage, usage);
        }
        // Every line gets exactly one answer line in JSON, so that scripts
        // can pair questions and answers.
        if (answer.status != kFound && !json) {
            err << answer.text << '\n';
            err.flush();
            out << '\n';
            out.flush();
            continue;
        }
        Print(out, answer, json);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    bool json = false;
    QString dataFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/demo");
    QStringList words;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--data")) {
            if (i + 1 >= args.size()) {
                err << "--data needs a folder\n";
                return kBadUsage;
            }
            dataFolder = args[++i];
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            QTextStream(stdout) << UsageText();
            return 0;
        } else {
            words.append(arg);
        }
    }
    if (words.isEmpty()) {
        err << UsageText();
        return kBadUsage;
    }

    std::optional<Request> request;
    const bool batch = words.size() == 1 && words.first() == QLatin1String("batch");
    if (!batch) {
        QString usage;
        request = ParseRequest(words, &usage);
        if (!request) {
            err << "quillory-cli: " << usage << "\n\n" << UsageText();
            return kBadUsage;
        }
    }

    StderrReporter reporter;
    Dictionary dictionary(QDir::cleanPath(dataFolder), reporter);
    if (!dictionary.open()) {
        err << "quillory-cli: the dictionary data in " << dataFolder
            << " is missing or damaged; build it with 'make run' or 'make test'.\n";
        return kDataUnavailable;
    }
    LookupCommands commands(dictionary);
    if (batch) {
        return RunBatch(commands, json);
    }
    const Answer answer = commands.run(*request);
    if (answer.status != kFound && !json) {
        err << "quillory-cli: " << answer.text << '\n';
        return answer.status;
    }
    QTextStream out(stdout);
    Print(out, answer, json);
    return answer.status;
}
