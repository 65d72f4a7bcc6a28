#include "datagen/sources/RadicalFormsReader.h"

#include "datagen/sources/Bzip2.h"

#include <QList>
#include <algorithm>

namespace quillory::datagen {

namespace {

bool IsRadicalKey(QStringView key) {
    qsizetype digits = 0;
    while (digits < key.size() && key[digits].isDigit() && key[digits].unicode() < 0x80)
        ++digits;
    return digits > 0 && (digits == key.size() || (digits + 1 == key.size() && key[digits] == u'\''));
}

} // namespace

bool IsRadicalCharacter(std::uint32_t code) {
    return (code >= 0x2E80 && code <= 0x2EFF) || (code >= 0x2F00 && code <= 0x2FDF);
}

bool AddRadicalFormsLine(QStringView line, SourceData& source) {
    const qsizetype hash = line.indexOf(u'#');
    if (hash >= 0)
        line = line.first(hash);
    const auto fields = line.split(u';');
    if (fields.size() < 2)
        return false;
    const QString key = fields[0].trimmed().toString();
    if (!IsRadicalKey(key))
        return false;
    std::vector<std::uint32_t> ideographs;
    std::vector<std::uint32_t> radicalCharacters;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const QStringView hex = fields[i].trimmed();
        if (hex.isEmpty())
            continue; // a radical without its own character
        bool ok = false;
        const std::uint32_t code = hex.toUInt(&ok, 16);
        if (!ok || code == 0 || code > 0x10FFFF)
            return false;
        std::vector<std::uint32_t>& codes = IsRadicalCharacter(code) ? radicalCharacters : ideographs;
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
    }
    // The radical characters only repeat the ideograph's shape; they stand
    // for the radical only where the line gives no ideograph.
    const std::vector<std::uint32_t>& codes = ideographs.empty() ? radicalCharacters : ideographs;
    if (codes.empty())
        return false;
    std::vector<std::uint32_t>& forms = source.radicalForms[key];
    for (std::uint32_t code : codes)
        if (std::find(forms.begin(), forms.end(), code) == forms.end())
            forms.push_back(code);
    return true;
}

bool ReadRadicalForms(const QString& path, SourceData& source, QString* error) {
    QByteArray content;
    if (!ReadSourceFile(path, &content, error))
        return false;
    int lines = 0;
    const QString text = QString::fromUtf8(content);
    for (QStringView line : QStringView(text).split(u'\n'))
        if (AddRadicalFormsLine(line, source))
            ++lines;
    if (lines == 0) {
        *error = QStringLiteral("no radical lines found in %1").arg(path);
        return false;
    }
    return true;
}

} // namespace quillory::datagen
