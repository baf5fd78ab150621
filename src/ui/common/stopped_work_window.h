// The window the start shows while it finishes an import that a kill or a power cut stopped:
// it appears only when there is such work, and names the list with a growing bar, so that a
// start that takes a while never looks like a program that hangs.
#pragma once

#include <QWidget>
#include <functional>
#include <mutex>
#include <string>

#include "pricelists/price_import.h"

class QLabel;

namespace quantora {

class ProgressBar;

class StoppedWorkWindow : public QWidget {
  public:
    StoppedWorkWindow();

    // Runs work on a worker thread and returns once it is over, throwing again what it threw.
    // The window is shown from the first list the work reports, and closed at the end.
    void Run(const std::function<void(const StoppedImportProgress&)>& work);

  private:
    void CatchUp();

    QLabel* message_;
    ProgressBar* bar_;
    std::mutex lock_;
    std::string list_, shownList_;
    std::size_t done_ = 0, total_ = 0, shownDone_ = 0;
};

}  // namespace quantora
