// The category tree: item data, the nodes built from a listing and from real
// data, labels in other languages, lesson notices, and what clicks ask for.
#include "controls/tree/CategoryTree.h"
#include "dictionary/Dictionary.h"
#include "dictionary/text/GbkCodec.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/SmallData.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace quillory;
using namespace Qt::StringLiterals;

namespace {

// Each slot gets a font that tells which slot it is.
QFont SlotFont(int slot) {
    QFont font(u"Slot%1"_s.arg(slot));
    font.setPointSize(10 + slot);
    return font;
}

int SlotOf(const QTreeWidgetItem* item) {
    return item->font(0).pointSize() - 10;
}

SyllableId Syllable(const char* text, Scheme scheme = Scheme::Pinyin) {
    return *EncodeSyllable(text, scheme);
}

// The root with the data; an empty node when there is none.
const TreeNode& Root(const std::vector<TreeNode>& roots, std::uint32_t data) {
    static const TreeNode none;
    const auto root =
        std::find_if(roots.begin(), roots.end(), [&](const TreeNode& node) { return node.data == data; });
    return root == roots.end() ? none : *root;
}

// The nodes' texts in Unicode, each followed by its children's in brackets.
QString Outline(const std::vector<TreeNode>& nodes) {
    QStringList texts;
    for (const TreeNode& node : nodes)
        texts.append(FontFormToUnicode(node.text) +
                     (node.children.empty() ? u""_s : u'[' + Outline(node.children) + u']'));
    return texts.join(u", ");
}

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

// The text of the first item with each data; "<none>" where there is none.
QStringList Labels(const CUniTreeCtrl& tree, const std::vector<std::uint32_t>& items) {
    QStringList texts;
    for (const std::uint32_t data : items) {
        const QTreeWidgetItem* item = tree.FindItemByData(data);
        texts.append(item ? item->text(0) : u"<none>"_s);
    }
    return texts;
}

// The syllables of a Pinyin or Jyutping branch in Unicode; a letter seen
// twice, or a syllable seen twice or under a letter it does not start with,
// gives an error entry only.
QStringList Syllables(const TreeNode& branch) {
    QStringList letters, all;
    for (const TreeNode& letter : branch.children) {
        if (letters.contains(letter.text))
            return {u"repeated: "_s + letter.text};
        letters.append(letter.text);
        for (const TreeNode& syllable : letter.children) {
            const QString text = FontFormToUnicode(syllable.text);
            if (!text.startsWith(letter.text) || all.contains(text))
                return {u"misplaced or repeated: "_s + text};
            all.append(text);
        }
    }
    return all;
}

// The tree of a data folder's index; empty when the folder does not open.
std::vector<TreeNode> TreeOfFolder(const QString& folder) {
    RecordingReporter reporter;
    Dictionary dictionary(folder, reporter);
    return dictionary.Open() ? BuildCategoryTree(ListingFromIndex(dictionary.index()))
                             : std::vector<TreeNode>{};
}

CategoryListing PlainListing() {
    CategoryListing listing;
    listing.pinyin = {Syllable("ma1"),  Syllable("ma2"), Syllable("ma3"),    Syllable("lv3"),
                      Syllable("lve4"), 0xFFFF,          Syllable("zhong1"), Syllable("zhong4")};
    for (const char* text : {"jyut6", "m4", "ng5", "ng6", "zung1", "zung3"})
        listing.jyutping.push_back(Syllable(text, Scheme::Jyutping));
    listing.strokeCounts = {1, 2, 34, 44, 52, 64};
    listing.radicalTable = u"1.0\t4E00 0 1\n2.0\t2F00 0\n9'.0\t4EBB 2\n\n163.0\t9091 2 3\n"_s;
    listing.lessons.oxa = {{1, u"Lesson One"_s}, {2, u"Lesson Two"_s}};
    listing.lessons.html = {{3, u"Web Lesson"_s}};
    return listing;
}

// A built tree on screen, for tests that click it.
class ShownTree : public CUniTreeCtrl {
public:
    ShownTree() : CUniTreeCtrl(SlotFont) {
        Build(PlainListing());
        resize(300, 600);
        show();
    }

