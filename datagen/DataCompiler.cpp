#include "datagen/DataCompiler.h"

#include "datagen/PinyinFont.h"
#include "datagen/StagingFolder.h"
#include "datagen/sounds/SyllableSounds.h"
#include "datagen/sources/CantoneseMerge.h"
#include "datagen/sources/CedictReader.h"
#include "datagen/sources/JyutpingAnnotator.h"
#include "datagen/sources/RadicalFormsReader.h"
#include "datagen/sources/UnihanReader.h"
#include "datagen/sources/WordCountReader.h"
#include "datagen/strokes/StrokeData.h"
#include "datagen/writers/IndexWriter.h"
#include "datagen/writers/ListFileWriter.h"
#include "datagen/writers/RecordStoreWriter.h"
#include "stroke/records/StrokeOrderFormat.h"
#include "tools/convert/ChineseScript.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace quillory::datagen {

namespace {

const char* const kLicenseFile = "LICENSES.txt";
const char* const kUnicodeCopyright = "/usr/share/doc/unicode-data/copyright";
const char* const kJiebaCopyright = "/usr/share/doc/python3-jieba/copyright";
const char* const kRimeCopyright = "/usr/share/doc/rime-data-jyut6ping3/copyright";

QString Seconds(const QElapsedTimer& timer) {
    return QString::number(timer.elapsed() / 1000.0, 'f', 1) + QStringLiteral(" s");
}

bool CheckInputs(const CompilerInputs& inputs, QString* error) {
    const struct {
        const QString& path;
        const char* what;
        bool folder;
    } required[] = {
        {inputs.unihanDir, "Unihan folder (--unihan)", true},
        {inputs.radicalsFile, "radical list (--radicals)", false},
        {inputs.cedictFile, "CC-CEDICT file (--cedict)", false},
        {inputs.toJyutpingDir, "to-jyutping package (--to-jyutping)", true},
    };
    for (const auto& input : required) {
        const QFileInfo info(input.path);
        if (input.path.isEmpty() || !info.exists() || (input.folder ? !info.isDir() : !info.isFile())) {
            *error =
                QStringLiteral("the %1 was not found: %2").arg(QString::fromLatin1(input.what), input.path);
            return false;
        }
    }
    if (!inputs.wordCountsFile.isEmpty() && !QFileInfo(inputs.wordCountsFile).isFile()) {
        *error =
            QStringLiteral("the word counts (--word-counts) were not found: %1").arg(inputs.wordCountsFile);
        return false;
    }
    if (!inputs.rimeDir.isEmpty() && !QFileInfo(inputs.rimeDir).isDir()) {
        *error = QStringLiteral("the rime-cantonese folder (--rime) was not found: %1").arg(inputs.rimeDir);
        return false;
    }
    if (!inputs.strokeOrderDir.isEmpty() && !QFileInfo(inputs.strokeOrderDir).isDir()) {
        *error = QStringLiteral("the stroke-order package (--stroke-order) was not found: %1")
                     .arg(inputs.strokeOrderDir);
        return false;
    }
    if (inputs.outDir.isEmpty()) {
        *error = QStringLiteral("no output folder given (--out)");
        return false;
    }
    if (inputs.version == 0) {
        *error = QStringLiteral("the data version must be 1 or more");
        return false;
    }
    return true;
}

QString ReadTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The notices of the sources the data is derived from. Best effort: a
// notice that cannot be read is replaced by where its license is found.
QString LicenseNotices(const CompilerInputs& inputs, const SourceData& source) {
    QString text =
        QStringLiteral("The files in this folder were built by the Quillory data compiler and are derived\n"
                       "from the sources below. They are distributed under the terms of those sources.\n");
    const auto section = [&text](const QString& title, QString body) {
        text += QStringLiteral("\n==== %1 ====\n\n").arg(title);
        text += body.trimmed() + u'\n';
    };

    QString cedict = source.cedictHeader;
    if (cedict.isEmpty())
        cedict =
            QStringLiteral("CC-CEDICT, Creative Commons Attribution-ShareAlike 4.0 International License\n"
                           "https://creativecommons.org/licenses/by-sa/4.0/");
    section(QStringLiteral("CC-CEDICT (words, English glosses, Pinyin)"), cedict);

    QString unicode = ReadTextFile(QString::fromLatin1(kUnicodeCopyright));
    if (unicode.isEmpty())
        unicode = QStringLiteral("Unicode data files license: https://www.unicode.org/license.txt");
    section(QStringLiteral("Unicode Character Database: Unihan, CJKRadicals (modified: derived data)"),
            unicode);

    const QFileInfo module(inputs.toJyutpingDir);
    const QString packageDir = module.isDir() ? module.absoluteFilePath() : module.absolutePath();
    QString jyutping = ReadTextFile(QDir(packageDir).filePath(QStringLiteral("LICENSE")));
    if (jyutping.isEmpty())
        jyutping = QStringLiteral("to-jyutping, BSD 2-Clause License");
    section(QStringLiteral("to-jyutping (Cantonese readings)"), jyutping);

    if (!inputs.wordCountsFile.isEmpty()) {
        QString jieba = ReadTextFile(QString::fromLatin1(kJiebaCopyright));
        if (jieba.isEmpty())
            jieba = QStringLiteral("jieba, Copyright 2012-2017 Sun Junyi, MIT (Expat) License");
        section(QStringLiteral("jieba's dictionary (word frequencies)"), jieba);
    }

    if (!inputs.rimeDir.isEmpty()) {
        QString rime = ReadTextFile(QString::fromLatin1(kRimeCopyright));
        if (rime.isEmpty())
            rime = QStringLiteral("rime-cantonese, Creative Commons Attribution 4.0 International License\n"
                                  "https://creativecommons.org/licenses/by/4.0/");
        section(QStringLiteral("rime-cantonese (Cantonese words, Jyutping of words and characters, Cantonese "
                               "word counts; modified: derived data)"),
                rime);
    }

    if (!inputs.strokeOrderDir.isEmpty()) {
        QString arphic = StrokeLicenseText(inputs.strokeOrderDir);
        if (arphic.isEmpty())
            arphic = QStringLiteral("Arphic Public License");
        section(QStringLiteral("hanzi-writer-data (%1, %2: stroke outlines and order; license also in %3)")
                    .arg(QLatin1String(stroke::kStrokeFontFileName),
                         QLatin1String(stroke::kStrokeOrderFileName),
                         QLatin1String(stroke::kStrokeLicenseFileName)),
                arphic);
    }

    section(PinyinFontFileName(),
            QStringLiteral("Derived from the font %1. Its copyright and license notices are kept in the\n"
                           "font's name table.")
                .arg(QFileInfo(DefaultPinyinFontBase()).fileName()));
    return text;
}

bool WriteTextFile(const QString& path, const QString& text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0 ||
        !file.flush()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool MergeRimeCantonese(const QString& dir, SourceData& source, QTextStream& progress, QString* error) {
    QElapsedTimer step;
    step.start();
    RimeCantonese rime;
    RimeStats read;
    if (!ReadRimeCantonese(dir, rime, error, &read))
        return false;
    ChineseScript script;
    const ToSimplified toSimplified = [&script](const QString& text) {
        return script.Convert(text, ScriptDirection::ToSimplified, ChineseVariant::Standard);
    };
    CantoneseStats merged;
    if (!MergeCantonese(std::move(rime), source, toSimplified, error, &merged)) {
        if (!script.error().isEmpty())
            *error += QStringLiteral(": ") + script.error();
        return false;
    }
    progress << "rime-cantonese: " << read.wordLines << " word, " << read.characterLines << " character and "
             << read.countLines << " count lines, " << read.skippedLines << " lines skipped; "
             << merged.wordsAdded << " words added, " << merged.tonesTaken << " changed tones and "
             << merged.missingFilled << " missing readings taken, " << merged.characterReadingsAdded
             << " character readings added, " << merged.charactersReordered
             << " characters with another first reading (" << Seconds(step) << ")" << Qt::endl;
    return true;
}

} // namespace

QStringList CompiledDataFiles() {
    return {QStringLiteral("oxa.dat"), QStringLiteral("ghi.dat"),    QStringLiteral("ijk.dat"),
            QStringLiteral("jkl.dat"), QStringLiteral("hij.dat"),    QStringLiteral("records.db"),
            PinyinFontFileName(),      QStringLiteral("sounds.dat"), QString::fromLatin1(kLicenseFile)};
}

QStringList StrokeDataFiles() {
    return {QLatin1String(stroke::kStrokeFontFileName), QLatin1String(stroke::kStrokeOrderFileName),
            QLatin1String(stroke::kStrokeLicenseFileName)};
}

bool ReadSources(const CompilerInputs& inputs, SourceData* source, QTextStream& progress, QString* error) {
    QElapsedTimer step;

    step.start();
    if (!ReadUnihan(inputs.unihanDir, *source, error))
        return false;
    progress << "Unihan: " << source->characters.size() << " characters (" << Seconds(step) << ")"
             << Qt::endl;

    step.start();
    if (!ReadRadicalForms(inputs.radicalsFile, *source, error))
        return false;
    progress << "Radicals: " << source->radicalForms.size() << " radical forms (" << Seconds(step) << ")"
             << Qt::endl;

    step.start();
    CedictStats cedict;
    if (!ReadCedict(inputs.cedictFile, *source, error, &cedict))
        return false;
    progress << "CC-CEDICT: " << cedict.entries << " entries, " << cedict.singleCharacterEntries
             << " of one character, " << cedict.skippedLines << " lines skipped (" << Seconds(step) << ")"
             << Qt::endl;

    step.start();
    JyutpingTool tool;
    tool.moduleDir = inputs.toJyutpingDir;
    tool.scriptPath = inputs.jyutpingScript;
    JyutpingStats jyutping;
    if (!AnnotateJyutping(tool, *source, error, &jyutping))
        return false;
    progress << "to-jyutping: " << jyutping.wordsRead << " words read, " << jyutping.candidatesAdded
             << " character readings added (" << Seconds(step) << ")" << Qt::endl;

    if (!inputs.wordCountsFile.isEmpty()) {
        step.start();
        WordCountStats counts;
        if (!ReadWordCounts(inputs.wordCountsFile, *source, error, &counts))
            return false;
        progress << "Word counts: " << counts.words << " words, " << counts.skippedLines << " lines skipped ("
                 << Seconds(step) << ")" << Qt::endl;
    }
    return inputs.rimeDir.isEmpty() || MergeRimeCantonese(inputs.rimeDir, *source, progress, error);
}

bool CompileData(const CompilerInputs& inputs, QTextStream& progress, QString* error) {
    QElapsedTimer total;
    total.start();
    if (!CheckInputs(inputs, error))
        return false;

    SourceData source;
    if (!ReadSources(inputs, &source, progress, error))
        return false;

    StagingFolder staging(inputs.outDir);
    if (!staging.Create(error))
        return false;

    QElapsedTimer step;
    step.start();
    IndexContent index;
    index.version = inputs.version;
    ListFilesStats lists;
    if (!WriteListFiles(source, staging.path(), index, error, &lists))
        return false;
    progress << "List files: " << lists.chunks << " chunks (" << Seconds(step) << ")" << Qt::endl;

    step.start();
    SoundBuildStats sounds;
    if (!WriteSyllableSounds(source, inputs.recordSounds, staging.FilePath(QStringLiteral("sounds.dat")),
                             index, error, &sounds))
        return false;
    progress << "Sounds: " << sounds.pinyinRecorded << " Pinyin and " << sounds.jyutpingRecorded
             << " Jyutping syllables recorded, " << sounds.leftOut << " syllabic nasals left out ("
             << Seconds(step) << ")" << Qt::endl;
    for (const QString& failure : sounds.failures)
        progress << "  warning: " << failure << Qt::endl;

    StrokeDataStats strokes;
    if (!inputs.strokeOrderDir.isEmpty()) {
        step.start();
        if (!WriteStrokeData(inputs.strokeOrderDir, source, staging.path(), index, error, &strokes))
            return false;
        progress << "Stroke order: " << strokes.characters << " characters, " << strokes.strokes
                 << " strokes, " << strokes.chunks << " chunks (" << Seconds(step) << ")" << Qt::endl;
        for (const QString& warning : strokes.warnings)
            progress << "  warning: " << warning << Qt::endl;
    }

    step.start();
    IndexFileStats indexStats;
    if (!WriteIndexFile(index, staging.FilePath(QStringLiteral("oxa.dat")), error, &indexStats))
        return false;
    progress << "Index: " << indexStats.inflatedSize << " bytes inflated, " << indexStats.paddingSize
             << " of them padding (" << Seconds(step) << ")" << Qt::endl;

    step.start();
    RecordStoreStats records;
    if (!WriteRecordStore(source, staging.FilePath(QStringLiteral("records.db")), error, &records))
        return false;
    progress << "Record store: " << records.characters << " characters, " << records.words << " words, "
             << records.readingKeys << " reading keys (" << Seconds(step) << ")" << Qt::endl;

    step.start();
    if (!WritePinyinFont(staging.FilePath(PinyinFontFileName()), error))
        return false;
    progress << "Pinyin font: " << PinyinFontFileName() << " (" << Seconds(step) << ")" << Qt::endl;

    if (!WriteTextFile(staging.FilePath(QString::fromLatin1(kLicenseFile)), LicenseNotices(inputs, source),
                       error))
        return false;
    const QStringList written =
        CompiledDataFiles() + (inputs.strokeOrderDir.isEmpty() ? QStringList() : StrokeDataFiles());
    for (const QString& name : written) {
        if (!QFileInfo(staging.FilePath(name)).isFile()) {
            *error = QStringLiteral("%1 was not written").arg(name);
            return false;
        }
    }
    if (!staging.Commit(error))
        return false;

    const QDir out(inputs.outDir);
    progress << "Summary:" << Qt::endl;
    progress << "  characters: " << source.characters.size() << " (" << lists.characters << " in the lists)"
             << Qt::endl;
    progress << "  words: " << source.words.size() << Qt::endl;
    progress << "  Pinyin syllables: " << lists.pinyinSyllables
             << ", Jyutping syllables: " << lists.jyutpingSyllables
             << ", readings skipped: " << lists.skippedReadings << Qt::endl;
    progress << "  stroke counts: " << lists.strokeCounts << ", radical keys: " << lists.radicalKeys
             << ", chunks: " << lists.chunks << Qt::endl;
    progress << "  sounds: " << sounds.pinyinRecorded << " Pinyin, " << sounds.jyutpingRecorded
             << " Jyutping, " << sounds.failures.size() << " failed" << Qt::endl;
    if (strokes.comparedWithUnihan > 0)
        progress << "  stroke counts equal to Unihan's kTotalStrokes: " << strokes.agreeingWithUnihan
                 << " of " << strokes.comparedWithUnihan << " ("
                 << QString::number(100.0 * strokes.agreeingWithUnihan / strokes.comparedWithUnihan, 'f', 1)
                 << " %)" << Qt::endl;
    for (const QString& name : written)
        progress << "  " << name << ": " << QFileInfo(out.filePath(name)).size() << " bytes" << Qt::endl;
    progress << "  total time: " << Seconds(total) << Qt::endl;
    return true;
}

} // namespace quillory::datagen
