#pragma once

#include "common/non_copyable.h"
#include "host/run_progress.h"

#include <chrono>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <windows.h>

namespace kastrel::host::com {

// Thrown by a call's work on the call thread when the host refused it as busy.
struct HostBusy {};

// The thread every COM call of one connection is made on, in the
// multithreaded apartment. The thread that asks only waits for the answer, so
// it can stop waiting: Wine's COM does not give up a call the host never
// answers even when the message filter says so, but a caller that is not in
// the call can walk away from it on any system. Shared by the connection and
// every host object from it; the objects' interface pointers live and are
// released on this thread only.
class CallThread : public std::enable_shared_from_this<CallThread>, private common::NonCopyable {
public:
    // Starts the thread. Without a wait set, a caller waits for an answer,
    // and for a busy host to take the call, at most `unattended`; then the
    // host counts as lost, as on the bus after its timeout. Throws
    // AutomationError when the thread cannot be started.
    static std::shared_ptr<CallThread> start(std::chrono::milliseconds unattended);
    ~CallThread();

    // Ends the thread once its queue is done. A call the caller walked away
    // from is not waited for; the thread ends with the program then.
    void stop();

    // While set, a waiting caller reports to `wait` in short steps (the wait
    // pumps the window), and a busy host is called again while `wait` lets
    // it, for as long as it lets it. Not owned; only for the thread that asks.
    void set_call_wait(CallWait* wait) { wait_ = wait; }

    // Runs `work` on the call thread and returns what it returns, or throws
    // what it throws. A HostBusy is retried while the wait lets it (without
    // one it is the host's refusal); a call the wait gives up is RunCancelled,
    // and `work` runs on alone: it must own everything it touches.
    template <class Work> auto run(Work work) -> decltype(work()) {
        using Result = decltype(work());
        auto result = std::make_shared<std::optional<Result>>();
        execute([result, work = std::move(work)]() mutable { result->emplace(work()); });
        return std::move(**result);
    }

    // Runs a release on the call thread and waits for it as for a call, so
    // that the host sees it where it happened. Never throws: a wait that gives
    // up, or a call given up before, leaves it to run later. Done inline on
    // the call thread, dropped once that has ended.
    void release(std::function<void()> work) noexcept;

    // Shares `object`, deleting it on the call thread once the last share
    // goes, wherever that is (a COM interface pointer must be released in the
    // apartment it was got in).
    template <class T> std::shared_ptr<T> own(T* object) {
        return std::shared_ptr<T>(object, [thread = weak_from_this()](T* owned) {
            if (const auto alive = thread.lock())
                alive->release([owned] { delete owned; });
        });
    }

private:
    struct Task;

    enum class WaitEnd { Answered, GivenUp, TooLong };

    explicit CallThread(std::chrono::milliseconds unattended);
    void execute(std::function<void()> work);
    WaitEnd wait_for(const std::shared_ptr<Task>& task, DWORD started) noexcept;
    // Walks away from `task` unless it has just finished.
    WaitEnd leave(Task& task, WaitEnd why) noexcept;
    bool anything_abandoned();
    // A busy host left alone a little; false: the wait gave up.
    bool pause_for_busy_host(DWORD started);
    // False once the call thread has ended.
    bool submit(std::shared_ptr<Task> task);
    void serve();

    // The system's own lock and conditions: under Wine they cost no trip to
    // its server, which an event or a mutex of the C++ runtime does there,
    // and every host call takes two.
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE queued_ = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE finished_ = CONDITION_VARIABLE_INIT;
    // Under lock_:
    std::deque<std::shared_ptr<Task>> queue_;
    bool stopping_ = false;
    bool ended_ = false;
    // Tasks the caller walked away from that have not finished yet.
    int abandoned_ = 0;

    const DWORD unattended_ms_;
    DWORD thread_id_ = 0;
    HANDLE thread_ = nullptr;
    CallWait* wait_ = nullptr;
};

} // namespace kastrel::host::com
