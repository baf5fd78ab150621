// The price list editor: one price list as sixteen rows over its sorted items, an editor
// that adds an item or changes its price, and four filters. Every change is written to the
// item's file at once; there is nothing to save.
#pragma once

#include <QDialog>
#include <array>

#include "pricelists/item_filter.h"
#include "pricelists/price_list_model.h"
#include "services/row_window.h"
#include "ui/pricelists/price_list_transfer.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace quantora {

class FilterPanel;
class HelpPanel;
class ProgressBar;
class Session;

class PriceListEditor : public QDialog {
    Q_OBJECT
  public:
    // The list named listName, whose items lie in the current list folder. managementWindow
    // is the window this one opens on the screen of.
    PriceListEditor(QWidget* managementWindow, Session& session, const QString& listName);

    const PriceListModel& Model() const { return model_; }
    const RowWindow& Rows() const { return rows_; }
    int HighlightedRow() const { return highlightedRow_; }
    // Whether the list has been read since the window opened: it is, once the window is on
    // the screen with the keyboard in it.
    bool ListLoaded() const { return listLoaded_; }

    static constexpr int kRows = 16;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildEditor(QWidget* area);
    void BuildRows(QWidget* area);
    void BuildFilters(QWidget* area);
    void BuildProgress(QWidget* area);
    void BuildHelpPanel(QWidget* area);

    void LoadList();
    void Showit();
    void Hlt(int row);
    void ResizeForHelpPanel(bool shown);
    void UpdateSlider();

    // The bar that follows an import's or an undoing's writing; begun once it shows.
    ImportProgress WritingProgress(std::size_t& shown);
    void HideWritingProgress();
    // After an import or its undoing: the list read afresh, the editor frame empty.
    void AfterListChange();
    void AddBtn_Click();
    void DelBtn_Click();
    void ChooseRow(int row);
    void FilterOption_Click(int k);
    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    bool NameKeyPress(QKeyEvent* key);
    bool PriceKeyPress(QKeyEvent* key);

    Session& session_;
    QWidget* managementWindow_;
    std::string listFolder_;
    PriceListModel model_;
    QString listName_;
    RowWindow rows_{kRows};

    int highlightedRow_ = -1;
    bool listLoaded_ = false;  // read at least once since the window opened
    bool loadAsked_ = false;   // the first focus came, which reads the list

    QWidget* area_;
    QLineEdit* nameField_;
    QLineEdit* priceField_;
    QPushButton* deleteButton_;
    std::array<QLabel*, kRows> itemLabels_{};
    std::array<QLabel*, kRows> priceLabels_{};
    QScrollBar* slider_;
    FilterPanel* filters_;
    QFrame* progressFrame_;
    ProgressBar* progressBar_;
    QFrame* helpFrame_;
    HelpPanel* helpPanel_ = nullptr;
};

inline constexpr const char* kChooseAnItemFirst =
    "Choose an item first: type its name or pick it in the list, then Where Used lists the "
    "costings that use it.";

}  // namespace quantora
