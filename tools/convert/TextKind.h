#pragma once
// The Converter's text kinds, which conversions between them are offered,
// and the arrows and title that follow from the two chosen kinds.
#include <QString>
#include <optional>

namespace quillory {

enum class TextKind : int { GB = 1, Big5 = 2, Pinyin = 3, Jyutping = 4, Html = 5 };

inline constexpr TextKind kAllTextKinds[] = {TextKind::GB, TextKind::Big5, TextKind::Pinyin,
                                             TextKind::Jyutping, TextKind::Html};

// The name shown in the title: "GB", "Big5", "Pinyin", "Jyutping", "HTML";
// "Unknown" for any other number.
QString KindName(int kind);
inline QString KindName(TextKind kind) {
    return KindName(static_cast<int>(kind));
}

// The kind a command line names: gb, big5, pinyin, jyutping, html (any case).
std::optional<TextKind> KindFromOption(const QString& name);
QString KindOption(TextKind kind);

// The usual file name extension of a kind's text ("txt", "html").
QString KindExtension(TextKind kind);

// Whether text of one kind converts into the other.
bool IsOffered(TextKind from, TextKind to);

struct ArrowStates {
    bool down = true; // upper box into the lower
    bool up = true;   // lower box into the upper
    bool operator==(const ArrowStates&) const = default;
};

// The arrows for an upper and a lower kind: Pinyin and Jyutping convert only
// into HTML, HTML never into Pinyin or Jyutping, equal kinds copy.
ArrowStates ArrowsFor(TextKind upper, TextKind lower);

// "Tessaravin - Quillory - Converter - GB <-> HTML": the kinds with "<" when
// the up arrow and ">" when the down arrow is enabled.
QString ConverterTitle(TextKind upper, TextKind lower);

} // namespace quillory
