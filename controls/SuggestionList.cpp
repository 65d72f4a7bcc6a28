#include "controls/SuggestionList.h"

#include "dictionary/lists/CharacterList.h"
#include "dictionary/text/Romanisation.h"

#include <QHeaderView>

#include <algorithm>

namespace quillory {
namespace {

enum Column { kWordColumn, kReadingColumn, kGlossColumn, kColumnCount };

} // namespace

bool WantsSuggestions(const QString& text) {
    int letters = 0;
    for (const uint code : text.toUcs4()) {
        if (IsIdeograph(code)) {
            return true;
        }
        if (QChar::isLetter(code)) {
            ++letters;
        }
    }
    return letters >= 2;
}

SuggestionList::SuggestionList(QWidget* anchor) : QTreeWidget(anchor), anchor_(anchor) {
    // A window of its own over everything, shown without being activated, that
    // leaves the keyboard with the anchor.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    setColumnCount(kColumnCount);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { emit wordClicked(item->text(kWordColumn)); });
}

void SuggestionList::ShowSuggestions(const QList<Suggestion>& suggestions) {
    clear();
    if (suggestions.isEmpty()) {
        hide();
        return;
    }
    setFont(anchor_->font());
    const qsizetype rows = std::min<qsizetype>(suggestions.size(), kMaxRows);
    for (qsizetype row = 0; row < rows; ++row) {
        const Suggestion& suggestion = suggestions[row];
        auto* item = new QTreeWidgetItem(this);
        item->setText(kWordColumn, suggestion.word);
        // Pinyin with tone marks; Jyutping keeps its tone digits.
        item->setText(kReadingColumn, suggestion.system == ReadingSystem::Pinyin
                                          ? MarkPinyinUnicode(suggestion.reading)
                                          : suggestion.reading);
        item->setText(kGlossColumn, suggestion.gloss);
        item->setToolTip(kGlossColumn, suggestion.gloss);
    }
    setCurrentItem(nullptr);
    clearSelection();
    PlaceUnderAnchor();
    show();
}

void SuggestionList::MoveSelection(int step) {
    const int rows = topLevelItemCount();
    if (rows == 0) {
        return;
    }
    QTreeWidgetItem* current = currentItem();
    const int row = current && current->isSelected() ? indexOfTopLevelItem(current) + step
                    : step > 0                       ? 0
                                                     : rows - 1;
    setCurrentItem(topLevelItem(std::clamp(row, 0, rows - 1)));
}

std::optional<QString> SuggestionList::selectedWord() const {
    const QTreeWidgetItem* current = currentItem();
    if (!current || !current->isSelected()) {
        return std::nullopt;
    }
    return current->text(kWordColumn);
}

QString SuggestionList::wordAt(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(kWordColumn) : QString();
}

// As wide as the anchor, or as the rows need up to the right edge of the
// anchor's window (a longer gloss is elided); as high as the rows.
void SuggestionList::PlaceUnderAnchor() {
    int width = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        resizeColumnToContents(column);
        width += sizeHintForColumn(column) + fontMetrics().averageCharWidth();
    }
    const int room = anchor_->window()->geometry().right() - anchor_->mapToGlobal(QPoint(0, 0)).x();
    width = std::clamp(width + 2 * frameWidth(), anchor_->width(), std::max(anchor_->width(), room));
    const int rowHeight = std::max(sizeHintForRow(0), fontMetrics().height());
    const int height = rowHeight * topLevelItemCount() + 2 * frameWidth();
    setGeometry(QRect(anchor_->mapToGlobal(QPoint(0, anchor_->height())), QSize(width, height)));
}

} // namespace quillory
