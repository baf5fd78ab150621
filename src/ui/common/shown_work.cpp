#include "ui/common/shown_work.h"

#include <QCoreApplication>
#include <QPointer>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quantora::ShownWork {

namespace {

// What a worker waiting for its call learns of it.
struct Waiter {
    bool done = false;
    std::exception_ptr error;
};

// A call handed to the window thread; waited for when it has a waiter.
struct HandedCall {
    std::function<void()> call;
    Waiter* waiter = nullptr;
};

// One run of work: what the worker hands over, in order, and its end.
struct WorkRun {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<HandedCall> calls;
    bool over = false;
    std::exception_ptr error;
};

// The run the current worker thread belongs to; none on the window thread.
thread_local WorkRun* workerRun = nullptr;

// Keeps every object that is to go after the event that asked for it alive until the work is
// over: the work may have started in that object's own handler (a dialog that closed, whose
// choice opens a job), which must not find it gone when the work returns.
class HeldDeletions : public QObject {
  public:
    HeldDeletions() { QCoreApplication::instance()->installEventFilter(this); }
    ~HeldDeletions() override {
        QCoreApplication::instance()->removeEventFilter(this);
        for (const QPointer<QObject>& held : held_)
            if (held) held->deleteLater();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::DeferredDelete) return false;
        held_.push_back(watched);
        return true;
    }

  private:
    std::vector<QPointer<QObject>> held_;
};

// The window thread's turn: paint what is due and what the desktop asks for, leaving the
// user's input, the timers and the deletions for later.
void PaintWhatIsDue() {
    HeldDeletions held;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::X11ExcludeTimers);
}

// The one worker thread, kept for the whole run of the program: starting a thread for each
// opening would cost more than a small costing's pricing, and a fresh thread's first memory is
// slow to come by.
class Worker {
  public:
    ~Worker() {
        {
            std::lock_guard<std::mutex> held(lock_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    // Runs job on the worker thread; returns at once.
    void Start(std::function<void()> job) {
        std::lock_guard<std::mutex> held(lock_);
        if (!thread_.joinable()) thread_ = std::thread([this] { Serve(); });
        job_ = std::move(job);
        busy_ = true;
        wake_.notify_all();
    }
    bool Busy() {
        std::lock_guard<std::mutex> held(lock_);
        return busy_;
    }
    // Returns once the job has returned, and the worker holds nothing of it.
    void Finish() {
        std::unique_lock<std::mutex> held(lock_);
        wake_.wait(held, [this] { return !busy_; });
    }

  private:
    void Serve() {
        std::unique_lock<std::mutex> held(lock_);
        for (;;) {
            wake_.wait(held, [this] { return stopping_ || job_; });
            if (!job_) return;
            std::function<void()> job = std::move(job_);
            job_ = nullptr;
            held.unlock();
            job();
            job = nullptr;
            held.lock();
            busy_ = false;
            wake_.notify_all();
        }
    }

    std::mutex lock_;
    std::condition_variable wake_;
    std::function<void()> job_;
    bool stopping_ = false;
    bool busy_ = false;
    std::thread thread_;
};

Worker& TheWorker() {
    static Worker worker;
    return worker;
}

}  // namespace

void Run(const std::function<void()>& work, const std::function<void()>& eachTurn) {
    // Work started from inside other work (from the worker, or from a message box shown
    // meanwhile) runs where it is asked for: the one worker is taken.
    if (workerRun != nullptr || TheWorker().Busy()) {
        work();
        if (eachTurn) eachTurn();
        return;
    }
    WorkRun run;
    TheWorker().Start([&run, &work] {
        workerRun = &run;
        std::exception_ptr error;
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        workerRun = nullptr;
        std::lock_guard<std::mutex> held(run.lock);
        run.error = error;
        run.over = true;
        run.changed.notify_all();
    });
    for (;;) {
        PaintWhatIsDue();
        std::deque<HandedCall> calls;
        bool over = false;
        {
            std::unique_lock<std::mutex> held(run.lock);
            run.changed.wait_for(held, std::chrono::milliseconds(10),
                                 [&run] { return run.over || !run.calls.empty(); });
            calls.swap(run.calls);
            over = run.over;
        }
        // The calls first, in the order the work made them (a window shown before its bar
        // grows), then the catching up with the work.
        for (HandedCall& handed : calls) {
            std::exception_ptr error;
            try {
                handed.call();
            } catch (...) {
                error = std::current_exception();
            }
            if (handed.waiter == nullptr) continue;
            std::lock_guard<std::mutex> held(run.lock);
            handed.waiter->error = error;
            handed.waiter->done = true;
            run.changed.notify_all();
        }
        if (eachTurn) eachTurn();
        if (over) break;
    }
    TheWorker().Finish();
    // What the work painted last is on the screen before the window thread goes on.
    PaintWhatIsDue();
    if (eachTurn) eachTurn();
    if (run.error) std::rethrow_exception(run.error);
}

void OnWindows(const std::function<void()>& call) {
    WorkRun* run = workerRun;
    if (run == nullptr) return call();
    Waiter waiter;
    std::unique_lock<std::mutex> held(run->lock);
    run->calls.push_back({call, &waiter});
    run->changed.notify_all();
    run->changed.wait(held, [&waiter] { return waiter.done; });
    if (waiter.error) std::rethrow_exception(waiter.error);
}

void Post(std::function<void()> call) {
    WorkRun* run = workerRun;
    if (run == nullptr) return call();
    std::lock_guard<std::mutex> held(run->lock);
    run->calls.push_back({std::move(call), nullptr});
    run->changed.notify_all();
}

}  // namespace quantora::ShownWork
