#include "win/app_module.h"

namespace win {

namespace {
class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};
}  // namespace

AppModule::AppModule() { InitializeCriticalSection(&lock_); }
AppModule::~AppModule() { DeleteCriticalSection(&lock_); }

void AppModule::Init(HINSTANCE instance) {
    Lock lock(lock_);
    instance_ = instance ? instance : GetModuleHandleW(nullptr);
    mainThreadId_ = GetCurrentThreadId();
}

void AppModule::Term() {
    Lock lock(lock_);
    loops_.clear();
}

bool AppModule::AddMessageLoop(MessageLoop* loop) {
    Lock lock(lock_);
    return loops_.emplace(GetCurrentThreadId(), loop).second;
}

bool AppModule::RemoveMessageLoop() {
    Lock lock(lock_);
    return loops_.erase(GetCurrentThreadId()) != 0;
}

MessageLoop* AppModule::GetMessageLoop(DWORD threadId) {
    Lock lock(lock_);
    auto it = loops_.find(threadId);
    return it == loops_.end() ? nullptr : it->second;
}

AppModule& Module() {
    static AppModule module;
    return module;
}

}  // namespace win