    // The centre of an item, its branch opened and scrolled into view.
    QPoint Centre(QTreeWidgetItem* item) {
        for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
            parent->setExpanded(true);
        scrollToItem(item);
        return visualItemRect(item).center();
    }

    void Click(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(viewport(), Qt::LeftButton, modifiers, Centre(item));
    }
};

std::optional<ProtocolRequest> Request(std::uint8_t command, std::uint32_t value) {
    return ProtocolRequest{command, value, {}};
}

} // namespace

class CategoryTreeTest : public QObject {
    Q_OBJECT

    RecordingReporter reporter_;
    std::unique_ptr<LanguageData> texts_;
    NameRegistry names_;

private slots:
    void initTestCase() {
        texts_ = std::make_unique<LanguageData>(reporter_);
        QVERIFY(texts_->Load(QString()));
        RegisterLabelKeys(*texts_, names_);
    }

    void itemDataKeepsValueAndKind() {
        const std::uint32_t data = MakeItemData(0xFFFF, kOxaLessonNode);
        QCOMPARE(data, 0xFFFF0006u);
        QCOMPARE(ItemValue(data), std::uint16_t(0xFFFF));
        QCOMPARE(ItemKind(data), std::uint16_t(kOxaLessonNode));
        QCOMPARE(LessonItemData(LessonFormat::Html, 12), 12u * 65536u + 5u);
        QCOMPARE(LessonItemData(LessonFormat::Oxa, 12), 12u * 65536u + 6u);
    }

    void branchesOfAPlainListing() {
        const std::vector<TreeNode> roots = BuildCategoryTree(PlainListing());
        // Pinyin: ma1, ma2, ma3 give one item; v shows as ü, without a tone
        // mark; the unknown id 0xFFFF gives none. Jyutping: no tone digits.
        // Radicals: radical 2 has no form in the ideograph range, and the
        // blank line none.
        QCOMPARE(Outline(roots),
                 "Lessons[Oxa Format[Lesson One, Lesson Two], HTML Format[Web Lesson]], "
                 "Pinyin[m[ma], l[lü, lüe], z[zhong]], Jyutping[j[jyut], m[m], n[ng], z[zung]], "
                 "Radical[一, 亻, 邑 阝], Stroke[1 stroke(s), 2 stroke(s), 64 stroke(s)], "
                 "Technical Support[FAQ, Bug Report, Technical Support Request, Useful Links, "
                 "Give us some suggestions]");
        QCOMPARE(roots[0].data, std::uint32_t(kLessonsCategory));
        QCOMPARE(roots[5].data, std::uint32_t(kSupportNode));
        QCOMPARE(roots[0].children[0].children[1].data, MakeItemData(2, kOxaLessonNode));
        QCOMPARE(roots[0].children[1].children[0].data, MakeItemData(3, kHtmlLessonNode));
        for (std::size_t i = 0; i < roots[5].children.size(); ++i) {
            QCOMPARE(roots[5].children[i].data, MakeItemData(std::uint16_t(i + 1), kSupportNode));
            QCOMPARE(roots[5].children[i].fontSlot, kEnglishFontSlot);
        }
        // Syllables carry the id of their first tone.
        const TreeNode& pinyin = Root(roots, kPinyinCategory);
        for (const TreeNode& letter : pinyin.children)
            QCOMPARE(std::pair(letter.data, letter.fontSlot),
                     std::pair(std::uint32_t(kPinyinNode), kPinyinFontSlot));
        QCOMPARE(pinyin.children[0].children[0].data, MakeItemData(Syllable("ma1"), kPinyinNode));
        QCOMPARE(pinyin.children[1].children[1].data, MakeItemData(Syllable("lve4"), kPinyinNode));
        QCOMPARE(pinyin.children[2].children[0].data, MakeItemData(Syllable("zhong1"), kPinyinNode));
        QCOMPARE(pinyin.children[2].children[0].fontSlot, kPinyinFontSlot);
        const TreeNode& jyutping = Root(roots, kJyutpingCategory);
        QCOMPARE(jyutping.children[0].data, std::uint32_t(kJyutpingNode));
        QCOMPARE(jyutping.children[0].fontSlot, kJyutpingFontSlot);
        QCOMPARE(jyutping.children[2].children[0].data,
                 MakeItemData(Syllable("ng5", Scheme::Jyutping), kJyutpingNode));
        const TreeNode& zung = jyutping.children[3].children[0];
        QCOMPARE(zung.data, MakeItemData(Syllable("zung1", Scheme::Jyutping), kJyutpingNode));
        QCOMPARE(zung.fontSlot, kJyutpingFontSlot);
        // A variant form has 256 added to its radical number.
        const TreeNode& radicals = Root(roots, kRadicalCategory);
        QCOMPARE(radicals.children[0].data, MakeItemData(1, kRadicalNode));
        QCOMPARE(radicals.children[1].data, MakeItemData(9 + 256, kRadicalNode));
        QCOMPARE(radicals.children[2].data, MakeItemData(163, kRadicalNode));
        QCOMPARE(radicals.children[2].fontSlot, kJiantiFontSlot);
        // Without lesson libraries the branch is there but empty.
        QCOMPARE(
            Outline(BuildCategoryTree(CategoryListing{})),
            "Lessons[Oxa Format, HTML Format], Pinyin, Jyutping, Radical, Stroke, Technical Support[FAQ, "
            "Bug Report, Technical Support Request, Useful Links, Give us some suggestions]");
    }

