// The price list editor: one price list as sixteen rows over its sorted items, an editor
// that adds an item or changes its price, and four filters. Every change is written to the
// item's file at once; there is nothing to save.
#pragma once

#include <QDialog>
#include <array>

#include "pricelists/item_filter.h"
#include "pricelists/price_list_model.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace quantora {

struct AppState;

class PricesWindow : public QDialog {
    Q_OBJECT
  public:
    // The list named listName, whose items lie in the current list folder. managementWindow
    // is the window this one opens on the screen of.
    PricesWindow(QWidget* managementWindow, AppState& state, const QString& listName);

    const PriceListModel& Model() const { return model_; }
    int TopIndex() const { return topIndex_; }
    int CurrentRow() const { return currentRow_; }
    int HighlightedRow() const { return highlightedRow_; }

    static constexpr int kRows = 16;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildEditor(QWidget* area);
    void BuildRows(QWidget* area);
    void BuildFilters(QWidget* area);
    void BuildProgress(QWidget* area);
    void BuildHelpPanel(QWidget* area);

    void LoadList();
    void Showit();
    void Hlt(int row);
    void Setwidth(bool helpShown);
    void UpdateSliderRange();
    void Centre();

    void AddBtn_Click();
    void DelBtn_Click();
    void ChooseRow(int row);
    void FilterOption_Click(int k);
    bool WindowKey(QKeyEvent* key);
    bool NameKeyPress(QKeyEvent* key);
    bool PriceKeyPress(QKeyEvent* key);

    AppState& state_;
    QWidget* managementWindow_;
    std::string listFolder_;
    PriceListModel model_;

    int filterMode_ = 0;
    int topIndex_ = 0;
    int currentRow_ = 0;
    int highlightedRow_ = -1;
    bool listLoaded_ = false;
    bool helpShown_ = true;

    QLineEdit* AddText;
    QLineEdit* AddPrice;
    QPushButton* AddBtn;
    QPushButton* DelBtn;
    std::array<QLabel*, kRows> Item{};
    std::array<QLabel*, kRows> Price{};
    QScrollBar* Slider;
    std::array<QRadioButton*, 4> FilterOption{};
    std::array<QLineEdit*, 4> FilterText{};  // 1 to 3 are used
    QFrame* ProgFrame;
    QFrame* Barframe;
    QFrame* ProgBar;
    QFrame* HelpFrame;
    QAction* HMHide;
    QAction* HMShow;
};

}  // namespace quantora
