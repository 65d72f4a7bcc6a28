#include "datagen/sources/JyutpingAnnotator.h"

#include "datagen/sources/UnihanReader.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>

namespace quillory::datagen {

namespace {

QString ModuleFile(const QString& moduleDir) {
    const QFileInfo info(moduleDir);
    if (info.isFile())
        return info.absoluteFilePath();
    return QDir(moduleDir).absoluteFilePath(QStringLiteral("dist/index.cjs"));
}

// One query per line: line breaks inside a text would split it.
QByteArray QueryLine(char kind, const QString& text) {
    QString flat = text;
    flat.replace(u'\n', u' ').replace(u'\r', u' ');
    return kind + flat.toUtf8() + '\n';
}

std::vector<std::string> SplitReadings(const QString& answer) {
    std::vector<std::string> readings;
    for (const QString& reading : answer.split(u' ', Qt::SkipEmptyParts))
        readings.push_back(reading.toStdString());
    return readings;
}

} // namespace

QString DefaultJyutpingScript() {
#ifdef QUILLORY_DATAGEN_SCRIPT_DIR
    return QStringLiteral(QUILLORY_DATAGEN_SCRIPT_DIR "/to_jyutping.js");
#else
    return {};
#endif
}

bool QueryJyutping(const JyutpingTool& tool, const JyutpingQueries& queries, JyutpingAnswers* answers,
                   QString* error) {
    const QString node =
        tool.node.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("node")) : tool.node;
    if (node.isEmpty() || !QFileInfo(node).isExecutable()) {
        *error =
            QStringLiteral("node is needed to run to-jyutping but was not found%1")
                .arg(tool.node.isEmpty() ? QStringLiteral(" in PATH") : QStringLiteral(": ") + tool.node);
        return false;
    }
    const QString script = tool.scriptPath.isEmpty() ? DefaultJyutpingScript() : tool.scriptPath;
    if (script.isEmpty() || !QFileInfo(script).isFile()) {
        *error = QStringLiteral("the to-jyutping script was not found: %1").arg(script);
        return false;
    }
    const QString module = ModuleFile(tool.moduleDir);
    if (tool.moduleDir.isEmpty() || !QFileInfo(module).isFile()) {
        *error = QStringLiteral("the to-jyutping module was not found: %1").arg(module);
        return false;
    }

    QByteArray input;
    for (const QString& text : queries.texts)
        input += QueryLine('T', text);
    for (const QString& character : queries.characters)
        input += QueryLine('C', character);

    QProcess process;
    process.setProgram(node);
    process.setArguments({script, module});
    process.start();
    if (!process.waitForStarted()) {
        *error = QStringLiteral("cannot run %1: %2").arg(node, process.errorString());
        return false;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(tool.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("to-jyutping did not finish within %1 s").arg(tool.timeoutMs / 1000);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString why = QString::fromUtf8(process.readAllStandardError()).trimmed();
        *error = QStringLiteral("to-jyutping failed (exit code %1): %2").arg(process.exitCode()).arg(why);
        return false;
    }
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    const qsizetype expected = queries.texts.size() + queries.characters.size();
    if (lines.size() != expected) {
        *error = QStringLiteral("to-jyutping gave %1 answers to %2 queries").arg(lines.size()).arg(expected);
        return false;
    }
    answers->texts = lines.mid(0, queries.texts.size());
    answers->characters = lines.mid(queries.texts.size());
    return true;
}

bool AnnotateJyutping(const JyutpingTool& tool, SourceData& source, QString* error, JyutpingStats* stats) {
    // Many headwords repeat (one entry per reading): ask once for each.
    JyutpingQueries queries;
    QHash<QString, qsizetype> textIndex;
    for (const WordSource& word : source.words) {
        if (!textIndex.contains(word.traditional)) {
            textIndex.insert(word.traditional, queries.texts.size());
            queries.texts.append(word.traditional);
        }
    }
    for (const auto& [code, character] : source.characters) {
        const char32_t scalar = code;
        queries.characters.append(QString::fromUcs4(&scalar, 1));
    }

    JyutpingAnswers answers;
    if (!QueryJyutping(tool, queries, &answers, error))
        return false;

    JyutpingStats counts;
    for (WordSource& word : source.words) {
        word.jyutping = answers.texts[textIndex.value(word.traditional)].trimmed();
        if (!word.jyutping.isEmpty())
            ++counts.wordsRead;
    }
    qsizetype next = 0;
    for (auto& [code, character] : source.characters) {
        const std::size_t before = character.jyutping.size();
        for (const std::string& reading : SplitReadings(answers.characters[next++]))
            AppendUnique(character.jyutping, reading);
        counts.candidatesAdded += static_cast<int>(character.jyutping.size() - before);
    }
    if (stats)
        *stats = counts;
    return true;
}

} // namespace quillory::datagen