    void branchesFromRealData() {
        QString error;
        const QString small = testing::BuildSmallDataFolder(&error);
        QVERIFY2(!small.isEmpty(), qPrintable(error));
        const QStringList pinyin = Syllables(Root(TreeOfFolder(small), kPinyinCategory));
        for (const char* syllable : {"zhong", "lü", "nü"})
            QVERIFY2(pinyin.contains(QString::fromUtf8(syllable)), qPrintable(pinyin.join(u' ')));

        const QString folder = QStringLiteral(QUILLORY_DATA_DIR);
        if (!QFile::exists(folder + u"/oxa.dat"_s))
            QSKIP("the full data has not been built");
        const std::vector<TreeNode> roots = TreeOfFolder(folder);
        const QStringList full = Syllables(Root(roots, kPinyinCategory));
        QVERIFY2(full.size() > 400 && full.size() <= 419, qPrintable(full.value(0)));
        QVERIFY(full.contains(u"lüe"_s));
        const QStringList jyutping = Syllables(Root(roots, kJyutpingCategory));
        QVERIFY2(jyutping.size() > 500, qPrintable(jyutping.value(0)));
        QVERIFY(jyutping.contains(u"jyut"_s));
        // Every radical at least once; plain and variant forms are separate items.
        const TreeNode& radicals = Root(roots, kRadicalCategory);
        QSet<std::uint32_t> radicalData;
        for (const TreeNode& radical : radicals.children)
            radicalData.insert(radical.text.isEmpty() ? 0 : radical.data);
        QVERIFY(!radicalData.contains(0) && radicalData.size() == qsizetype(radicals.children.size()));
        QVERIFY(radicalData.size() >= 214);

        const TreeNode& strokes = Root(roots, kStrokeCategory);
        QVERIFY(!strokes.children.empty());
        for (std::size_t i = 1; i < strokes.children.size(); ++i) {
            QVERIFY(ItemValue(strokes.children[i - 1].data) < ItemValue(strokes.children[i].data));
            QVERIFY(!IsSkippedStrokeCount(ItemValue(strokes.children[i].data)));
        }
    }

    void findItemByDataIsPreOrder() {
        CUniTreeCtrl tree(SlotFont);
        const auto node = [](const char* text, std::uint32_t data, std::vector<TreeNode> children = {}) {
            return TreeNode{text, data, kTreeOwnFont, std::move(children)};
        };
        tree.BuildFromNodes({node("A", 30, {node("A1", 31, {node("deep", 99)})}), node("B", 99)});
        QTreeWidgetItem* found = tree.FindItemByData(99);
        QVERIFY(found != nullptr);
        QCOMPARE(found->text(0), u"deep"_s);
        QCOMPARE(tree.FindItemByData(31)->text(0), u"A1"_s);
        QVERIFY(tree.FindItemByData(1234) == nullptr);
        QVERIFY(CUniTreeCtrl(SlotFont).FindItemByData(30) == nullptr);
    }

