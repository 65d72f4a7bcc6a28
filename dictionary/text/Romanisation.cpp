#include "dictionary/text/Romanisation.h"

#include <algorithm>
#include <array>
#include <span>

namespace quillory {

namespace {

// Table positions start at 1 (position 0 means "none") and are part of every
// stored SyllableId: entries may only ever be appended.
constexpr std::array<std::string_view, 23> kPinyinInitials = {
    "ch", "sh", "zh", "b", "c", "d", "f", "g", "h", "j", "k", "l",
    "m",  "n",  "p",  "q", "r", "s", "t", "w", "x", "y", "z",
};

constexpr std::array<std::string_view, 36> kPinyinFinals = {
    "a",   "ai",   "an",  "ang",  "ao", "e",   "ei",   "en", "eng", "er",  "i",  "ia",
    "ian", "iang", "iao", "ie",   "in", "ing", "iong", "iu", "o",   "ong", "ou", "u",
    "ua",  "uai",  "uan", "uang", "ue", "ui",  "un",   "uo", "v",   "van", "ve", "vn",
};

constexpr std::array<std::string_view, 19> kJyutpingInitials = {
    "gw", "kw", "ng", "c", "b", "d", "f", "g", "h", "z", "k", "l", "m", "n", "p", "s", "t", "w", "j",
};

constexpr std::array<std::string_view, 59> kJyutpingFinals = {
    "aa", "aai", "aak", "aam", "aan", "aang", "aap", "aat", "aau", "ai",  "ak",  "am",  "an",  "ang",  "ap",
    "at", "au",  "e",   "ei",  "ek",  "en",   "eng", "ep",  "et",  "oe",  "eoi", "oek", "eon", "oeng", "eot",
    "i",  "ik",  "im",  "in",  "ing", "ip",   "it",  "iu",  "o",   "oi",  "ok",  "om",  "on",  "ong",  "ot",
    "ou", "u",   "ui",  "uk",  "un",  "ung",  "ut",  "yu",  "yun", "yut", "m",   "ng",  "eu",  "em",
};

constexpr int kMaxSyllableLength = 100;

struct SchemeTables {
    std::span<const std::string_view> initials;
    std::span<const std::string_view> finals;
    int maxTone;
};

SchemeTables TablesFor(Scheme scheme) {
    if (scheme == Scheme::Pinyin) {
        return {kPinyinInitials, kPinyinFinals, 5};
    }
    return {kJyutpingInitials, kJyutpingFinals, 6};
}

// Position (1-based) of the entry equal to text, 0 when there is none.
int PositionOf(std::span<const std::string_view> table, std::string_view text) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == text) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

QStringView Trimmed(QStringView text) {
    while (!text.isEmpty() && IsBlank(text.front().unicode())) {
        text = text.mid(1);
    }
    while (!text.isEmpty() && IsBlank(text.back().unicode())) {
        text.chop(1);
    }
    return text;
}

int ToneOf(char32_t last, int maxTone) {
    if (last >= '1' && last < static_cast<char32_t>('1' + maxTone)) {
        return static_cast<int>(last - '0');
    }
    return 0;
}

SyllableId PackSyllable(int initial, int finalPosition, int tone) {
    const int high = initial * 8 + tone;
    const int repeatedInitialBit = (initial >> 4) & 1;
    const int repeatedToneBit = (tone >> 1) & 1;
    return static_cast<SyllableId>((high << 8) | (repeatedInitialBit << 7) | (repeatedToneBit << 6) |
                                   finalPosition);
}

// The letters that can take a tone mark; their index picks the marked form.
constexpr std::array<char16_t, 8> kMarkableLetters = {u'a', u'e', u'i', u'o', u'u', u'v', u'm', u'n'};

// Unicode forms; a zero entry means the letter has no precomposed form and
// takes a combining mark after it instead.
constexpr char16_t kUnicodeMarks[8][4] = {
    {0x0101, 0x00E1, 0x01CE, 0x00E0}, // a
    {0x0113, 0x00E9, 0x011B, 0x00E8}, // e
    {0x012B, 0x00ED, 0x01D0, 0x00EC}, // i
    {0x014D, 0x00F3, 0x01D2, 0x00F2}, // o
    {0x016B, 0x00FA, 0x01D4, 0x00F9}, // u
    {0x01D6, 0x01D8, 0x01DA, 0x01DC}, // v (ü)
    {0, 0x1E3F, 0, 0},                // m
    {0, 0x0144, 0x0148, 0x01F9},      // n
};
constexpr char16_t kCombiningMarks[4] = {0x0304, 0x0301, 0x030C, 0x0300};

constexpr char16_t kUnicodeUmlautU = 0x00FC;
constexpr char16_t kFontUmlautU = 0x00BF;
// Display font codes: letter k, tone t (1-4) is 0xC0 + 4 * k + (t - 1).
constexpr char16_t kFontFirstMarked = 0x00C0;

enum class MarkForm { Unicode, Font };

QString MarkedLetter(int letterIndex, int tone, MarkForm form) {
    const char16_t letter = kMarkableLetters[static_cast<std::size_t>(letterIndex)];
    if (tone == 5) {
        if (letter == u'v') {
            return QString(QChar(form == MarkForm::Unicode ? kUnicodeUmlautU : kFontUmlautU));
        }
        return QString(QChar(letter));
    }
    if (form == MarkForm::Font) {
        return QString(QChar(static_cast<char16_t>(kFontFirstMarked + 4 * letterIndex + (tone - 1))));
    }
    const char16_t precomposed = kUnicodeMarks[letterIndex][tone - 1];
    if (precomposed != 0) {
        return QString(QChar(precomposed));
    }
    return QString(QChar(letter)) + QChar(kCombiningMarks[tone - 1]);
}

bool IsLatin1(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() > 0xFF) {
            return false;
        }
    }
    return true;
}

