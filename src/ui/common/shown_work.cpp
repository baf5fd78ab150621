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

// A call handed to the window thread, with what the waiting worker learns of it.
struct HandedCall {
    const std::function<void()>* call;
    bool done = false;
    std::exception_ptr error;
};

// One run of work: what the worker hands over, and its end.
struct WorkRun {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<HandedCall*> calls;
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

}  // namespace

void Run(const std::function<void()>& work, const std::function<void()>& eachTurn) {
    WorkRun run;
    std::thread worker([&run, &work] {
        workerRun = &run;
        std::exception_ptr error;
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> held(run.lock);
        run.error = error;
        run.over = true;
        run.changed.notify_all();
    });
    for (;;) {
        PaintWhatIsDue();
        if (eachTurn) eachTurn();
        std::deque<HandedCall*> calls;
        bool over = false;
        {
            std::unique_lock<std::mutex> held(run.lock);
            run.changed.wait_for(held, std::chrono::milliseconds(10),
                                 [&run] { return run.over || !run.calls.empty(); });
            calls.swap(run.calls);
            over = run.over;
        }
        if (!calls.empty() && eachTurn) eachTurn();
        for (HandedCall* handed : calls) {
            try {
                (*handed->call)();
            } catch (...) {
                handed->error = std::current_exception();
            }
            std::lock_guard<std::mutex> held(run.lock);
            handed->done = true;
            run.changed.notify_all();
        }
        if (over) break;
    }
    worker.join();
    // What the work painted last is on the screen before the window thread goes on.
    PaintWhatIsDue();
    if (eachTurn) eachTurn();
    if (run.error) std::rethrow_exception(run.error);
}

void OnWindows(const std::function<void()>& call) {
    WorkRun* run = workerRun;
    if (run == nullptr) return call();
    HandedCall handed{&call, false, nullptr};
    std::unique_lock<std::mutex> held(run->lock);
    run->calls.push_back(&handed);
    run->changed.notify_all();
    run->changed.wait(held, [&handed] { return handed.done; });
    if (handed.error) std::rethrow_exception(handed.error);
}

}  // namespace quantora::ShownWork
