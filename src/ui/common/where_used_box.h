// "Where Used...": the saved jobs that use an item or a job, those that name it first, then
// those that use it through other jobs (with the jobs between), then any job that could not be
// read. Where the box can open a job, Enter or a double click on it chooses that job.
#pragma once

#include <QDialog>
#include <optional>

#include "costing/where_used.h"

class QTreeWidget;

namespace quantora {

class WhereUsedBox : public QDialog {
    Q_OBJECT
  public:
    WhereUsedBox(QWidget* parent, const QString& what, const WhereUsed& used, bool canOpen);

    // The job chosen to open, once the box was accepted.
    std::optional<JobUse> Chosen() const { return chosen_; }

  private:
    std::vector<JobUse> rows_;  // the jobs in the order of the list's rows
    int openableRows_ = 0;      // the rows before those of jobs that cannot be read
    std::optional<JobUse> chosen_;
    QTreeWidget* list_;
};

}  // namespace quantora
