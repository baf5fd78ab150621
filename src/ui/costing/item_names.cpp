#include "ui/costing/item_names.h"

namespace quantora {

void ItemNames::Load(const std::string& listFolder, const ItemFilter& filter) {
    beginResetModel();
    list_.LoadNames(listFolder, filter);
    endResetModel();
}

std::string ItemNames::NameAt(int row) const {
    return std::string(list_.ItemList()[static_cast<std::size_t>(row)].name);
}

int ItemNames::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.LastIndex() + 1;
}

QVariant ItemNames::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() > list_.LastIndex()) return {};
    std::string_view name = list_.ItemList()[static_cast<std::size_t>(index.row())].name;
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace quantora
