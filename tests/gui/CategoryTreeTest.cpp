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

namespace {

// Each slot gets a font that tells which slot it is.
QFont SlotFont(int slot) {
    QFont font(QStringLiteral("Slot%1").arg(slot));
    font.setPointSize(10 + slot);
    return font;
}

int SlotOf(const QTreeWidgetItem* item) {
    return item->font(0).pointSize() - 10;
}

SyllableId Pinyin(const char* text) {
    return *EncodeSyllable(text, Scheme::Pinyin);
}

SyllableId Jyutping(const char* text) {
    return *EncodeSyllable(text, Scheme::Jyutping);
}

const TreeNode* RootOfKind(const std::vector<TreeNode>& roots, std::uint32_t data) {
    for (const TreeNode& root : roots) {
        if (root.data == data) {
            return &root;
        }
    }
    return nullptr;
}

const TreeNode* ChildWithText(const TreeNode& parent, const QString& text) {
    for (const TreeNode& child : parent.children) {
        if (child.text == text) {
            return &child;
        }
    }
    return nullptr;
}

// The syllables of a Pinyin or Jyutping branch in Unicode; a syllable under
// a letter it does not start with, or seen twice, gives an error entry only.
QStringList Syllables(const TreeNode& branch) {
    QStringList all;
    for (const TreeNode& letter : branch.children) {
        for (const TreeNode& syllable : letter.children) {
            const QString text = FontFormToUnicode(syllable.text);
            if (!text.startsWith(letter.text) || all.contains(text)) {
                return QStringList{QStringLiteral("misplaced or repeated: ") + text};
            }
            all.append(text);
        }
    }
    return all;
}

QStringList Texts(const std::vector<TreeNode>& nodes) {
    QStringList texts;
    for (const TreeNode& node : nodes) {
        texts.append(node.text);
    }
    return texts;
}

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts.append(item->child(i)->text(0));
    }
    return texts;
}

CategoryListing PlainListing() {
    CategoryListing listing;
    listing.pinyin = {Pinyin("ma1"),  Pinyin("ma2"), Pinyin("ma3"),    Pinyin("lv3"),
                      Pinyin("lve4"), 0xFFFF,        Pinyin("zhong1"), Pinyin("zhong4")};
    listing.jyutping = {Jyutping("jyut6"), Jyutping("m4"),    Jyutping("ng5"),
                        Jyutping("ng6"),   Jyutping("zung1"), Jyutping("zung3")};
    listing.strokeCounts = {1, 2, 34, 44, 52, 64};
    listing.radicalTable = QStringLiteral("1.0\t4E00 0 1\n"
                                          "2.0\t2F00 0\n"
                                          "9'.0\t4EBB 2\n"
                                          "\n"
                                          "163.0\t9091 2 3\n");
    listing.lessons.oxa = {{1, QStringLiteral("Lesson One")}, {2, QStringLiteral("Lesson Two")}};
    listing.lessons.html = {{3, QStringLiteral("Web Lesson")}};
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
};

void ClickItem(CUniTreeCtrl& tree, QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent()) {
        parent->setExpanded(true);
    }
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, modifiers, tree.visualItemRect(item).center());
}

} // namespace

class CategoryTreeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void itemDataKeepsValueAndKind();
    void topLevelOrderAndSupportEntries();
    void pinyinGroupsTonesUnderInitialLetters();
    void pinyinFromRealData();
    void fullDataBranches();
    void jyutpingKeepsSyllablesWithoutDigits();
    void radicalsNeedForms();
    void strokeCountsSkipUnusedValues();
    void findItemByDataIsPreOrder();

    void relabelInJianti();
    void relabelKeepsItemsWithoutLabels();
    void relabelMarksPinyinLessonTitles();

    void lessonNotices();

    void clickRequest_data();
    void clickRequest();
    void clickIsDeliveredAfterProcessing();
    void clickBesideItemsCarriesNoValue();
    void radicalActsOnlyWhenSelected();

private:
    RecordingReporter reporter_;
    std::unique_ptr<LanguageData> texts_;
    NameRegistry names_;
};

