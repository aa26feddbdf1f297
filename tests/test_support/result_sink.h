#pragma once
// A message-only window that collects the command engine's results on the test's thread.
#include <windows.h>

#include <memory>
#include <vector>

#include "adb/shell_records.h"
#include "win/window.h"

namespace test_support {

class ResultSink : public win::WindowImpl<ResultSink> {
public:
    ResultSink() {
        const RECT none{0, 0, 0, 0};
        Create(HWND_MESSAGE, none, nullptr, 0, 0);
    }
    ~ResultSink() override {
        if (Handle()) DestroyWindow(Handle());
    }

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnResult)
    WIN_END_MSG_MAP()

    // Pumps this thread's messages until count results have arrived or timeoutMs passed.
    const std::vector<std::unique_ptr<adb::ShellResult>>& WaitFor(size_t count, DWORD timeoutMs = 30000) {
        const DWORD start = GetTickCount();
        while (results.size() < count && GetTickCount() - start < timeoutMs) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return results;
    }

    std::vector<std::unique_ptr<adb::ShellResult>> results;
    // Progress notices are counted here instead of kept in results when a test follows only the
    // outcomes (their number depends on the client and the pace of the upload).
    bool countProgressOnly = false;
    size_t progressNotices = 0;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        std::unique_ptr<adb::ShellResult> result(reinterpret_cast<adb::ShellResult*>(wParam));
        if (countProgressOnly && result->kind == adb::ShellTaskKind::Install && result->code == adb::Progress)
            ++progressNotices;
        else
            results.push_back(std::move(result));
        return 0;
    }
};

}  // namespace test_support
