// quillory-cli: dictionary look-ups from a terminal or a script.
#include "cli/CommandLine.h"
#include "cli/ConvertCommand.h"
#include "cli/LessonCommands.h"
#include "cli/LookupCommands.h"
#include "cli/PageCommands.h"
#include "cli/SearchCommands.h"
#include "cli/StrokeCommands.h"
#include "settings/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>

using namespace quillory;
using namespace quillory::cli;

namespace {

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

// Prints the answer, or its message on standard error; gives the exit status.
int Report(const Answer& answer, bool json) {
    if (answer.status != kFound && !json) {
        QTextStream(stderr) << "quillory-cli: " << answer.text << '\n';
        return answer.status;
    }
    QTextStream out(stdout);
    Print(out, answer, json);
    return answer.status;
}

// The command sets of a session.
struct Commands {
    LookupCommands& lookups;
    PageCommands& pages;
    StrokeCommands& strokes;
    const SearchCommands& search;
};

// Answers one request with the command set it belongs to.
Answer AnswerRequest(const Request& request, const Commands& commands, const QString& outputPath) {
    LookupCommands& lookups = commands.lookups;
    PageCommands& pages = commands.pages;
    StrokeCommands& strokes = commands.strokes;
    switch (request.kind) {
    case RequestKind::Lookup:
        return commands.search.lookup(request.argument);
    case RequestKind::Suggest:
        return commands.search.suggest(request.argument);
    case RequestKind::StrokesOf:
        return strokes.strokesOf(request.argument);
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

// The answer, unless the look-up met damaged data: then the data-folder
// message, never "not found" or a shortened list.
Answer Answer1(Dictionary& dictionary, const Request& request, const Commands& commands,
               const QString& outputPath) {
    const int faults = dictionary.faults().count();
    Answer answer = AnswerRequest(request, commands, outputPath);
    if (dictionary.faults().count() != faults) {
        return Failure(kDataUnavailable, DataFolderMessage(dictionary.files().dataFolder()));
    }
    return answer;
}

// Exits with 0, or 3 when a line met damaged data.
int RunBatch(Dictionary& dictionary, const Commands& commands, bool json) {
    int status = 0;
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
            answer = Answer1(dictionary, *request, commands, QString());
        } else {
            answer = Failure(kBadUsage, usage);
        }
        if (answer.status == kDataUnavailable) {
            status = kDataUnavailable;
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
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    bool json = false;
    int language = 0;
    QString outputPath;
    QString pngFolder;
    QString dataFolder = ProgramDataFolder();
    QString lessonFolder;
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
        } else if (arg == QLatin1String("--lessons")) {
            if (i + 1 >= args.size()) {
                err << "--lessons needs a folder\n";
                return kBadUsage;
            }
            lessonFolder = args[++i];
        } else if (arg == QLatin1String("--lang") || arg == QLatin1String("-o") ||
                   arg == QLatin1String("--png")) {
            if (i + 1 >= args.size()) {
                err << arg << " needs a value\n";
                return kBadUsage;
            }
            const QString value = args[++i];
            if (arg == QLatin1String("-o")) {
                outputPath = value;
                continue;
            }
            if (arg == QLatin1String("--png")) {
                pngFolder = value;
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
            QTextStream(stdout) << UsageText() << LessonUsageText() << ConvertUsageText();
            return 0;
        } else {
            words.append(arg);
        }
    }
    if (words.isEmpty()) {
        err << UsageText();
        return kBadUsage;
    }
    if (IsConvertCommand(words)) {
        return RunConvertCommand(words, QDir::cleanPath(dataFolder));
    }

    if (IsLessonCommand(words)) {
        const LessonFolders folders =
            lessonFolder.isEmpty() ? ProgramLessonFolders() : LessonFoldersOf(lessonFolder);
        return Report(RunLessonCommand(words, folders), json);
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
    // No command plays a sound: the archive stays closed.
    if (!dictionary.Open(Dictionary::Sounds::Skip)) {
        err << "quillory-cli: " << DataFolderMessage(dataFolder) << '\n';
        return kDataUnavailable;
    }
    LookupCommands commands(dictionary);
    PageCommands pages(dictionary, language);
    StrokeCommands strokes(dictionary, reporter, pngFolder);
    const SearchCommands search(dictionary);
    const Commands all{commands, pages, strokes, search};
    if (batch) {
        return RunBatch(dictionary, all, json);
    }
    return Report(Answer1(dictionary, *request, all, outputPath), json);
}
