#include "ui/common/slot_column.h"

#include <QListWidget>

namespace quantora {

namespace {

constexpr int kSlotRole = Qt::UserRole;

}  // namespace

void ShowSlotColumn(QListWidget* column, const IndexColumn& loaded) {
    column->clear();
    for (const NamedSlot& entry : loaded.entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), column);
        item->setData(kSlotRole, entry.slot);
    }
    column->setCurrentRow(loaded.selected);
    if (loaded.selected < 0) column->clearSelection();
}

std::optional<std::int16_t> SelectedSlot(const QListWidget* column) {
    QList<QListWidgetItem*> selected = column->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::int16_t>(selected.front()->data(kSlotRole).toInt());
}

}  // namespace quantora
