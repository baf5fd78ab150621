// "Price Changes...": the lines of the open costing whose prices changed since it was saved,
// the largest effect first, with the total's old and new values. Enter (or a double click) on
// a job's line shows what changed inside that job, the same way, and Backspace goes back up.
// It can compare with the job's last quote instead of its last save. The list as it stands
// prints like any print-out and exports to CSV.
#pragma once

#include <QDialog>
#include <vector>

#include "costing/price_changes.h"
#include "costing/quote_record.h"

class QLabel;
class QTreeWidget;

namespace quantora {

class Session;

class PriceChangesBox : public QDialog {
  public:
    // unsaved: whether the opening's changes are still unsaved (a save makes them history).
    PriceChangesBox(QWidget* parent, Session& session, const ReloadResult& opened, bool unsaved,
                    const std::string& jobName, const std::optional<QuoteRecord>& quoted);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // One level of the list: a job and what changed in it.
    struct Level {
        std::string job;
        std::vector<ChangedLine> lines;
        std::optional<Amount> savedTotal;
        Amount total;
    };
    void Show(const Level& level);
    // Starts again from the open job: its changes since the last save or since the quote.
    void ShowFromTop(bool sinceQuote);
    void OpenRow();
    // Why each line's price is what it is now, where the lists' histories know.
    std::vector<std::string> Reasons(const Level& level) const;
    // "Price Changes - House > Wall": the jobs from the open one down to the one shown.
    std::string Title() const;
    void Print();
    void ExportCsv();

    Session& session_;
    const ReloadResult& opened_;
    bool unsaved_;
    std::string jobName_;
    const std::optional<QuoteRecord>& quoted_;
    std::vector<Level> levels_;  // from the open job down to the one shown
    QLabel* where_;
    QLabel* totals_;
    QLabel* note_;
    QTreeWidget* list_;
};

}  // namespace quantora
