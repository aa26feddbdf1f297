// Times how long a box that stalls after its handshake holds the command engine's queue: the box is
// connected and then queried as the main window does, and the next box's connect waits behind the
// query. Usage: queue_bench <client adb.exe> <stalling box> <next box>   prints the seconds from
// the query until the next box's connect result.
#include <windows.h>

#include <cstdio>

#include "adb/shell_mgr.h"
#include "bench_engine.h"
#include "win/window.h"

namespace {

class Sink : public win::WindowImpl<Sink> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnResult)
    WIN_END_MSG_MAP()
    adb::BoxAddress awaited = adb::kNoBox;  // the box whose connect result ends the loop
    bool connected = false;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        auto* result = reinterpret_cast<adb::ShellResult*>(wParam);
        if (result->kind == adb::ShellTaskKind::Connect && result->ip == awaited) {
            connected = result->code == adb::Connected;
            PostQuitMessage(0);
        }
        delete result;
        return 0;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: queue_bench <adb.exe> <stalling box> <next box>\n");
        return 2;
    }
    const adb::BoxAddress stalling = bench::ParseBox(argv[2]), next = bench::ParseBox(argv[3]);
    Sink sink;
    adb::CShellMgr* engine = bench::StartEngine(sink, argv[1]);
    if (!engine) return 1;
    sink.awaited = stalling;
    engine->Connect(stalling, true);
    bench::RunUntilQuit();
    if (!sink.connected) return 1;

    const bench::Stopwatch stopwatch;
    sink.awaited = next;
    engine->QueryModel(stalling, /*justConnected=*/true);
    engine->Connect(next, true);
    bench::RunUntilQuit();
    std::printf("%.3f %d\n", stopwatch.Seconds(), sink.connected ? 1 : 0);
    engine->Stop(5000);
    return 0;
}