// The letters before a tone digit: at least one Latin letter and no digit.
// This keeps numbers ("room 101", "3.14") and Chinese text followed by a
// digit from losing that digit as though it were a tone.
bool LooksLikeSyllable(QStringView letters) {
    bool hasLatinLetter = false;
    for (QChar c : letters) {
        if (c.isDigit()) {
            return false;
        }
        if (c >= QChar(u'a') && c <= QChar(u'z')) {
            hasLatinLetter = true;
        }
    }
    return hasLatinLetter;
}

// The letter of a toneless syllable that takes the tone mark, by the
// standard rule: a or e when present; else the o of ou; else the last vowel
// (the second of iu and ui: liù, guǐ; the o of iong and uo: xióng, duō);
// a syllable without a vowel (the nasals m, n, ng, hm, hng) marks its m,
// else its n. -1 when no letter can take the mark.
qsizetype MarkPosition(QStringView text) {
    for (char16_t open : {u'a', u'e'}) {
        if (const qsizetype at = text.indexOf(QChar(open)); at >= 0) {
            return at;
        }
    }
    if (const qsizetype at = text.indexOf(u"ou"); at >= 0) {
        return at;
    }
    for (qsizetype at = text.size() - 1; at >= 0; --at) {
        if (QStringView(u"iouv").contains(text[at])) {
            return at;
        }
    }
    for (char16_t nasal : {u'm', u'n'}) {
        if (const qsizetype at = text.indexOf(QChar(nasal)); at >= 0) {
            return at;
        }
    }
    return -1;
}

std::optional<QString> MarkSyllable(QStringView syllable, MarkForm form) {
    const QStringView trimmed = Trimmed(syllable);
    if (trimmed.isEmpty() || trimmed.size() > kMaxSyllableLength) {
        return std::nullopt;
    }
    // The display font has codes for Latin-1 text only.
    if (form == MarkForm::Font && !IsLatin1(trimmed)) {
        return std::nullopt;
    }
    QString text = trimmed.toString().toLower();
    const int tone = ToneOf(text.back().unicode(), 5);
    if (tone == 0) {
        return std::nullopt;
    }
    text.chop(1);
    if (!LooksLikeSyllable(text)) {
        return std::nullopt;
    }

    // Every v other than a marked one shows as ü.
    const QChar umlautU(form == MarkForm::Unicode ? kUnicodeUmlautU : kFontUmlautU);
    const qsizetype at = MarkPosition(text);
    if (at < 0) {
        return text.replace(QChar(u'v'), umlautU);
    }
    const auto letter = std::find(kMarkableLetters.begin(), kMarkableLetters.end(), text[at].unicode());
    const QString before = text.left(at).replace(QChar(u'v'), umlautU);
    const QString after = text.mid(at + 1).replace(QChar(u'v'), umlautU);
    return before + MarkedLetter(static_cast<int>(letter - kMarkableLetters.begin()), tone, form) + after;
}

qsizetype FirstPieceEnd(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'1' && c <= u'5') {
            return i;
        }
    }
    return -1;
}

