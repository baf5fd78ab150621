// The find box of the management window (Ctrl+F): as the user types, the jobs of every group
// whose names hold the text, each beside its group. Enter opens the chosen job as a double
// click would; Up and Down choose among them; Esc closes the box and changes nothing.
#pragma once

#include <QDialog>
#include <optional>

#include "manage/job_finder.h"

class QLabel;
class QLineEdit;
class QListView;

namespace quantora {

class FindJobBox : public QDialog {
    Q_OBJECT
  public:
    FindJobBox(QWidget* parent, const DataPaths& paths);

    // The job chosen when the box was accepted.
    std::optional<FoundJob> Chosen() const { return chosen_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowMatches();
    void Choose();

    class Matches;

    JobFinder finder_;
    Matches* matches_;
    QLabel* nothingFound_;
    std::optional<FoundJob> chosen_;
    QLineEdit* text_;
    QListView* results_;
};

}  // namespace quantora