void CategoryTreeTest::initTestCase() {
    texts_ = std::make_unique<LanguageData>(reporter_);
    QVERIFY(texts_->Load(QString()));
    RegisterLabelKeys(*texts_, names_);
}

void CategoryTreeTest::itemDataKeepsValueAndKind() {
    const std::uint32_t data = MakeItemData(0xFFFF, kOxaLessonNode);
    QCOMPARE(data, 0xFFFF0006u);
    QCOMPARE(ItemValue(data), std::uint16_t(0xFFFF));
    QCOMPARE(ItemKind(data), std::uint16_t(kOxaLessonNode));
    QCOMPARE(MakeItemData(376, kRadicalNode), 376u * 65536u + 4u);
    QCOMPARE(LessonItemData(LessonFormat::Html, 12), 12u * 65536u + 5u);
    QCOMPARE(LessonItemData(LessonFormat::Oxa, 12), 12u * 65536u + 6u);
}

void CategoryTreeTest::topLevelOrderAndSupportEntries() {
    const std::vector<TreeNode> roots = BuildCategoryTree(PlainListing());
    QCOMPARE(Texts(roots),
             QStringList({"Lessons", "Pinyin", "Jyutping", "Radical", "Stroke", "Technical Support"}));
    QCOMPARE(roots[0].data, std::uint32_t(kLessonsCategory));
    QCOMPARE(roots[5].data, std::uint32_t(kSupportNode));

    const TreeNode& lessons = roots[0];
    QCOMPARE(Texts(lessons.children), QStringList({"Oxa Format", "HTML Format"}));
    QCOMPARE(Texts(lessons.children[0].children), QStringList({"Lesson One", "Lesson Two"}));
    QCOMPARE(lessons.children[0].children[1].data, MakeItemData(2, kOxaLessonNode));
    QCOMPARE(lessons.children[1].children[0].data, MakeItemData(3, kHtmlLessonNode));

    const TreeNode& support = roots[5];
    QCOMPARE(Texts(support.children), QStringList({"FAQ", "Bug Report", "Technical Support Request",
                                                   "Useful Links", "Give us some suggestions"}));
    for (std::size_t i = 0; i < support.children.size(); ++i) {
        QCOMPARE(support.children[i].data, MakeItemData(std::uint16_t(i + 1), kSupportNode));
        QCOMPARE(support.children[i].fontSlot, kEnglishFontSlot);
    }

    // Without lesson libraries the branch is there but empty.
    const std::vector<TreeNode> bare = BuildCategoryTree(CategoryListing{});
    QCOMPARE(bare[0].children.size(), std::size_t(2));
    QVERIFY(bare[0].children[0].children.empty());
    QVERIFY(bare[1].children.empty());
    QVERIFY(bare[4].children.empty());
}

void CategoryTreeTest::pinyinGroupsTonesUnderInitialLetters() {
    const std::vector<TreeNode> roots = BuildCategoryTree(PlainListing());
    const TreeNode& pinyin = *RootOfKind(roots, kPinyinCategory);
    QCOMPARE(Texts(pinyin.children), QStringList({"m", "l", "z"}));
    for (const TreeNode& letter : pinyin.children) {
        QCOMPARE(letter.data, std::uint32_t(kPinyinNode));
        QCOMPARE(letter.fontSlot, kPinyinFontSlot);
    }

    // ma1, ma2, ma3 give one item with the id of ma1.
    const TreeNode& m = pinyin.children[0];
    QCOMPARE(m.children.size(), std::size_t(1));
    QCOMPARE(m.children[0].text, QStringLiteral("ma"));
    QCOMPARE(m.children[0].data, MakeItemData(Pinyin("ma1"), kPinyinNode));

    // v shows as ü, without a tone mark.
    const TreeNode& l = pinyin.children[1];
    QCOMPARE(l.children.size(), std::size_t(2));
    QCOMPARE(FontFormToUnicode(l.children[0].text), QStringLiteral("lü"));
    QCOMPARE(FontFormToUnicode(l.children[1].text), QStringLiteral("lüe"));
    QCOMPARE(l.children[1].data, MakeItemData(Pinyin("lve4"), kPinyinNode));

    const TreeNode& z = pinyin.children[2];
    QCOMPARE(Texts(z.children), QStringList({"zhong"}));
    QCOMPARE(z.children[0].data, MakeItemData(Pinyin("zhong1"), kPinyinNode));
    QCOMPARE(z.children[0].fontSlot, kPinyinFontSlot);
}