    void relabelInOtherLanguages() {
        CUniTreeCtrl tree(SlotFont);
        tree.Build(PlainListing());
        LessonTitles titles;
        titles.oxa = {{1, u"第一课"_s}};
        titles.html = {{3, u"网页课"_s}};
        // Stroke counts without characters have no item, before relabelling
        // and after.
        const auto strokes = [](std::uint16_t count) { return MakeItemData(count, kStrokeNode); };
        QCOMPARE(Labels(tree, {strokes(1), strokes(34), strokes(44), strokes(52), strokes(64)}),
                 QStringList({"1 stroke(s)", "<none>", "<none>", "<none>", "64 stroke(s)"}));
        QCOMPARE(SlotOf(tree.FindItemByData(strokes(1))), kEnglishFontSlot);
        tree.Relabel(*texts_, names_, kJianti, titles);

        const std::vector<std::uint32_t> items(
            {kPinyinCategory, kJyutpingCategory, kRadicalCategory, kStrokeCategory, kLessonsCategory,
             kOxaLessonCategory, kHtmlLessonCategory, kSupportNode, MakeItemData(1, kSupportNode),
             MakeItemData(5, kSupportNode), LessonItemData(LessonFormat::Oxa, 1), strokes(1), strokes(2),
             strokes(64)});
        QCOMPARE(Labels(tree, items),
                 QStringList({"拼音", "粤拼", "部首", "笔画", "课程", "Oxa 格式", "HTML 格式", "技术支持",
                              "常见问题", "给我们提建议", "第一课", "1 划", "2 划", "64 划"}));
        QCOMPARE(tree.FindItemByData(kStrokeCategory)->childCount(), 3);
        for (const std::uint32_t data : items)
            QCOMPARE(SlotOf(tree.FindItemByData(data)), kJiantiFontSlot);
        // A lesson without a title in this language keeps its text.
        QCOMPARE(Labels(tree, {LessonItemData(LessonFormat::Html, 3), LessonItemData(LessonFormat::Oxa, 2)}),
                 QStringList({"网页课", "Lesson Two"}));
        // Pinyin lesson titles are shown with tone marks, in the Pinyin font.
        titles.oxa = {{1, u"di4 yi1 ke4"_s}};
        tree.Relabel(*texts_, names_, kPinyin, titles);
        QTreeWidgetItem* lesson = tree.FindItemByData(LessonItemData(LessonFormat::Oxa, 1));
        QCOMPARE(FontFormToUnicode(lesson->text(0)), u"dì yī kè"_s);
        QCOMPARE(SlotOf(lesson), kPinyinFontSlot);
        // Back to English, where titles are taken as they stand.
        tree.Relabel(*texts_, names_, kEnglish, titles);
        QCOMPARE(Labels(tree, {kPinyinCategory, LessonItemData(LessonFormat::Oxa, 1)}),
                 QStringList({"Pinyin", "di4 yi1 ke4"}));
        QCOMPARE(SlotOf(tree.FindItemByData(kPinyinCategory)), kEnglishFontSlot);
    }

    void relabelKeepsItemsWithoutLabels() {
        RecordingReporter reporter;
        LanguageData texts(reporter);
        texts.LoadGbk(*EncodeGbk(u"[TTTID_PINYIN]\njt=gb|拼音\n"_s));
        // A registry of its own: the shared one must keep the full texts' keys.
        NameRegistry names;
        RegisterLabelKeys(texts, names);

        CUniTreeCtrl tree(SlotFont);
        tree.Build(PlainListing());
        tree.Relabel(texts, names, kJianti, {});
        QCOMPARE(Labels(tree, {kPinyinCategory, kJyutpingCategory, MakeItemData(1, kStrokeNode),
                               MakeItemData(1, kSupportNode)}),
                 QStringList({"拼音", "Jyutping", "1 stroke(s)", "FAQ"}));
        QVERIFY(!tree.FindItemByData(kJyutpingCategory)->data(0, Qt::FontRole).isValid());
    }

