// How pricing shows itself: the windows of this program implement this to show the
// "Please wait" progress windows, the cycle message and the pauses; tests and benchmarks
// pass one that records. Every call has a default that does nothing.
#pragma once

#include <cstdint>
#include <string>

namespace quantora {

// The three progress windows: the one of the reload of the open job, the one of the job a
// line names directly, and the one of the jobs reached through other jobs.
enum class ProgressWindow { Reload, Job, NestedJob };

class PricingObserver {
  public:
    virtual ~PricingObserver() = default;

    // Shows (or shows again) a progress window labelled "Costing - " + jobName with an empty
    // bar; each StepProgress then widens the bar by its frame width / divisor (by 1 twip
    // when divisor is 0).
    virtual void ShowProgress(ProgressWindow, const std::string& /*jobName*/,
                              std::int32_t /*divisor*/) {}
    virtual void StepProgress(ProgressWindow) {}
    virtual void FillProgress(ProgressWindow) {}
    // Hides and unloads the window; called also for a window that is not shown.
    virtual void CloseProgress(ProgressWindow) {}
    // A pause so the user can follow; the windows wait, tests and benchmarks need not.
    virtual void Pause(std::int16_t /*milliseconds*/) {}

    // A saved job is about to be walked line by line (not called for a cached total).
    virtual void JobWalked(const std::string& /*path*/, int /*depth*/) {}
    // A job on the way includes the open job: show "The job you have chosen cannot be
    // included!" with "It includes this job.".
    virtual void CycleThroughOpenJob() {}
    // A job includes a job that is already being walked above it (a loop that does not pass
    // through the open job); that line is priced at 0.
    virtual void LoopRefused(const std::string& /*path*/) {}
};

}  // namespace quantora