void CategoryTreeTest::pinyinFromRealData() {
    QString error;
    const QString folder = testing::BuildSmallDataFolder(&error);
    QVERIFY2(!folder.isEmpty(), qPrintable(error));
    RecordingReporter reporter;
    Dictionary dictionary(folder, reporter);
    QVERIFY(dictionary.Open());
    const std::vector<TreeNode> roots = BuildCategoryTree(ListingFromIndex(dictionary.index()));
    const TreeNode& branch = *RootOfKind(roots, kPinyinCategory);
    const QStringList letters = Texts(branch.children);
    QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
    const QStringList pinyin = Syllables(branch);
    for (const char* syllable : {"zhong", "lü", "nü"}) {
        QVERIFY2(pinyin.contains(QString::fromUtf8(syllable)), qPrintable(pinyin.join(u' ')));
    }
}

void CategoryTreeTest::fullDataBranches() {
    const QString folder = QStringLiteral(QUILLORY_DATA_DIR);
    if (!QFile::exists(folder + QStringLiteral("/oxa.dat"))) {
        QSKIP("the full data has not been built");
    }
    RecordingReporter reporter;
    Dictionary dictionary(folder, reporter);
    QVERIFY(dictionary.Open());
    const std::vector<TreeNode> roots = BuildCategoryTree(ListingFromIndex(dictionary.index()));

    // Each syllable once, under the letter it starts with.
    const QStringList pinyin = Syllables(*RootOfKind(roots, kPinyinCategory));
    QVERIFY2(pinyin.size() > 400 && pinyin.size() <= 419, qPrintable(pinyin.value(0)));
    QVERIFY(pinyin.contains(QStringLiteral("lüe")));
    const QStringList jyutping = Syllables(*RootOfKind(roots, kJyutpingCategory));
    QVERIFY2(jyutping.size() > 500, qPrintable(jyutping.value(0)));
    QVERIFY(jyutping.contains(QStringLiteral("jyut")));

    // Every radical at least once; plain and variant forms are separate items.
    const TreeNode& radicals = *RootOfKind(roots, kRadicalCategory);
    QSet<std::uint32_t> radicalData;
    for (const TreeNode& radical : radicals.children) {
        QVERIFY(!radical.text.isEmpty());
        radicalData.insert(radical.data);
    }
    QCOMPARE(radicalData.size(), qsizetype(radicals.children.size()));
    QVERIFY(radicalData.size() >= 214);

    const TreeNode& strokes = *RootOfKind(roots, kStrokeCategory);
    QVERIFY(!strokes.children.empty());
    for (std::size_t i = 1; i < strokes.children.size(); ++i) {
        QVERIFY(ItemValue(strokes.children[i - 1].data) < ItemValue(strokes.children[i].data));
        QVERIFY(!IsSkippedStrokeCount(ItemValue(strokes.children[i].data)));
    }
}

void CategoryTreeTest::jyutpingKeepsSyllablesWithoutDigits() {
    const std::vector<TreeNode> roots = BuildCategoryTree(PlainListing());
    const TreeNode& jyutping = *RootOfKind(roots, kJyutpingCategory);
    QCOMPARE(Texts(jyutping.children), QStringList({"j", "m", "n", "z"}));
    QCOMPARE(jyutping.children[0].data, std::uint32_t(kJyutpingNode));
    QCOMPARE(jyutping.children[0].fontSlot, kJyutpingFontSlot);

    const TreeNode* ng = ChildWithText(jyutping.children[2], QStringLiteral("ng"));
    QVERIFY(ng != nullptr);
    QCOMPARE(jyutping.children[2].children.size(), std::size_t(1));
    QCOMPARE(ng->data, MakeItemData(Jyutping("ng5"), kJyutpingNode));

    const TreeNode* zung = ChildWithText(jyutping.children[3], QStringLiteral("zung"));
    QVERIFY(zung != nullptr);
    QCOMPARE(zung->data, MakeItemData(Jyutping("zung1"), kJyutpingNode));
    QCOMPARE(zung->fontSlot, kJyutpingFontSlot);
    QVERIFY(ChildWithText(jyutping.children[1], QStringLiteral("m")) != nullptr);
}

