// The three " Please wait......." windows that show a repricing as it runs: one for the
// open job, one for a job it names, one for the jobs reached through those. The pricing runs
// on a worker thread while this program's window thread keeps them painted, so each is on the
// screen with its label and its growing bar from the moment it appears.
#pragma once

#include <QDialog>
#include <array>
#include <atomic>
#include <functional>

#include "costing/pricing_observer.h"

class QLabel;

namespace quantora {

class ProgressBar;
class Session;

class PricingProgressWindow : public QDialog {
  public:
    explicit PricingProgressWindow(QWidget* owner);
    // Shows the window for the job, its bar empty, centred on the owner's screen; below is
    // the window it opens beneath, or none.
    void Show(const std::string& jobName, std::int32_t divisor, const QWidget* below);
    ProgressBar* Bar() const { return bar_; }

  private:
    QLabel* label_;
    ProgressBar* bar_;
};

// The observer the costing sheet gives the pricing engine. The engine runs on a worker
// thread: the windows are shown, filled and closed on the window thread while the engine
// waits, and a bar catches up with the lines read at the window thread's next turn.
class PricingProgress : public PricingObserver {
  public:
    PricingProgress(QWidget* sheet, Session& session);

    // Runs pricing, given this observer, with its windows shown as it goes. Throws what the
    // pricing threw.
    void Run(const std::function<void(PricingObserver&)>& pricing);

    void ShowProgress(ProgressWindow window, const std::string& jobName,
                      std::int32_t divisor) override;
    void StepProgress(ProgressWindow window) override;
    void FillProgress(ProgressWindow window) override;
    void CloseProgress(ProgressWindow window) override;
    void Pause(std::int16_t milliseconds) override;
    void CycleThroughOpenJob() override;

  private:
    PricingProgressWindow& Window(ProgressWindow window);
    // Grows the bars by the lines read since their last growth.
    void CatchUp();

    QWidget* sheet_;
    Session& session_;
    // Owned by the sheet, which keeps a window once shown.
    std::array<PricingProgressWindow*, 3> windows_{};
    // Lines read by the engine that the bars do not show yet.
    std::array<std::atomic<std::int64_t>, 3> owed_{};
    bool working_ = false;  // pricing runs on the worker, whose lines the window thread shows
};

inline constexpr const char* kCycleRefused =
    "The job you have chosen cannot be included!   \n\nIt includes this job.";

}  // namespace quantora
