// The three " Please wait......." windows that show a repricing as it runs: one for the
// open job, one for a job it names, one for the jobs reached through those. They show the
// engine's progress as the engine reports it, and are painted at once, since no events are
// processed while pricing runs.
#pragma once

#include <QDialog>
#include <array>

#include "costing/pricing_observer.h"

class QLabel;

namespace quantora {

class ProgressBar;
class Session;

class PricingProgressWindow : public QDialog {
  public:
    explicit PricingProgressWindow(QWidget* owner);
    void Show(const std::string& jobName, std::int32_t divisor, int rowsDown);
    ProgressBar* Bar() const { return bar_; }

  private:
    QLabel* label_;
    ProgressBar* bar_;
};

// The observer the costing sheet gives the pricing engine.
class PricingProgress : public PricingObserver {
  public:
    PricingProgress(QWidget* sheet, Session& session);

    void ShowProgress(ProgressWindow window, const std::string& jobName,
                      std::int32_t divisor) override;
    void StepProgress(ProgressWindow window) override;
    void FillProgress(ProgressWindow window) override;
    void CloseProgress(ProgressWindow window) override;
    void Pause(std::int16_t milliseconds) override;
    void CycleThroughOpenJob() override;

  private:
    PricingProgressWindow& Window(ProgressWindow window);

    QWidget* sheet_;
    Session& session_;
    // Owned by the sheet, which keeps a window once shown.
    std::array<PricingProgressWindow*, 3> windows_{};
};

inline constexpr const char* kCycleRefused =
    "The job you have chosen cannot be included!   \n\nIt includes this job.";

}  // namespace quantora