    void lessonNotices() {
        CUniTreeCtrl tree(SlotFont);
        tree.Build(PlainListing());
        QTreeWidgetItem* oxa = tree.FindItemByData(kOxaLessonCategory);
        const auto apply = [&](LessonFormat format, std::uint16_t id, int action, const QString& title,
                               int language) {
            return tree.ApplyLessonNotice(DecideLessonNotice(format, id, action, title, *texts_, language));
        };
        // An import appends the title as given, tone digits included.
        QVERIFY(apply(LessonFormat::Oxa, 7, 1, u"di4 qi1 ke4"_s, kPinyin));
        QCOMPARE(ChildTexts(oxa), QStringList({"Lesson One", "Lesson Two", "di4 qi1 ke4"}));
        QCOMPARE(CUniTreeCtrl::ItemData(oxa->child(2)), LessonItemData(LessonFormat::Oxa, 7));
        QCOMPARE(SlotOf(oxa->child(2)), kPinyinFontSlot);
        // Importing a lesson again renames its item instead of adding another.
        QVERIFY(apply(LessonFormat::Oxa, 1, 1, u"First"_s, kEnglish));
        QCOMPARE(ChildTexts(oxa), QStringList({"First", "Lesson Two", "di4 qi1 ke4"}));

        QVERIFY(apply(LessonFormat::Oxa, 2, kRemoveLessonAction, {}, 0));
        QCOMPARE(ChildTexts(oxa), QStringList({"First", "di4 qi1 ke4"}));
        // Removing an id without an item changes nothing; nor does an HTML id
        // that only an Oxa lesson has.
        QVERIFY(!apply(LessonFormat::Oxa, 42, kRemoveLessonAction, {}, 0));
        QVERIFY(!apply(LessonFormat::Html, 7, kRemoveLessonAction, {}, 0));
        QCOMPARE(oxa->childCount(), 2);

        QVERIFY(apply(LessonFormat::Html, 8, 1, u"New Web"_s, kEnglish));
        QCOMPARE(ChildTexts(tree.FindItemByData(kHtmlLessonCategory)),
                 QStringList({"Web Lesson", "New Web"}));
        // Without the lessons branch nothing can be added.
        CUniTreeCtrl bare(SlotFont);
        bare.BuildFromNodes({TreeNode{"Pinyin", kPinyinCategory, kTreeOwnFont, {}}});
        QVERIFY(
            !bare.ApplyLessonNotice(DecideLessonNotice(LessonFormat::Html, 8, 1, "x", *texts_, kEnglish)));
        QCOMPARE(bare.topLevelItemCount(), 1);
    }

    void clickRequests() {
        // The command a click asks for, -1 for none; every request carries
        // the item's value and no text.
        const auto command = [](std::uint32_t data, bool selected) {
            const std::optional<ProtocolRequest> request = TreeClickRequest(data, selected);
            if (request && (request->value != data >> 16 || request->text))
                return -2;
            return request ? int(request->command) : -1;
        };
        QCOMPARE(command(MakeItemData(0x1234, kPinyinNode), false), int(kListPinyin));
        QCOMPARE(command(MakeItemData(0x0812, kJyutpingNode), false), int(kListJyutping));
        QCOMPARE(command(MakeItemData(17, kStrokeNode), false), int(kListStrokeCount));
        QCOMPARE(command(MakeItemData(376, kRadicalNode), true), int(kListRadical));
        QCOMPARE(command(MakeItemData(376, kRadicalNode), false), -1);
        QCOMPARE(command(MakeItemData(3, kHtmlLessonNode), false), int(kOpenHtmlLesson));
        QCOMPARE(command(MakeItemData(3, kOxaLessonNode), true), int(kOpenLessonEditor));
        QCOMPARE(command(MakeItemData(1, kSupportNode), false), int(kOpenSupport));
        QCOMPARE(command(MakeItemData(5, kSupportNode), false), int(kOpenSupport));
        // An initial letter, categories, a category kind with a value, unknown
        // kinds, and the space beside the items.
        for (const std::uint32_t data :
             {std::uint32_t(kPinyinNode), std::uint32_t(kSupportNode), std::uint32_t(kPinyinCategory),
              MakeItemData(5, kPinyinCategory), MakeItemData(5, 8), MakeItemData(5, 0), 0u})
            QCOMPARE(command(data, data != 0), -1);
    }