void CategoryTreeTest::radicalsNeedForms() {
    const std::vector<TreeNode> roots = BuildCategoryTree(PlainListing());
    const TreeNode& radicals = *RootOfKind(roots, kRadicalCategory);
    // Radical 2 has no form in the ideograph range, and the blank line none.
    QCOMPARE(radicals.children.size(), std::size_t(3));
    QCOMPARE(radicals.children[0].text, QStringLiteral("一"));
    QCOMPARE(radicals.children[0].data, MakeItemData(1, kRadicalNode));
    QCOMPARE(radicals.children[1].text, QStringLiteral("亻"));
    QCOMPARE(radicals.children[1].data, MakeItemData(9 + 256, kRadicalNode));
    QCOMPARE(radicals.children[2].text, QStringLiteral("邑 阝"));
    QCOMPARE(radicals.children[2].data, MakeItemData(163, kRadicalNode));
    QCOMPARE(radicals.children[2].fontSlot, kJiantiFontSlot);
}

void CategoryTreeTest::strokeCountsSkipUnusedValues() {
    CUniTreeCtrl tree(SlotFont);
    tree.Build(PlainListing());
    QTreeWidgetItem* strokes = tree.FindItemByData(kStrokeCategory);
    QVERIFY(strokes != nullptr);
    QCOMPARE(ChildTexts(strokes), QStringList({"1 stroke(s)", "2 stroke(s)", "64 stroke(s)"}));
    QCOMPARE(CUniTreeCtrl::ItemData(strokes->child(2)), MakeItemData(64, kStrokeNode));
    QCOMPARE(SlotOf(strokes->child(0)), kEnglishFontSlot);
    for (const int skipped : {34, 44, 52}) {
        QVERIFY(tree.FindItemByData(MakeItemData(std::uint16_t(skipped), kStrokeNode)) == nullptr);
    }

    // Relabelling skips them the same way and still reaches 64.
    tree.Relabel(*texts_, names_, kJianti, {});
    QCOMPARE(ChildTexts(strokes), QStringList({"1 划", "2 划", "64 划"}));
    QCOMPARE(SlotOf(strokes->child(2)), kJiantiFontSlot);
}

void CategoryTreeTest::findItemByDataIsPreOrder() {
    CUniTreeCtrl tree(SlotFont);
    tree.BuildFromNodes({
        TreeNode{"A",
                 30,
                 kTreeOwnFont,
                 {TreeNode{"A1", 31, kTreeOwnFont, {TreeNode{"deep", 99, kTreeOwnFont, {}}}}}},
        TreeNode{"B", 99, kTreeOwnFont, {}},
    });
    QTreeWidgetItem* found = tree.FindItemByData(99);
    QVERIFY(found != nullptr);
    QCOMPARE(found->text(0), QStringLiteral("deep"));
    QCOMPARE(tree.FindItemByData(31)->text(0), QStringLiteral("A1"));
    QVERIFY(tree.FindItemByData(1234) == nullptr);

    CUniTreeCtrl empty(SlotFont);
    QVERIFY(empty.FindItemByData(30) == nullptr);
}

