// Times one APK install through the command engine, staging copy included, from the Install call
// to its result. Usage: install_bench <client adb.exe> <box address> <apk>   prints "<seconds> <code>"
#include <windows.h>

#include <cstdio>
#include <string>

#include "adb/shell_mgr.h"
#include "bench_engine.h"
#include "win/window.h"

namespace {

class Sink : public win::WindowImpl<Sink> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnResult)
    WIN_END_MSG_MAP()
    int code = 0;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        auto* result = reinterpret_cast<adb::ShellResult*>(wParam);
        if (result->code != adb::Started) {
            code = result->code;
            PostQuitMessage(0);
        }
        delete result;
        return 0;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: install_bench <adb.exe> <box address> <apk>\n");
        return 2;
    }
    const adb::BoxAddress box = bench::ParseBox(argv[2]);
    Sink sink;
    adb::CShellMgr* engine = bench::StartEngine(sink, argv[1]);
    if (!engine) return 1;
    engine->Connect(box, false);  // the connection is not what is measured

    const bench::Stopwatch stopwatch;
    engine->Install(box, {{argv[3], 1}});
    bench::RunUntilQuit();
    std::printf("%.3f %d\n", stopwatch.Seconds(), sink.code);
    engine->Stop(5000);
    return 0;
}
