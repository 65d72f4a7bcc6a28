// The Lesson Editor's rules without its window: file names, syllables, and
// the syllables played one after another.
#include "lessons/editor/EditorRules.h"
#include "lessons/editor/SyllableSequence.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(EditorRules, OfferedNamesAndExtensions) {
    const struct {
        bool library;
        const char* fileField;
        const char* english;
        const char* offered;
    } offers[] = {{true, "Lesson ID: 3", "Family", "Family.oxa"},
                  {false, "  ", "Family", "Family.oxa"},
                  {false, "", "", ""},
                  {false, "/home/u/lessons/mine.oxa", "Family", "mine.oxa"}};
    for (const auto& o : offers) {
        EXPECT_EQ(OfferedSaveName(o.library, o.fileField, o.english), QString::fromUtf8(o.offered))
            << o.fileField;
    }
    EXPECT_EQ(WithOxaExtension("a"), "a.oxa");
    EXPECT_EQ(WithOxaExtension("b.OXA"), "b.OXA");
    EXPECT_EQ(WithOxaExtension("c.oxa.txt"), "c.oxa.txt.oxa");
}

TEST(EditorRules, SyllablesPlayOneAfterAnotherSkippingSilentOnes) {
    EXPECT_EQ(SpokenSyllables(u"ni3 hao3 ma5? Nei5, hou2!"_qs),
              (QStringList{"ni3", "hao3", "ma5", "nei5", "hou2"}));
    QStringList played;
    SyllableSequence sequence([&](const QString& syllable, Scheme) {
        played.append(syllable);
        return syllable != "xx1"; // no sound for xx1
    });
    sequence.Start({"xx1", "ni3", "xx1", "hao3"}, Scheme::Pinyin);
    EXPECT_EQ(played, (QStringList{"xx1", "ni3"}));
    sequence.PlayNext(); // ni3 finished
    EXPECT_EQ(played, (QStringList{"xx1", "ni3", "xx1", "hao3"}));
    sequence.PlayNext();
    sequence.PlayNext(); // nothing more to play
    EXPECT_EQ(played.size(), 4);
    EXPECT_TRUE(sequence.waiting().isEmpty());
}

} // namespace
} // namespace quillory