    void clickIsDeliveredAfterProcessing() {
        ShownTree tree;
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        const std::uint32_t zhong = MakeItemData(Syllable("zhong1"), kPinyinNode);
        const QPointF at = tree.Centre(tree.FindItemByData(zhong));
        // The selection at the time of delivery, as the window's handler sees it.
        QList<quint32> selectedAtDelivery;
        connect(&tree, &CUniTreeCtrl::treeNotify, &tree, [&](quint32) {
            const QList<QTreeWidgetItem*> selected = tree.selectedItems();
            selectedAtDelivery.append(selected.isEmpty() ? 0 : CUniTreeCtrl::ItemData(selected.first()));
        });
        QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                            std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent event(type, at, tree.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(tree.viewport(), &event);
            QCOMPARE(spy.count(), 0);
        }
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<quint32>(), zhong);
        QCOMPARE(selectedAtDelivery, QList<quint32>({zhong}));
        QCOMPARE(tree.RequestForNotice(zhong), Request(kListPinyin, Syllable("zhong1")));
        // Only the left button notifies.
        QTest::mouseClick(tree.viewport(), Qt::RightButton, Qt::NoModifier, at.toPoint());
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
    }

    void enterOpensTheCurrentItem() {
        ShownTree tree;
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.setFocus();
        QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);
        const std::uint32_t radical = MakeItemData(163, kRadicalNode);
        tree.setCurrentItem(tree.FindItemByData(radical));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(&tree, key);
        }
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).value<quint32>(), radical);
        QCOMPARE(tree.RequestForNotice(radical), Request(kListRadical, 163));
        // Arrows move without opening anything.
        QTest::keyClick(&tree, Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 2);
    }

    void clicksBesideItemsAndOnRadicals() {
        ShownTree tree;
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);
        // Below the last top-level item, with every branch collapsed: no value.
        const QRect last = tree.visualItemRect(tree.topLevelItem(tree.topLevelItemCount() - 1));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 40));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<quint32>(), 0u);
        QVERIFY(!tree.RequestForNotice(0));
        // An initial letter carries its kind only.
        tree.Click(tree.FindItemByData(MakeItemData(Syllable("ma1"), kPinyinNode))->parent());
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).value<quint32>(), quint32(kPinyinNode));
        QVERIFY(!tree.RequestForNotice(kPinyinNode));
        // A radical acts only when selected.
        const std::uint32_t radical = MakeItemData(163, kRadicalNode);
        tree.Click(tree.FindItemByData(radical));
        QTRY_COMPARE(spy.count(), 3);
        QCOMPARE(tree.RequestForNotice(radical), Request(kListRadical, 163));
        // A control-click on the selected item clears the selection instead.
        tree.Click(tree.FindItemByData(radical), Qt::ControlModifier);
        QTRY_COMPARE(spy.count(), 4);
        QCOMPARE(spy.at(3).at(0).value<quint32>(), radical);
        QVERIFY(tree.selectedItems().isEmpty());
        QVERIFY(!tree.RequestForNotice(radical));
        // The same clicks on a stroke-count item still ask for its page.
        const std::uint32_t stroke = MakeItemData(2, kStrokeNode);
        tree.Click(tree.FindItemByData(stroke));
        tree.Click(tree.FindItemByData(stroke), Qt::ControlModifier);
        QTRY_COMPARE(spy.count(), 6);
        QVERIFY(tree.selectedItems().isEmpty());
        QCOMPARE(tree.RequestForNotice(stroke), Request(kListStrokeCount, 2));
    }
};

QTEST_MAIN(CategoryTreeTest)
#include "CategoryTreeTest.moc"