void CategoryTreeTest::relabelInJianti() {
    CUniTreeCtrl tree(SlotFont);
    tree.Build(PlainListing());
    LessonTitles titles;
    titles.oxa = {{1, QStringLiteral("第一课")}};
    titles.html = {{3, QStringLiteral("网页课")}};
    tree.Relabel(*texts_, names_, kJianti, titles);

    const struct {
        std::uint32_t data;
        const char* text;
    } expected[] = {
        {kPinyinCategory, "拼音"},
        {kJyutpingCategory, "粤拼"},
        {kRadicalCategory, "部首"},
        {kStrokeCategory, "笔画"},
        {kLessonsCategory, "课程"},
        {kOxaLessonCategory, "Oxa 格式"},
        {kHtmlLessonCategory, "HTML 格式"},
        {kSupportNode, "技术支持"},
        {MakeItemData(1, kSupportNode), "常见问题"},
        {MakeItemData(5, kSupportNode), "给我们提建议"},
    };
    for (const auto& item : expected) {
        QTreeWidgetItem* found = tree.FindItemByData(item.data);
        QVERIFY(found != nullptr);
        QCOMPARE(found->text(0), QString::fromUtf8(item.text));
        QCOMPARE(SlotOf(found), kJiantiFontSlot);
    }
    QTreeWidgetItem* lesson = tree.FindItemByData(LessonItemData(LessonFormat::Oxa, 1));
    QCOMPARE(lesson->text(0), QStringLiteral("第一课"));
    QCOMPARE(SlotOf(lesson), kJiantiFontSlot);
    QCOMPARE(tree.FindItemByData(LessonItemData(LessonFormat::Html, 3))->text(0), QStringLiteral("网页课"));
    // A lesson without a title in this language keeps its text.
    QCOMPARE(tree.FindItemByData(LessonItemData(LessonFormat::Oxa, 2))->text(0),
             QStringLiteral("Lesson Two"));

    // Back to English.
    tree.Relabel(*texts_, names_, kEnglish, {});
    QCOMPARE(tree.FindItemByData(kPinyinCategory)->text(0), QStringLiteral("Pinyin"));
    QCOMPARE(SlotOf(tree.FindItemByData(kPinyinCategory)), kEnglishFontSlot);
}

void CategoryTreeTest::relabelKeepsItemsWithoutLabels() {
    RecordingReporter reporter;
    LanguageData texts(reporter);
    texts.LoadGbk(*EncodeGbk(QStringLiteral("[TTTID_PINYIN]\njt=gb|拼音\n")));
    // A registry of its own: the shared one must keep the full texts' keys.
    NameRegistry names;
    RegisterLabelKeys(texts, names);

    CUniTreeCtrl tree(SlotFont);
    tree.Build(PlainListing());
    tree.Relabel(texts, names, kJianti, {});
    QCOMPARE(tree.FindItemByData(kPinyinCategory)->text(0), QStringLiteral("拼音"));
    QTreeWidgetItem* jyutping = tree.FindItemByData(kJyutpingCategory);
    QCOMPARE(jyutping->text(0), QStringLiteral("Jyutping"));
    QVERIFY(!jyutping->data(0, Qt::FontRole).isValid());
    QCOMPARE(tree.FindItemByData(MakeItemData(1, kStrokeNode))->text(0), QStringLiteral("1 stroke(s)"));
    QCOMPARE(tree.FindItemByData(MakeItemData(1, kSupportNode))->text(0), QStringLiteral("FAQ"));
}

void CategoryTreeTest::relabelMarksPinyinLessonTitles() {
    LessonTitles titles;
    titles.oxa = {{1, QStringLiteral("di4 yi1 ke4")}};
    const std::vector<LabelChange> changes = RelabelCategoryTree(*texts_, names_, kPinyin, {}, titles);
    const auto lesson = std::find_if(changes.begin(), changes.end(), [](const LabelChange& change) {
        return change.data == LessonItemData(LessonFormat::Oxa, 1);
    });
    QVERIFY(lesson != changes.end());
    QCOMPARE(FontFormToUnicode(lesson->text), QStringLiteral("dì yī kè"));
    QCOMPARE(lesson->fontSlot, std::optional<int>(kPinyinFontSlot));

    // Other languages take the title as it stands.
    const std::vector<LabelChange> english = RelabelCategoryTree(*texts_, names_, kEnglish, {}, titles);
    QCOMPARE(english.back().text, QStringLiteral("di4 yi1 ke4"));
}

