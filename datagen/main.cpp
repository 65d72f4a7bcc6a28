// quillory-datagen: builds the dictionary data folder from its sources.
#include "datagen/DataCompiler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using quillory::datagen::CompileData;
using quillory::datagen::CompilerInputs;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillory-datagen"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the Quillory dictionary data folder."));
    parser.addHelpOption();
    const QCommandLineOption unihan(QStringLiteral("unihan"),
                                    QStringLiteral("Folder with the Unihan_*.txt(.bz2) files."),
                                    QStringLiteral("dir"));
    const QCommandLineOption radicals(QStringLiteral("radicals"), QStringLiteral("The CJKRadicals.txt file."),
                                      QStringLiteral("file"));
    const QCommandLineOption cedict(QStringLiteral("cedict"),
                                    QStringLiteral("CC-CEDICT: cedict_ts.u8.js or a plain text file."),
                                    QStringLiteral("file"));
    const QCommandLineOption toJyutping(QStringLiteral("to-jyutping"),
                                        QStringLiteral("Folder of the to-jyutping package."),
                                        QStringLiteral("dir"));
    const QCommandLineOption wordCounts(QStringLiteral("word-counts"),
                                        QStringLiteral("jieba's dict.txt: word counts (optional)."),
                                        QStringLiteral("file"));
    const QCommandLineOption rime(
        QStringLiteral("rime"),
        QStringLiteral("Folder of rime-cantonese's jyut6ping3 tables and essay-cantonese.txt (optional)."),
        QStringLiteral("dir"));
    const QCommandLineOption strokeOrder(
        QStringLiteral("stroke-order"), QStringLiteral("Folder of the hanzi-writer-data package (optional)."),
        QStringLiteral("dir"));
    const QCommandLineOption outDir(QStringLiteral("out"), QStringLiteral("The data folder to write."),
                                    QStringLiteral("dir"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Data version stored in the index (default 1)."),
                                     QStringLiteral("number"), QStringLiteral("1"));
    const QCommandLineOption script(QStringLiteral("jyutping-script"),
                                    QStringLiteral("The to_jyutping.js script (default: the built-in path)."),
                                    QStringLiteral("file"));
    const QCommandLineOption noSounds(QStringLiteral("no-sounds"),
                                      QStringLiteral("Write an empty sound archive instead of recording."));
    parser.addOptions({unihan, radicals, cedict, toJyutping, wordCounts, rime, strokeOrder, outDir, version,
                       script, noSounds});

    if (!parser.parse(QCoreApplication::arguments())) {
        err << parser.errorText() << Qt::endl << Qt::endl << parser.helpText();
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "Unexpected arguments: " << parser.positionalArguments().join(u' ') << Qt::endl;
        return 2;
    }
    QStringList missing;
    for (const QCommandLineOption* option : {&unihan, &radicals, &cedict, &toJyutping, &outDir})
        if (!parser.isSet(*option))
            missing << QStringLiteral("--") + option->names().front();
    if (!missing.isEmpty()) {
        err << "Missing options: " << missing.join(QStringLiteral(", ")) << Qt::endl
            << Qt::endl
            << parser.helpText();
        return 2;
    }
    bool ok = false;
    const uint number = parser.value(version).toUInt(&ok);
    if (!ok || number == 0 || number > 0xFFFF) {
        err << "--version must be a number from 1 to 65535" << Qt::endl;
        return 2;
    }

    CompilerInputs inputs;
    inputs.unihanDir = parser.value(unihan);
    inputs.radicalsFile = parser.value(radicals);
    inputs.cedictFile = parser.value(cedict);
    inputs.toJyutpingDir = parser.value(toJyutping);
    inputs.wordCountsFile = parser.value(wordCounts);
    inputs.rimeDir = parser.value(rime);
    inputs.strokeOrderDir = parser.value(strokeOrder);
    inputs.outDir = parser.value(outDir);
    inputs.version = static_cast<quint16>(number);
    inputs.jyutpingScript = parser.value(script);
    inputs.recordSounds = !parser.isSet(noSounds);

    QString error;
    if (!CompileData(inputs, out, &error)) {
        out.flush();
        err << "quillory-datagen: " << error << Qt::endl;
        return 1;
    }
    return 0;
}
