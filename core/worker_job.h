#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

// One piece of work handed to a worker thread, and the window thread's hold on it. The think, the
// hint and the review all run this way.

namespace vell {

// Runs a body on a new worker thread and returns at once.
using WorkerStarter = std::function<void(std::function<void()>)>;

// What the window thread and the worker share of one piece of work. The input is a private copy
// taken when the work starts (the position, turn or game it belongs to) and never changes; the
// worker writes the output and then marks the job finished (release); the window thread reads
// the output only after it has seen that (acquire). Cancelling asks the worker to stop at its
// next look at the flag; a cancelled job's output is never read.
template <typename Input, typename Output>
class WorkerJob {
  public:
    explicit WorkerJob(Input input) : input(std::move(input)) {}

    const Input input;
    Output output{};

    const std::atomic<bool>& CancelFlag() const { return cancelled; }
    bool Cancelled() const { return cancelled.load(std::memory_order_relaxed); }
    void Cancel() { cancelled.store(true, std::memory_order_relaxed); }
    // Asks the worker to finish at once with the best it has so far (a think plays the best
    // move of its deepest completed depth); unlike a cancelled job, its output is read.
    bool Hurried() const { return hurried.load(std::memory_order_relaxed); }
    void Hurry() { hurried.store(true, std::memory_order_relaxed); }
    bool Finished() const { return finished.load(std::memory_order_acquire); }
    // Progress the worker reports (a finished depth, a count of positions); 0 at the start.
    int Progress() const { return progress.load(std::memory_order_relaxed); }
    void ReportProgress(int value) { progress.store(value, std::memory_order_relaxed); }

    // Called once by the worker after writing the output.
    void MarkFinished() {
        {
            std::lock_guard lock(mutex);
            finished.store(true, std::memory_order_release);
        }
        ended.notify_all();
    }
    // Blocks until the worker has marked the job finished.
    void WaitFinished() {
        std::unique_lock lock(mutex);
        ended.wait(lock, [this] { return Finished(); });
    }

  private:
    std::atomic<bool> cancelled{false};
    std::atomic<bool> hurried{false};
    std::atomic<bool> finished{false};
    std::atomic<int> progress{0};
    std::mutex mutex;
    std::condition_variable ended;
};

// The window thread's side: the job of the current turn (active) and the most recently started
// one (last), which may have been dropped but still runs until it sees its cancel flag. One job
// runs at a time: callers start a new one only once Busy is false. Destroying the slot cancels
// the last job and waits for it, so no worker outlives what it reads.
template <typename Input, typename Output>
class WorkerSlot {
  public:
    using Job = WorkerJob<Input, Output>;
    using Body = std::function<Output(Job& job)>;

    WorkerSlot() = default;
    ~WorkerSlot() {
        if (!last) return;
        last->Cancel();
        last->WaitFinished();
    }
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    // Starts `body` on a worker with `input` as the job's private copy; it becomes the active job.
    void Start(const WorkerStarter& startWorker, Input input, Body body) {
        auto job = std::make_shared<Job>(std::move(input));
        active = job;
        last = job;
        startWorker([job, body = std::move(body)] {
            job->output = body(*job);
            job->MarkFinished();
        });
    }
    // Cancels the active job and forgets it; its output will never be read.
    void Drop() {
        if (!active) return;
        active->Cancel();
        active.reset();
        delivered = false;
    }

    // Asks the active job, while it runs, to finish at once with what it has.
    void HurryActive() {
        if (Running()) active->Hurry();
    }
    // The active job, or null.
    const Job* Active() const { return active.get(); }
    // The active job has been started and has not finished.
    bool Running() const { return active && !active->Finished(); }
    // Some job (active or dropped) has not finished; whatever it reads must not change yet.
    bool Busy() const { return last && !last->Finished(); }
    // The active job's output, once, when it has just finished; otherwise null.
    const Output* TakeFinished() {
        if (!active || delivered || !active->Finished()) return nullptr;
        delivered = true;
        return &active->output;
    }
    // The active job's output once TakeFinished has handed it over; otherwise null.
    const Output* Delivered() const { return active && delivered ? &active->output : nullptr; }

  private:
    std::shared_ptr<Job> active;
    std::shared_ptr<Job> last;
    bool delivered = false;
};

}  // namespace vell