void CategoryTreeTest::lessonNotices() {
    CUniTreeCtrl tree(SlotFont);
    tree.Build(PlainListing());
    QTreeWidgetItem* oxa = tree.FindItemByData(kOxaLessonCategory);

    // An import appends the title as given, tone digits included.
    QVERIFY(tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Oxa, 7, 1, QStringLiteral("di4 qi1 ke4"), *texts_, kPinyin)));
    QCOMPARE(ChildTexts(oxa), QStringList({"Lesson One", "Lesson Two", "di4 qi1 ke4"}));
    QCOMPARE(CUniTreeCtrl::ItemData(oxa->child(2)), LessonItemData(LessonFormat::Oxa, 7));
    QCOMPARE(SlotOf(oxa->child(2)), kPinyinFontSlot);

    // Importing a lesson again renames its item instead of adding another.
    QVERIFY(tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Oxa, 1, 1, QStringLiteral("First"), *texts_, kEnglish)));
    QCOMPARE(ChildTexts(oxa), QStringList({"First", "Lesson Two", "di4 qi1 ke4"}));

    QVERIFY(tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Oxa, 2, kRemoveLessonAction, {}, *texts_, 0)));
    QCOMPARE(ChildTexts(oxa), QStringList({"First", "di4 qi1 ke4"}));
    // Removing an id without an item changes nothing; nor does an HTML id
    // that only an Oxa lesson has.
    QVERIFY(!tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Oxa, 42, kRemoveLessonAction, {}, *texts_, 0)));
    QVERIFY(!tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Html, 7, kRemoveLessonAction, {}, *texts_, 0)));
    QCOMPARE(oxa->childCount(), 2);

    QVERIFY(tree.ApplyLessonNotice(
        DecideLessonNotice(LessonFormat::Html, 8, 1, QStringLiteral("New Web"), *texts_, kEnglish)));
    QCOMPARE(ChildTexts(tree.FindItemByData(kHtmlLessonCategory)), QStringList({"Web Lesson", "New Web"}));

    // Without the lessons branch nothing can be added.
    CUniTreeCtrl bare(SlotFont);
    bare.BuildFromNodes({TreeNode{"Pinyin", kPinyinCategory, kTreeOwnFont, {}}});
    QVERIFY(!bare.ApplyLessonNotice(DecideLessonNotice(LessonFormat::Html, 8, 1, "x", *texts_, kEnglish)));
    QCOMPARE(bare.topLevelItemCount(), 1);
}

void CategoryTreeTest::clickRequest_data() {
    QTest::addColumn<quint32>("data");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("command"); // -1: no request

    QTest::newRow("pinyin syllable") << MakeItemData(0x1234, kPinyinNode) << false << int(kListPinyin);
    QTest::newRow("jyutping syllable") << MakeItemData(0x0812, kJyutpingNode) << false << int(kListJyutping);
    QTest::newRow("stroke count") << MakeItemData(17, kStrokeNode) << false << int(kListStrokeCount);
    QTest::newRow("radical selected") << MakeItemData(376, kRadicalNode) << true << int(kListRadical);
    QTest::newRow("radical not selected") << MakeItemData(376, kRadicalNode) << false << -1;
    QTest::newRow("html lesson") << MakeItemData(3, kHtmlLessonNode) << false << int(kOpenHtmlLesson);
    QTest::newRow("oxa lesson") << MakeItemData(3, kOxaLessonNode) << true << int(kOpenLessonEditor);
    QTest::newRow("support entry 1") << MakeItemData(1, kSupportNode) << false << int(kOpenSupport);
    QTest::newRow("support entry 5") << MakeItemData(5, kSupportNode) << false << int(kOpenSupport);
    QTest::newRow("initial letter") << quint32(kPinyinNode) << true << -1;
    QTest::newRow("support category") << quint32(kSupportNode) << true << -1;
    QTest::newRow("pinyin category") << quint32(kPinyinCategory) << true << -1;
    QTest::newRow("category kind with a value") << MakeItemData(5, kPinyinCategory) << true << -1;
    QTest::newRow("unknown kind") << MakeItemData(5, 8) << true << -1;
    QTest::newRow("kind 0") << MakeItemData(5, 0) << true << -1;
    QTest::newRow("beside the items") << quint32(0) << false << -1;
}

void CategoryTreeTest::clickRequest() {
    QFETCH(quint32, data);
    QFETCH(bool, selected);
    QFETCH(int, command);
    const std::optional<ProtocolRequest> request = TreeClickRequest(data, selected);
    if (command < 0) {
        QVERIFY(!request);
        return;
    }
    QVERIFY(request);
    QCOMPARE(int(request->command), command);
    QCOMPARE(request->value, data >> 16);
    QVERIFY(!request->text);
}