QString MarkPinyinText(QStringView text, MarkForm form) {
    QString result;
    result.reserve(text.size());
    QStringView rest = text;
    for (;;) {
        const qsizetype digit = FirstPieceEnd(rest);
        if (digit < 0) {
            result += rest;
            return result;
        }
        QStringView piece = rest.left(digit + 1);
        rest = rest.mid(digit + 1);

        // Only the last word before the digit is the syllable.
        for (char16_t separator : {u' ', u'\t', u'\n', u'\r'}) {
            const qsizetype at = piece.lastIndexOf(QChar(separator));
            if (at >= 0) {
                result += piece.left(at + 1);
                piece = piece.mid(at + 1);
            }
        }

        if (piece.size() == 1) {
            result += piece; // a lone digit is no syllable
            continue;
        }
        if (form == MarkForm::Font && piece.contains(QChar(u'\\'))) {
            // A backslash keeps the syllable in digit form.
            for (QChar c : piece) {
                if (c != QChar(u'\\')) {
                    result += c;
                }
            }
            continue;
        }
        const std::optional<QString> marked = MarkSyllable(piece, form);
        if (marked) {
            result += *marked;
        } else {
            result += piece;
        }
    }
}

} // namespace

int PinyinTone(std::string_view text) {
    return text.empty() ? 0 : ToneOf(static_cast<unsigned char>(text.back()), 5);
}

int JyutpingTone(std::string_view text) {
    return text.empty() ? 0 : ToneOf(static_cast<unsigned char>(text.back()), 6);
}

std::optional<SyllableId> EncodeSyllable(std::string_view text, Scheme scheme) {
    const SchemeTables tables = TablesFor(scheme);
    std::string_view body = Trimmed(text);
    // Longer texts are refused rather than cut, so that a cut never turns a
    // longer text into a syllable.
    if (body.empty() || body.size() > kMaxSyllableLength) {
        return std::nullopt;
    }
    const int tone = ToneOf(static_cast<unsigned char>(body.back()), tables.maxTone);
    if (tone == 0) {
        return std::nullopt;
    }
    body.remove_suffix(1);

    int initial = 0;
    std::string_view rest = body;
    for (std::size_t i = 0; i < tables.initials.size(); ++i) {
        if (body.starts_with(tables.initials[i])) {
            initial = static_cast<int>(i) + 1;
            rest = body.substr(tables.initials[i].size());
            break;
        }
    }
    // Syllables such as Jyutping m4 and ng5 consist of a final that is
    // spelled like an initial: they have no initial.
    if (initial != 0 && rest.empty()) {
        initial = 0;
        rest = body;
    }
    const int finalPosition = PositionOf(tables.finals, rest);
    if (finalPosition == 0) {
        return std::nullopt;
    }
    return PackSyllable(initial, finalPosition, tone);
}

std::optional<std::string> DecodeSyllable(SyllableId id, Scheme scheme) {
    const SchemeTables tables = TablesFor(scheme);
    const int initial = (id >> 11) & 0x1F;
    const int tone = (id >> 8) & 0x07;
    const int finalPosition = id & 0x3F;
    if (initial > static_cast<int>(tables.initials.size()) ||
        finalPosition > static_cast<int>(tables.finals.size())) {
        return std::nullopt;
    }
    std::string text;
    if (initial > 0) {
        text += tables.initials[static_cast<std::size_t>(initial - 1)];
    }
    if (finalPosition > 0) {
        text += tables.finals[static_cast<std::size_t>(finalPosition - 1)];
    }
    if (text.empty() || tone < 1 || tone > tables.maxTone) {
        return std::nullopt;
    }
    text += static_cast<char>('0' + tone);
    return text;
}

std::optional<QString> MarkSyllableUnicode(QStringView syllable) {
    return MarkSyllable(syllable, MarkForm::Unicode);
}

std::optional<QString> MarkSyllableFont(QStringView syllable) {
    return MarkSyllable(syllable, MarkForm::Font);
}

QString MarkPinyinUnicode(QStringView text) {
    return MarkPinyinText(text, MarkForm::Unicode);
}

QString MarkPinyinFont(QStringView text) {
    return MarkPinyinText(text, MarkForm::Font);
}

QString FontFormToUnicode(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == kFontUmlautU) {
            result += QChar(kUnicodeUmlautU);
        } else if (code >= kFontFirstMarked && code < kFontFirstMarked + 4 * 8) {
            const int offset = code - kFontFirstMarked;
            result += MarkedLetter(offset / 4, offset % 4 + 1, MarkForm::Unicode);
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace quillory
