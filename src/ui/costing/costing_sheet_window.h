// The costing sheet: one job as twenty rows over its lines, typed in with the keyboard.
// It opens on the working copy the management window made, reprices it with the progress
// windows, and closes back to the management window, asking first when the costing
// changed. The rules of the rows are the core's CostingSheet; this window shows them.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "costing/costing_sheet.h"
#include "costing/pricing.h"
#include "costing/quote_record.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;

namespace quantora {

class HelpPanel;
class JobSelector;
class Session;

class CostingSheetWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kRows = CostingSheet::kRows;

    // Opens the job Session names (CurrentJobName, CurrentJobPath) from Temp.job, repriced.
    // managementWindow is the window it opens on the screen of.
    CostingSheetWindow(QWidget* managementWindow, Session& session);
    ~CostingSheetWindow() override;

    const CostingSheet& Sheet() const { return *sheet_; }

  signals:
    // The sheet has closed: the management window shows itself again.
    void closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildRows(QWidget* area);
    void BuildHelpPanel(QWidget* area);
    void BuildMenus();
    void ResizeForHelpPanel(bool shown);

    void ShowRows();
    void ShowRow(int row);
    void ShowSlider();
    void FocusCurrentRow();
    void Hlt();
    void ShowClock();

    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    bool QuantKeyPress(int row, QKeyEvent* key);
    void QuantKeyReleased(int row, QKeyEvent* key);
    // Sort and Delete Line: the shown rows are written back, the lines rearranged with the
    // busy pointer showing, and the rows shown again.
    void RearrangeLines(const std::function<void()>& rearrange);
    // The picks: the automatic one by the Auto Pick choice, from a price list through the
    // item picker, from another job through the job selector.
    void AutoPick();
    void PickFromPriceLists();
    void PickFromOtherJobs();
    void FillCurrentRow(const std::string& item, std::int16_t kind, std::int16_t slot,
                        Amount price);
    void OverflowGuard();

    void Save(bool silent);
    // File "Print": the job's lines as they stand, through the print options.
    void Print();
    void SaveAs();
    // File "Print Quote...": the lines as they stand, with the shop's margin on, for the
    // customer; each quote that goes out is also kept in the data folder as it was printed.
    void PrintQuote();
    void ExportToCsv();
    void DeleteJob();
    // What the opening's repricing changed since the job was saved: a note beneath the sheet
    // and a mark beside each changed line, until the job is saved; and the list of them.
    void ShowPriceChanges();
    void ForgetPriceChanges();
    void ListPriceChanges();

    int RowOf(QObject* control) const;

    QWidget* managementWindow_;
    Session& session_;
    std::unique_ptr<CostingSheet> sheet_;
    bool clickArmed_ = false;
    int highlighted_ = -1;
    int pressed_ = 0;  // the last key pressed in the sheet, until released
    bool closing_ = false;
    QString shownClock_;

    QWidget* area_;
    std::array<QLineEdit*, kRows> quant_{};
    std::array<QLabel*, kRows> item_{};
    std::array<QLabel*, kRows> price_{};
    std::array<QLabel*, kRows> subTot_{};
    std::array<QLabel*, kRows> changeMark_{};
    QLabel* total_;
    QLabel* jobName_;
    QScrollBar* slider_;
    QFrame* helpFrame_;
    HelpPanel* helpPanel_ = nullptr;
    QAction* autoPrices_;
    QAction* autoJobs_;
    QTimer* clockTimer_;
    std::unique_ptr<JobSelector> selector_;  // kept hidden between uses while the sheet is open
    ReloadResult opened_;                    // the opening's repricing, for Price Changes
    std::vector<bool> changedLine_;          // by line: marked as changed since saved
    QLabel* changeNote_ = nullptr;
    std::optional<QuoteRecord> quoted_;  // the job's last quote, when one went out
};

}  // namespace quantora
