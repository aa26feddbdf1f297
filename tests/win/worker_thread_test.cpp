#include "win/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace {

constexpr UINT kRecord = WM_APP + 10;
constexpr UINT kBusy = WM_APP + 11;

class TestWorker : public win::CSomWorkerThread<TestWorker> {
public:
    explicit TestWorker(bool initOk = true, bool selfDelete = false) : initOk_(initOk), selfDelete_(selfDelete) {}
    ~TestWorker() override { destroyedOn = GetCurrentThreadId(); }

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(kRecord, OnRecord)
        WIN_MESSAGE_HANDLER(kBusy, OnBusy)
    WIN_END_MSG_MAP()

    bool OnThreadInit() {
        initThread = GetCurrentThreadId();
        return initOk_;
    }
    void OnThreadExit() {
        exited = true;
        if (selfDelete_) delete this;
    }

    std::vector<WPARAM> Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

    static inline std::atomic<DWORD> destroyedOn{0};
    std::atomic<DWORD> initThread{0};
    std::atomic<bool> exited{false};
    std::atomic<bool> busyDone{false};
    std::atomic<DWORD> handledOn{0};

private:
    LRESULT OnRecord(UINT, WPARAM wParam, LPARAM, bool&) {
        handledOn = GetCurrentThreadId();
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(wParam);
        return 0;
    }
    LRESULT OnBusy(UINT, WPARAM wParam, LPARAM, bool&) {
        Sleep(static_cast<DWORD>(wParam));
        busyDone = true;
        return 0;
    }

    bool initOk_, selfDelete_;
    std::mutex mutex_;
    std::vector<WPARAM> seen_;
};

TEST(WorkerThread, WorkPostedRightAfterStartIsHandledOnTheWorkerInOrder) {
    TestWorker worker;
    ASSERT_TRUE(worker.Start());
    for (WPARAM i = 0; i < 200; ++i) ASSERT_TRUE(worker.PostToWorker(kRecord, i));
    EXPECT_TRUE(worker.Stop(INFINITE));
    ASSERT_EQ(worker.Seen().size(), 200u) << "the quit request comes after the work posted before it";
    for (WPARAM i = 0; i < 200; ++i) EXPECT_EQ(worker.Seen()[i], i);
    EXPECT_NE(worker.handledOn.load(), GetCurrentThreadId());
    EXPECT_EQ(worker.handledOn.load(), worker.initThread.load());
    EXPECT_TRUE(worker.exited);
}

TEST(WorkerThread, SecondStopHasNothingToStop) {
    TestWorker worker;
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.Stop(1000));
    EXPECT_FALSE(worker.Stop(1000));
}

TEST(WorkerThread, ThreadThatEndedEarlyIsOnlyClosed) {
    TestWorker worker(/*initOk=*/false);
    ASSERT_TRUE(worker.Start());
    // Init failed: the loop never ran, so nothing posted is handled and exit never runs.
    worker.PostToWorker(kRecord, 1);
    EXPECT_TRUE(worker.Stop(1000));
    EXPECT_FALSE(worker.exited);
    EXPECT_TRUE(worker.Seen().empty());
}

TEST(WorkerThread, StopGivesUpOnABusyWorkerAfterItsTimeLimit) {
    TestWorker worker(true, /*selfDelete=*/false);
    ASSERT_TRUE(worker.Start());
    const DWORD thread = worker.ThreadId();
    worker.PostToWorker(kBusy, 3000);
    Sleep(50);
    EXPECT_TRUE(worker.Stop(200));
    EXPECT_FALSE(worker.busyDone) << "Stop returned while the handler was still working";
    // Let it finish before the object goes away.
    HANDLE handle = OpenThread(SYNCHRONIZE, FALSE, thread);
    ASSERT_NE(handle, nullptr);
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    EXPECT_TRUE(worker.busyDone);
}

// Refuses its window as it is made, as a system out of window resources would.
class WindowlessWorker : public win::CSomWorkerThread<WindowlessWorker> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
    WIN_END_MSG_MAP()

    bool OnThreadInit() {
        initRan = true;
        return true;
    }
    void OnThreadExit() {}

    std::atomic<bool> initRan{false};

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&) { return -1; }
};

TEST(WorkerThread, AWorkerWithoutItsWindowDoesNotStart) {
    WindowlessWorker worker;
    EXPECT_FALSE(worker.Start()) << "work posted to it would go nowhere";
    EXPECT_FALSE(worker.initRan);
    EXPECT_FALSE(worker.PostToWorker(kRecord, 1));
    EXPECT_FALSE(worker.Stop(1000)) << "its thread is already gone";
}

TEST(WorkerThread, AWorkerThatReleasesItselfDiesOnItsOwnThread) {
    auto* worker = new TestWorker(true, /*selfDelete=*/true);
    ASSERT_TRUE(worker->Start());
    const DWORD thread = worker->ThreadId();
    HANDLE handle = OpenThread(SYNCHRONIZE, FALSE, thread);
    ASSERT_NE(handle, nullptr);
    TestWorker::destroyedOn = 0;
    EXPECT_TRUE(worker->Stop(5000));
    EXPECT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);
    CloseHandle(handle);
    EXPECT_EQ(TestWorker::destroyedOn.load(), thread);
}

}  // namespace
