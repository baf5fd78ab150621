// "Price Changes...": the lines of the open costing whose prices changed since it was saved,
// the largest effect first, with the total's old and new values. Enter (or a double click) on
// a job's line shows what changed inside that job, the same way, and Backspace goes back up.
// The list as it stands exports to CSV.
#pragma once

#include <QDialog>
#include <vector>

#include "costing/price_changes.h"

class QLabel;
class QTreeWidget;

namespace quantora {

class Session;

class PriceChangesBox : public QDialog {
  public:
    PriceChangesBox(QWidget* parent, Session& session, const ReloadResult& opened,
                    const std::string& jobName);

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
    void OpenRow();
    void ExportCsv();

    Session& session_;
    const ReloadResult& opened_;
    std::vector<Level> levels_;  // from the open job down to the one shown
    QLabel* where_;
    QLabel* totals_;
    QLabel* note_;
    QTreeWidget* list_;
};

}  // namespace quantora
