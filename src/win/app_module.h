#pragma once
// The module-level registry that maps a thread to its message loop, so that windows can find the
// loop of the thread they live on (to register their message filters).
#include <windows.h>
#include <map>

namespace win {

class MessageLoop;

class AppModule {
public:
    AppModule();
    ~AppModule();
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    void Init(HINSTANCE instance);
    void Term();
    HINSTANCE Instance() const { return instance_; }
    DWORD MainThreadId() const { return mainThreadId_; }

    bool AddMessageLoop(MessageLoop* loop);  // for the calling thread; false if it already has one
    bool RemoveMessageLoop();                 // of the calling thread
    MessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId());

private:
    CRITICAL_SECTION lock_;
    HINSTANCE instance_ = nullptr;
    DWORD mainThreadId_ = 0;
    std::map<DWORD, MessageLoop*> loops_;
};

// The program's one module object.
AppModule& Module();

}  // namespace win
