#include "datagen/PinyinFont.h"

#include <QFileInfo>
#include <QProcess>

namespace quillory::datagen {

namespace {

// Debian's interpreter, the one python3-fonttools installs into; a python3
// found first in PATH may be another installation without fontTools.
const char* const kPython = "/usr/bin/python3";
const int kTimeoutMs = 120000;

QString ScriptPath() {
#ifdef QUILLORY_DATAGEN_SCRIPT_DIR
    return QStringLiteral(QUILLORY_DATAGEN_SCRIPT_DIR "/make_pinyin_font.py");
#else
    return {};
#endif
}

} // namespace

QString PinyinFontFileName() {
    return QStringLiteral("Oxapinyin.ttf");
}

QString DefaultPinyinFontBase() {
    return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
}

bool WritePinyinFont(const QString& outPath, QString* error, const QString& baseFont) {
    const QString python = QString::fromLatin1(kPython);
    if (!QFileInfo(python).isExecutable()) {
        *error = QStringLiteral("%1 is needed to build the Pinyin font (with python3-fonttools) but was not "
                                "found")
                     .arg(python);
        return false;
    }
    const QString script = ScriptPath();
    if (script.isEmpty() || !QFileInfo(script).isFile()) {
        *error = QStringLiteral("the Pinyin font script was not found: %1").arg(script);
        return false;
    }
    const QString base = baseFont.isEmpty() ? DefaultPinyinFontBase() : baseFont;
    if (!QFileInfo(base).isFile()) {
        *error =
            QStringLiteral("the base font of the Pinyin font was not found: %1 (package fonts-dejavu-core)")
                .arg(base);
        return false;
    }
    if (outPath.isEmpty()) {
        *error = QStringLiteral("no output file given for the Pinyin font");
        return false;
    }

    QProcess process;
    process.setProgram(python);
    // "--" keeps an output path that begins with a dash from being read as an option.
    process.setArguments({script, QStringLiteral("--base"), base, QStringLiteral("--"), outPath});
    process.start();
    if (!process.waitForStarted()) {
        *error = QStringLiteral("cannot run %1: %2").arg(python, process.errorString());
        return false;
    }
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("the Pinyin font script did not finish within %1 s").arg(kTimeoutMs / 1000);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString why = QString::fromUtf8(process.readAllStandardError()).trimmed();
        *error = QStringLiteral("building the Pinyin font failed (exit code %1): %2")
                     .arg(process.exitCode())
                     .arg(why.isEmpty() ? process.errorString() : why);
        return false;
    }
    if (!QFileInfo(outPath).isFile()) {
        *error = QStringLiteral("the Pinyin font script reported success but wrote no %1").arg(outPath);
        return false;
    }
    return true;
}

} // namespace quillory::datagen
