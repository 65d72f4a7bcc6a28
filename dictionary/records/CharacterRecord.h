#pragma once
#include <QString>
#include <cstdint>

namespace quillory {

// One character's entry as the page builder receives it: a code point and
// 13 text fields in a fixed order. Fields 5, 6, 10, 12 and 13 are not shown
// on pages; the record store fills them with data other tools can use.
struct CharacterRecord {
    std::uint32_t code = 0;
    QString pinyin;   // 1: "zhong1 zhong4"
    QString jyutping; // 2: "zung1 zung3"
    QString strokes;  // 3: "4"
    QString radical;  // 4: "2.3", "168'.0"
    QString field5;   // 5: frequency grade "1" (most common) .. "5"; empty when ungraded
    QString field6;   // 6: number of dictionary words holding the character, "0" when none
    QString english2; // 7: shown only when english is empty
    QString fanti;    // 8: traditional forms, hex code points separated by blanks
    QString jianti;   // 9: simplified forms, same form
    QString field10;  // 10: readings with tone marks, "zhōng zhòng"
    QString english;  // 11: meanings separated by " / "
    QString field12;  // 12: forms of the radical, hex code points separated by blanks ("4E28")
    QString field13;  // 13: up to 8 common words holding the character, separated by blanks
};

} // namespace quillory
