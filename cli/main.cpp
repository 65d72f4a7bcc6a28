// quillory-cli: dictionary look-ups from a terminal or a script.
#include "cli/CommandLine.h"
#include "cli/LookupCommands.h"
#include "cli/PageCommands.h"

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

// Answers one request with the command set it belongs to.
Answer Answer1(const Request& request, LookupCommands& lookups, PageCommands& pages,
               const QString& outputPath) {
    switch (request.kind) {
    case RequestKind::Page:
        return pages.page(request.argument);
    case RequestKind::Render:
        if (outputPath.isEmpty()) {
            return Failure(kBadUsage, QStringLiteral("'render' needs -o FILE.html"));
        }
        return pages.render(request.argument, outputPath);
    case RequestKind::Search:
        return pages.search(request.argument);
    default:
        return lookups.run(request);
    }
}

int RunBatch(LookupCommands& commands, PageCommands& pages, bool json) {
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
            answer = Answer1(*request, commands, pages, QString());
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
    int language = 0;
    QString outputPath;
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
        } else if (arg == QLatin1String("--lang") || arg == QLatin1String("-o")) {
            if (i + 1 >= args.size()) {
                err << arg << " needs a value\n";
                return kBadUsage;
            }
            const QString value = args[++i];
            if (arg == QLatin1String("-o")) {
                outputPath = value;
                continue;
            }
            bool ok = false;
            language = value.toInt(&ok);
            if (!ok || language < 0 || language > 4) {
                err << "--lang takes 0 English, 1 Pinyin, 2 simplified Chinese, 3 traditional Chinese or 4 "
                       "Jyutping\n";
                return kBadUsage;
            }
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
    if (!dictionary.Open()) {
        err << "quillory-cli: the dictionary data in " << dataFolder
            << " is missing or damaged; build it with 'make run' or 'make test'.\n";
        return kDataUnavailable;
    }
    LookupCommands commands(dictionary);
    PageCommands pages(dictionary, language);
    if (batch) {
        return RunBatch(commands, pages, json);
    }
    const Answer answer = Answer1(*request, commands, pages, outputPath);
    if (answer.status != kFound && !json) {
        err << "quillory-cli: " << answer.text << '\n';
        return answer.status;
    }
    QTextStream out(stdout);
    Print(out, answer, json);
    return answer.status;
}
