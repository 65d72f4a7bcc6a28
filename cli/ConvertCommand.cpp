#include "cli/ConvertCommand.h"

#include "cli/LookupCommands.h"
#include "dictionary/Dictionary.h"
#include "tools/convert/TextConverter.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <optional>

namespace quillory::cli {

namespace {

struct ConvertOptions {
    TextKind from = TextKind::GB;
    TextKind to = TextKind::GB;
    ChineseVariant variant = ChineseVariant::Standard;
};

std::optional<ConvertOptions> ParseOptions(const QStringList& words, QString* error) {
    ConvertOptions options;
    bool haveFrom = false;
    bool haveTo = false;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& option = words[i];
        if (i + 1 >= words.size()) {
            *error = QStringLiteral("'%1' needs a value").arg(option);
            return std::nullopt;
        }
        const QString value = words[++i];
        if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            const auto kind = KindFromOption(value);
            if (!kind) {
                *error =
                    QStringLiteral("unknown text kind '%1' (gb, big5, pinyin, jyutping, html)").arg(value);
                return std::nullopt;
            }
            (option == QLatin1String("--from") ? options.from : options.to) = *kind;
            (option == QLatin1String("--from") ? haveFrom : haveTo) = true;
        } else if (option == QLatin1String("--variant")) {
            if (value == QLatin1String("tw")) {
                options.variant = ChineseVariant::Taiwan;
            } else if (value == QLatin1String("hk")) {
                options.variant = ChineseVariant::HongKong;
            } else {
                *error = QStringLiteral("--variant takes tw or hk");
                return std::nullopt;
            }
        } else {
            *error = QStringLiteral("unknown option '%1' of 'convert'").arg(option);
            return std::nullopt;
        }
    }
    if (!haveFrom || !haveTo) {
        *error = QStringLiteral("'convert' needs --from KIND and --to KIND");
        return std::nullopt;
    }
    if (!IsOffered(options.from, options.to)) {
        *error = QStringLiteral("%1 text does not convert into %2")
                     .arg(KindName(options.from), KindName(options.to));
        return std::nullopt;
    }
    return options;
}

} // namespace

bool IsConvertCommand(const QStringList& words) {
    return !words.isEmpty() && words.first() == QLatin1String("convert");
}

int RunConvertCommand(const QStringList& words, const QString& dataFolder) {
    QTextStream err(stderr);
    QString error;
    const auto options = ParseOptions(words, &error);
    if (!options) {
        err << "quillory-cli: " << error << "\n\n" << ConvertUsageText();
        return kBadUsage;
    }
    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly)) {
        err << "quillory-cli: cannot use standard input and output\n";
        return kBadUsage;
    }
    const QString text = QString::fromUtf8(in.readAll());
    TextConverter converter(QDir(dataFolder).filePath(Dictionary::recordStoreName()));
    const ConversionResult result = converter.ConvertText(text, options->from, options->to, options->variant);
    if (!result.ok()) {
        err << "quillory-cli: " << result.error << '\n';
        return kDataUnavailable;
    }
    out.write(result.text.toUtf8());
    return kFound;
}

QString ConvertUsageText() {
    return QStringLiteral(
        "       quillory-cli [--data FOLDER] convert --from KIND --to KIND [--variant tw|hk]\n"
        "                    standard input converted to standard output; KIND is gb, big5, pinyin,\n"
        "                    jyutping or html; --variant chooses Taiwan or Hong Kong traditional forms\n");
}

} // namespace quillory::cli
