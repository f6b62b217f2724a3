#include "host/com/call_thread.h"

#include "host/automation_error.h"
#include "host/com/com_error.h"

#include <algorithm>
#include <chrono>
#include <objbase.h>
#include <string>

namespace kastrel::host::com {
namespace {

// How often a waiting caller reports to its wait, how long a busy host is
// left alone before the call is made again, and how long the end of the
// program waits for the releases still queued.
constexpr DWORD wait_step_ms = 20;
constexpr DWORD busy_pause_ms = 50;
constexpr DWORD stop_wait_ms = 10000;

enum class TaskState { Running, Finished, Abandoned };

std::chrono::milliseconds since(DWORD started) {
    return std::chrono::milliseconds(GetTickCount() - started);
}

// Holds an SRW lock exclusively while it lives.
class Locked : private common::NonCopyable {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK& lock_;
};

} // namespace

struct CallThread::Task {
    explicit Task(std::function<void()> to_do) : work(std::move(to_do)) {}
    std::function<void()> work;
    std::exception_ptr failure;
    TaskState state = TaskState::Running; // under lock_
};

CallThread::CallThread(std::chrono::milliseconds unattended)
    : unattended_ms_(static_cast<DWORD>(unattended.count())) {}

CallThread::~CallThread() {
    if (thread_ != nullptr)
        CloseHandle(thread_);
}

std::shared_ptr<CallThread> CallThread::start(std::chrono::milliseconds unattended) {
    std::shared_ptr<CallThread> self(new CallThread(unattended));
    // The thread holds its own share until it ends.
    auto* share = new std::shared_ptr<CallThread>(self);
    const auto serve = [](void* parameter) -> DWORD {
        const std::shared_ptr<CallThread> thread =
            std::move(*static_cast<std::shared_ptr<CallThread>*>(parameter));
        delete static_cast<std::shared_ptr<CallThread>*>(parameter);
        thread->serve();
        return 0;
    };
    self->thread_ = CreateThread(nullptr, 0, serve, share, 0, &self->thread_id_);
    if (self->thread_ == nullptr) {
        const HRESULT failure = HRESULT_FROM_WIN32(GetLastError());
        delete share;
        throw automation_error(failure);
    }
    return self;
}

bool CallThread::anything_abandoned() {
    const Locked hold(lock_);
    return abandoned_ > 0;
}

void CallThread::stop() {
    {
        const Locked hold(lock_);
        stopping_ = true;
    }
    WakeAllConditionVariable(&queued_);
    // The releases in the queue still reach the host; a call the host never
    // answers is not waited for.
    if (!anything_abandoned() && GetCurrentThreadId() != thread_id_)
        WaitForSingleObject(thread_, stop_wait_ms);
}

void CallThread::release(std::function<void()> work) noexcept {
    try {
        if (GetCurrentThreadId() == thread_id_) {
            work();
            return;
        }
        auto task = std::make_shared<Task>(std::move(work));
        if (submit(task) && !anything_abandoned())
            wait_for(task, GetTickCount());
    } catch (...) {
        // Only memory can run out here; the object is then not released.
    }
}

bool CallThread::submit(std::shared_ptr<Task> task) {
    {
        const Locked hold(lock_);
        if (ended_)
            return false;
        queue_.push_back(std::move(task));
    }
    WakeConditionVariable(&queued_);
    return true;
}

void CallThread::execute(std::function<void()> work) {
    const DWORD started = GetTickCount();
    for (;;) {
        // A fresh copy each time: a busy host is asked again with what was given.
        auto task = std::make_shared<Task>(work);
        if (!submit(task))
            throw automation_error(CO_E_NOTINITIALIZED);
        switch (wait_for(task, GetTickCount())) {
        case WaitEnd::Answered:
            break;
        case WaitEnd::GivenUp:
            throw RunCancelled();
        case WaitEnd::TooLong:
            throw AutomationError(ErrorKind::System, error_number::host_unavailable, {},
                                  "keine Antwort nach " + std::to_string(unattended_ms_) + " ms");
        }
        if (!task->failure)
            return;
        try {
            std::rethrow_exception(task->failure);
        } catch (const HostBusy&) {
            if (wait_ != nullptr) {
                if (!pause_for_busy_host(started))
                    throw RunCancelled();
            } else {
                // Unattended, a busy host is waited for as long as an answer.
                if (GetTickCount() - started >= unattended_ms_)
                    throw automation_error(RPC_E_SERVERCALL_RETRYLATER);
                Sleep(busy_pause_ms);
            }
        }
    }
}

CallThread::WaitEnd CallThread::wait_for(const std::shared_ptr<Task>& task,
                                         DWORD started) noexcept {
    for (;;) {
        {
            const Locked hold(lock_);
            // Unattended, until the bound; with a wait, a step at a time.
            const DWORD gone = GetTickCount() - started;
            const DWORD step = wait_ != nullptr        ? wait_step_ms
                               : gone < unattended_ms_ ? unattended_ms_ - gone
                                                       : 0;
            if (task->state != TaskState::Finished && step > 0)
                SleepConditionVariableSRW(&finished_, &lock_, step, 0);
            if (task->state == TaskState::Finished)
                return WaitEnd::Answered;
        }
        if (wait_ == nullptr) {
            if (GetTickCount() - started >= unattended_ms_)
                return leave(*task, WaitEnd::TooLong);
        } else if (!wait_->keep_waiting(since(started), Waiting::ForAnswer)) {
            return leave(*task, WaitEnd::GivenUp);
        }
    }
}

CallThread::WaitEnd CallThread::leave(Task& task, WaitEnd why) noexcept {
    const Locked hold(lock_);
    // Answered while the wait decided: the run goes on or ends all the same.
    if (task.state == TaskState::Finished)
        return WaitEnd::Answered;
    task.state = TaskState::Abandoned;
    ++abandoned_;
    return why;
}

bool CallThread::pause_for_busy_host(DWORD started) {
    const DWORD paused = GetTickCount();
    for (;;) {
        if (!wait_->keep_waiting(since(started), Waiting::HostBusy))
            return false;
        const DWORD gone = GetTickCount() - paused;
        if (gone >= busy_pause_ms)
            return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, std::min(wait_step_ms, busy_pause_ms - gone),
                                    QS_ALLINPUT, 0);
    }
}

void CallThread::serve() {
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (;;) {
        std::shared_ptr<Task> task;
        {
            const Locked hold(lock_);
            while (!stopping_ && queue_.empty())
                SleepConditionVariableSRW(&queued_, &lock_, INFINITE, 0);
            if (queue_.empty()) {
                ended_ = true;
                break;
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        try {
            if (FAILED(joined))
                throw automation_error(joined);
            task->work();
        } catch (...) {
            task->failure = std::current_exception();
        }
        // What the work held goes here, in the apartment it belongs to.
        task->work = nullptr;
        {
            const Locked hold(lock_);
            if (task->state == TaskState::Abandoned)
                --abandoned_;
            task->state = TaskState::Finished;
        }
        WakeAllConditionVariable(&finished_);
    }
    if (SUCCEEDED(joined))
        CoUninitialize();
}

} // namespace kastrel::host::com
