#include "tools/convert/TextKind.h"

#include "settings/ProductInfo.h"

namespace quillory {

namespace {

bool IsReading(TextKind kind) {
    return kind == TextKind::Pinyin || kind == TextKind::Jyutping;
}

bool IsChinese(TextKind kind) {
    return kind == TextKind::GB || kind == TextKind::Big5;
}

} // namespace

QString KindName(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("GB");
    case 2:
        return QStringLiteral("Big5");
    case 3:
        return QStringLiteral("Pinyin");
    case 4:
        return QStringLiteral("Jyutping");
    case 5:
        return QStringLiteral("HTML");
    default:
        return QStringLiteral("Unknown");
    }
}

std::optional<TextKind> KindFromOption(const QString& name) {
    for (const TextKind kind : kAllTextKinds) {
        if (name.compare(KindOption(kind), Qt::CaseInsensitive) == 0) {
            return kind;
        }
    }
    return std::nullopt;
}

QString KindOption(TextKind kind) {
    return KindName(kind).toLower();
}

QString KindExtension(TextKind kind) {
    return kind == TextKind::Html ? QStringLiteral("html") : QStringLiteral("txt");
}

bool IsOffered(TextKind from, TextKind to) {
    if (from == to || IsChinese(from)) {
        return true;
    }
    if (IsReading(from)) {
        return to == TextKind::Html;
    }
    return IsChinese(to); // HTML decodes into Chinese text only
}

ArrowStates ArrowsFor(TextKind upper, TextKind lower) {
    ArrowStates arrows;
    if (IsReading(upper)) {
        (lower != TextKind::Html ? arrows.down : arrows.up) = false;
    }
    if (IsReading(lower)) {
        (upper != TextKind::Html ? arrows.up : arrows.down) = false;
    }
    if (upper == lower) {
        arrows = {};
    }
    return arrows;
}

QString ConverterTitle(TextKind upper, TextKind lower) {
    const ArrowStates arrows = ArrowsFor(upper, lower);
    return QStringLiteral("%1 - Converter - %2 %3-%4 %5")
        .arg(QString::fromLatin1(kProgramTitle), KindName(upper), arrows.up ? QStringLiteral("<") : QString(),
             arrows.down ? QStringLiteral(">") : QString(), KindName(lower));
}

} // namespace quillory
