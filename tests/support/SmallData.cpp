#include "tests/support/SmallData.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

namespace quillory::testing {


datagen::CompilerInputs SmallDataInputs(const QString& outDir) {
    const QDir data(QStringLiteral(QUILLORY_TEST_DATA_DIR));
    datagen::CompilerInputs inputs;
    inputs.unihanDir = data.filePath(QStringLiteral("unihan"));
    inputs.radicalsFile = data.filePath(QStringLiteral("CJKRadicals.txt"));
    inputs.cedictFile = data.filePath(QStringLiteral("cedict_ts.u8"));
    inputs.toJyutpingDir = QStringLiteral(QUILLORY_NPM_DIR "/to-jyutping/package");
    inputs.outDir = outDir;
    inputs.version = 1;
    // Recording takes seconds; the tests of the sound step turn it on.
    inputs.recordSounds = false;
    return inputs;
}

QString BuildSmallDataFolder(QString* error) {
    static std::unique_ptr<QTemporaryDir> folder;
    static QString built;
    if (!built.isEmpty())
        return built;

    folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        *error = QStringLiteral("cannot create a temporary folder: %1").arg(folder->errorString());
        return {};
    }
    const QString out = folder->filePath(QStringLiteral("data"));
    const datagen::CompilerInputs inputs = SmallDataInputs(out);
    QString progressText;
    QTextStream progress(&progressText);
    if (!datagen::CompileData(inputs, progress, error))
        return {};
    built = out;
    return built;
}

} // namespace quillory::testing
