#include "controls/tree/CategoryTree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>
#include <type_traits>

namespace quillory {
namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kFontSlotRole = Qt::UserRole + 1;

QTreeWidgetItem* FindInSubtree(QTreeWidgetItem* item, std::uint32_t data) {
    if (CUniTreeCtrl::ItemData(item) == data) {
        return item;
    }
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = FindInSubtree(item->child(i), data)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

CUniTreeCtrl::CUniTreeCtrl(FontProvider fonts, QWidget* parent)
    : QTreeWidget(parent), fonts_(std::move(fonts)) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::StyledPanel);
    // Selected labels show white on dark blue while the tree has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Active, QPalette::Highlight, QColor(0, 0, 128));
    colours.setColor(QPalette::Active, QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    if (fonts_) {
        setFont(fonts_(kJiantiFontSlot));
    }
}

void CUniTreeCtrl::Build(const CategoryListing& listing) {
    strokeCounts_ = listing.strokeCounts;
    BuildFromNodes(BuildCategoryTree(listing));
}

void CUniTreeCtrl::BuildFromNodes(const std::vector<TreeNode>& roots) {
    clear();
    for (const TreeNode& node : roots) {
        AddNode(nullptr, node);
    }
}

QTreeWidgetItem* CUniTreeCtrl::AddNode(QTreeWidgetItem* parent, const TreeNode& node) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, node.text);
    item->setData(0, kDataRole, QVariant::fromValue<quint32>(node.data));
    SetItemFont(item, node.fontSlot);
    for (const TreeNode& child : node.children) {
        AddNode(item, child);
    }
    return item;
}

void CUniTreeCtrl::Relabel(const LanguageData& texts, const NameRegistry& names, int language,
                           const LessonTitles& titlesInLanguage) {
    ApplyLabels(RelabelCategoryTree(texts, names, language, strokeCounts_, titlesInLanguage));
}

void CUniTreeCtrl::ApplyLabels(const std::vector<LabelChange>& changes) {
    for (const LabelChange& change : changes) {
        QTreeWidgetItem* item = FindItemByData(change.data);
        if (item == nullptr) {
            continue;
        }
        item->setText(0, change.text);
        if (change.fontSlot) {
            SetItemFont(item, *change.fontSlot);
        }
    }
}

bool CUniTreeCtrl::ApplyLessonNotice(const LessonNotice& notice) {
    return std::visit(
        [this](const auto& action) -> bool {
            using Action = std::decay_t<decltype(action)>;
            if constexpr (std::is_same_v<Action, RemoveLessonItem>) {
                QTreeWidgetItem* item = FindItemByData(action.data);
                delete item;
                return item != nullptr;
            } else {
                // A lesson imported again keeps its one item, with the new title.
                if (QTreeWidgetItem* existing = FindItemByData(action.item.data)) {
                    existing->setText(0, action.item.text);
                    SetItemFont(existing, action.item.fontSlot);
                    return true;
                }
                QTreeWidgetItem* category = FindItemByData(action.categoryData);
                if (category == nullptr) {
                    return false;
                }
                AddNode(category, action.item);
                return true;
            }
        },
        notice);
}

QTreeWidgetItem* CUniTreeCtrl::FindItemByData(std::uint32_t data) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* found = FindInSubtree(topLevelItem(i), data)) {
            return found;
        }
    }
    return nullptr;
}

std::uint32_t CUniTreeCtrl::ItemData(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kDataRole).value<quint32>() : 0;
}

void CUniTreeCtrl::SetItemFont(QTreeWidgetItem* item, int fontSlot) {
    item->setData(0, kFontSlotRole, fontSlot);
    if (fontSlot == kTreeOwnFont || !fonts_) {
        item->setData(0, Qt::FontRole, QVariant());
    } else {
        item->setFont(0, fonts_(fontSlot));
    }
}

void CUniTreeCtrl::ReapplyFonts() {
    if (fonts_) {
        setFont(fonts_(kJiantiFontSlot));
    }
    std::function<void(QTreeWidgetItem*)> reapply = [&](QTreeWidgetItem* item) {
        SetItemFont(item, item->data(0, kFontSlotRole).toInt());
        for (int i = 0; i < item->childCount(); ++i) {
            reapply(item->child(i));
        }
    };
    for (int i = 0; i < topLevelItemCount(); ++i) {
        reapply(topLevelItem(i));
    }
}

std::optional<ProtocolRequest> CUniTreeCtrl::RequestForNotice(std::uint32_t itemData) const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    const bool isSelected =
        std::any_of(selected.begin(), selected.end(),
                    [itemData](const QTreeWidgetItem* item) { return ItemData(item) == itemData; });
    return TreeClickRequest(itemData, isSelected);
}

void CUniTreeCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const quint32 data = ItemData(itemAt(event->position().toPoint()));
        // Queued, so that the receiver sees the selection this click makes.
        QMetaObject::invokeMethod(
            this, [this, data] { emit treeNotify(data); }, Qt::QueuedConnection);
    }
    QTreeWidget::mousePressEvent(event);
}

void CUniTreeCtrl::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && currentItem() != nullptr) {
        // The current item of a single-selection tree is the selected one,
        // unless a control-click cleared the selection.
        const quint32 data = ItemData(currentItem());
        QMetaObject::invokeMethod(
            this, [this, data] { emit treeNotify(data); }, Qt::QueuedConnection);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace quillory
