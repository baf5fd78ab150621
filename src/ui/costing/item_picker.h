// The item picker " Select Item": chooses an item of a price list to fill a line of the
// costing sheet. The grey column switches price lists (for good: the chosen list stays the
// current one), the white column lists the items under the same four filters as the price
// list editor, and the filter chosen and its texts are remembered for the whole run.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QListView;
class QListWidget;
class QFrame;

namespace quantora {

class FilterPanel;
class HelpPanel;
class ItemNames;
class Session;

class ItemPicker : public QDialog {
    Q_OBJECT
  public:
    ItemPicker(QWidget* sheet, Session& session);

    // Shows the picker modal: the chosen item's name, from the current price list, or
    // nothing when cancelled.
    std::optional<std::string> Pick();
    // Whether the items of the current list have been read since the picker opened: they
    // are, once it is on the screen.
    bool ItemsLoaded() const { return itemsLoaded_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    void LoadPriceLists();
    void LoadItems();
    void PriceListChosen();
    void FilterChosen(int k);
    void Choose();
    void ResizeForHelpPanel(bool shown);

    Session& session_;
    QListWidget* priceLists_;
    QListView* items_;
    ItemNames* names_;
    FilterPanel* filters_;
    QFrame* helpFrame_;
    HelpPanel* helpPanel_ = nullptr;
    std::optional<std::string> chosen_;
    bool itemsLoaded_ = false;
    // Where the Enter being held was pressed: only its release there acts.
    QWidget* enterPressedIn_ = nullptr;
};

}  // namespace quantora
