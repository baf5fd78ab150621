// The names of a price list as a list view shows them, straight from the list's own model:
// a list of a million items costs the view nothing per name until a row is drawn.
#pragma once

#include <QAbstractListModel>

#include "pricelists/price_list_model.h"

namespace quantora {

class ItemNames : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    // Reads the names of the list folder that pass the filter, in their order.
    void Load(const std::string& listFolder, const ItemFilter& filter);
    std::string NameAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    PriceListModel list_;
};

}  // namespace quantora