void CategoryTreeTest::clickIsDeliveredAfterProcessing() {
    ShownTree tree;
    QVERIFY(QTest::qWaitForWindowExposed(&tree));

    QTreeWidgetItem* zhong = tree.FindItemByData(MakeItemData(Pinyin("zhong1"), kPinyinNode));
    QVERIFY(zhong != nullptr);
    zhong->parent()->setExpanded(true);
    zhong->parent()->parent()->setExpanded(true);
    tree.scrollToItem(zhong);

    // The selection at the time of delivery, as the window's handler sees it.
    QList<quint32> selectedAtDelivery;
    connect(&tree, &CUniTreeCtrl::treeNotify, &tree, [&](quint32) {
        const QList<QTreeWidgetItem*> selected = tree.selectedItems();
        selectedAtDelivery.append(selected.isEmpty() ? 0 : CUniTreeCtrl::ItemData(selected.first()));
    });
    QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);

    const QPointF at = tree.visualItemRect(zhong).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, tree.viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &press);
    QCOMPARE(spy.count(), 0);
    QMouseEvent release(QEvent::MouseButtonRelease, at, tree.viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &release);
    QCOMPARE(spy.count(), 0);

    QTRY_COMPARE(spy.count(), 1);
    const quint32 data = spy.at(0).at(0).value<quint32>();
    QCOMPARE(data, MakeItemData(Pinyin("zhong1"), kPinyinNode));
    QCOMPARE(selectedAtDelivery, QList<quint32>({data}));
    QCOMPARE(tree.RequestForNotice(data),
             std::optional<ProtocolRequest>(ProtocolRequest{kListPinyin, Pinyin("zhong1"), {}}));

    // Only the left button notifies.
    QTest::mouseClick(tree.viewport(), Qt::RightButton, Qt::NoModifier, at.toPoint());
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 1);
}

void CategoryTreeTest::clickBesideItemsCarriesNoValue() {
    ShownTree tree;
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);

    // Below the last top-level item, with every branch collapsed.
    const QRect last = tree.visualItemRect(tree.topLevelItem(tree.topLevelItemCount() - 1));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(last.center().x(), last.bottom() + 40));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<quint32>(), 0u);
    QVERIFY(!tree.RequestForNotice(0));

    // An initial letter carries its kind only.
    ClickItem(tree, tree.FindItemByData(MakeItemData(Pinyin("ma1"), kPinyinNode))->parent());
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<quint32>(), quint32(kPinyinNode));
    QVERIFY(!tree.RequestForNotice(kPinyinNode));
}

void CategoryTreeTest::radicalActsOnlyWhenSelected() {
    ShownTree tree;
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy spy(&tree, &CUniTreeCtrl::treeNotify);

    const std::uint32_t radical = MakeItemData(163, kRadicalNode);
    ClickItem(tree, tree.FindItemByData(radical));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(tree.RequestForNotice(radical),
             std::optional<ProtocolRequest>(ProtocolRequest{kListRadical, 163, {}}));

    // A control-click on the selected item clears the selection instead.
    ClickItem(tree, tree.FindItemByData(radical), Qt::ControlModifier);
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<quint32>(), radical);
    QVERIFY(tree.selectedItems().isEmpty());
    QVERIFY(!tree.RequestForNotice(radical));

    // The same clicks on a stroke-count item still ask for its page.
    const std::uint32_t stroke = MakeItemData(2, kStrokeNode);
    ClickItem(tree, tree.FindItemByData(stroke));
    ClickItem(tree, tree.FindItemByData(stroke), Qt::ControlModifier);
    QTRY_COMPARE(spy.count(), 4);
    QVERIFY(tree.selectedItems().isEmpty());
    QCOMPARE(tree.RequestForNotice(stroke),
             std::optional<ProtocolRequest>(ProtocolRequest{kListStrokeCount, 2, {}}));
}

QTEST_MAIN(CategoryTreeTest)
#include "CategoryTreeTest.moc"
