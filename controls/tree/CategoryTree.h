#pragma once
// The category tree on the left of the main window. It shows the built
// nodes with per-item display fonts and reports clicks as item data; the
// window turns them into requests.
#include "controls/tree/CategoryTreeBuilder.h"

#include <QFont>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <vector>

namespace quillory {

class CUniTreeCtrl : public QTreeWidget {
    Q_OBJECT

public:
    // The display font of a slot (0 English ... 5 second Fanti font).
    using FontProvider = std::function<QFont(int slot)>;

    explicit CUniTreeCtrl(FontProvider fonts, QWidget* parent = nullptr);

    // Replaces every item with the nodes built from the listing, which the
    // tree keeps for relabelling.
    void Build(const CategoryListing& listing);
    void BuildFromNodes(const std::vector<TreeNode>& roots);

    void Relabel(const LanguageData& texts, const NameRegistry& names, int language,
                 const LessonTitles& titlesInLanguage);
    // Each change goes to the first item with its data; changes for data that
    // no item has are dropped.
    void ApplyLabels(const std::vector<LabelChange>& changes);

    // Adds, renames or removes a lesson item. False when there was nothing
    // to change (no category for an addition, no item for a removal).
    bool ApplyLessonNotice(const LessonNotice& notice);

    // First item, in depth-first pre-order, whose data equals the value.
    QTreeWidgetItem* FindItemByData(std::uint32_t data) const;
    static std::uint32_t ItemData(const QTreeWidgetItem* item);

    void SetItemFont(QTreeWidgetItem* item, int fontSlot);
    // Fonts changed in the settings: every item takes its slot's font again.
    void ReapplyFonts();

    // The request for a notified item, judged against the current selection.
    std::optional<ProtocolRequest> RequestForNotice(std::uint32_t itemData) const;

signals:
    // A left click on the tree: the hit item's data, 0 beside the items.
    // Delivered after the click has been processed (selection included).
    // Enter or Return on the current item notifies the same way, so the
    // tree works from the keyboard too.
    void treeNotify(quint32 itemData);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const TreeNode& node);

    FontProvider fonts_;
    std::vector<std::uint8_t> strokeCounts_;
};

} // namespace quillory
