#pragma once
// A thread's message loop with message filters (pre-translation) and idle handlers.
#include <windows.h>
#include <vector>

namespace win {

class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    // True when the message was consumed and must not be translated and dispatched.
    virtual bool PreTranslateMessage(MSG& msg) = 0;
};

class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    // True while the handler has more idle work.
    virtual bool OnIdle(int idleCount) = 0;
};

class MessageLoop {
public:
    void AddMessageFilter(MessageFilter* filter);
    void RemoveMessageFilter(MessageFilter* filter);
    void AddIdleHandler(IdleHandler* handler);
    void RemoveIdleHandler(IdleHandler* handler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

private:
    bool PreTranslate(MSG& msg);
    bool RunIdleHandlers(int idleCount);
    static bool CountsAsActivity(const MSG& msg);

    std::vector<MessageFilter*> filters_;
    std::vector<IdleHandler*> idleHandlers_;
};

}  // namespace win
