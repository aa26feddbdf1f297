// Times APK installs through the command engine as the program makes them, and the pieces an
// install is made of. Usage:
//   install_bench <client adb.exe> <box address> <apk>...
//       the batch from the Install call to its last result: prints "<seconds> <code>...", then
//       "at <start> <end>", both as Unix times, to be set beside what the box logs
//   install_bench <client adb.exe> <box address> --pieces <bare program> <apk>
//       what each piece costs (the median of a few runs), as "name seconds" lines: the start of a
//       bare console program without a console, as the engine starts the carried client (start),
//       and with a hidden console of its own, as it starts Google's (console_start); the start of
//       the client doing nothing, as the engine starts it (client_start); and the staging of the
//       APK with the removal of its copy (staging)
// Before anything is timed the engine has started its client's server and connected the box once.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "adb/apk_staging.h"
#include "adb/carried_client.h"
#include "adb/child_process.h"
#include "adb/command_text.h"
#include "adb/shell_mgr.h"
#include "bench_engine.h"
#include "win/window.h"

namespace {

class Sink : public win::WindowImpl<Sink> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnResult)
    WIN_END_MSG_MAP()
    size_t awaited = 0;
    std::vector<int> codes;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        auto* result = reinterpret_cast<adb::ShellResult*>(wParam);
        const bool ends = result->kind != adb::ShellTaskKind::Install ||
                          (result->code != adb::Started && result->code != adb::Progress);
        if (ends) codes.push_back(result->code);
        if (ends && codes.size() == awaited) PostQuitMessage(0);
        delete result;
        return 0;
    }
};

double UnixTime() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const uint64_t ticks = static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    constexpr uint64_t kUnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns steps since 1601
    return static_cast<double>(ticks - kUnixEpoch) / 1e7;
}

double MedianSeconds(const std::function<void()>& piece) {
    std::vector<double> seconds;
    for (int run = 0; run < 5; ++run) {
        const bench::Stopwatch stopwatch;
        piece();
        seconds.push_back(stopwatch.Seconds());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

void PrintPieces(const std::wstring& client, const std::wstring& bare, const std::wstring& apk) {
    const std::wstring folder = adb::WorkingDirectoryFor(client);
    const adb::ChildLimits limits{0, 60'000, 0};
    adb::ClientLaunch bareLaunch{bare, L"\"" + bare + L"\"", false};
    std::printf("start %.4f\n", MedianSeconds([&] { adb::RunChild(bareLaunch, folder, limits); }));
    bareLaunch.console = true;
    std::printf("console_start %.4f\n", MedianSeconds([&] { adb::RunChild(bareLaunch, folder, limits); }));
    adb::ClientLaunch version = adb::ClientCommandLine(L"$adb$ version", client);
    version.console = !adb::IsCarriedClient(client);
    std::printf("client_start %.4f\n", MedianSeconds([&] { adb::RunChild(version, folder, limits); }));
    std::printf("staging %.4f\n", MedianSeconds([&] { adb::RemoveStagedCopy(adb::StageApk(apk).path); }));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: install_bench <adb.exe> <box address> <apk>... | --pieces <bare.exe> <apk>\n");
        return 2;
    }
    if (!wcscmp(argv[3], L"--pieces") && argc == 6) {
        PrintPieces(argv[1], argv[4], argv[5]);
        return 0;
    }
    const adb::BoxAddress box = bench::ParseBox(argv[2]);
    Sink sink;
    adb::CShellMgr* engine = bench::StartEngine(sink, argv[1]);
    if (!engine) return 1;
    sink.awaited = 1;
    engine->Connect(box, true);
    bench::RunUntilQuit();

    std::vector<adb::InstallItem> items;
    for (int i = 3; i < argc; ++i) items.push_back({argv[i], i});
    sink.codes.clear();
    sink.awaited = items.size();
    const double startedAt = UnixTime();
    const bench::Stopwatch stopwatch;
    engine->Install(box, items);
    bench::RunUntilQuit();
    const double seconds = stopwatch.Seconds();
    std::printf("%.3f", seconds);
    for (int code : sink.codes) std::printf(" %d", code);
    std::printf("\nat %.4f %.4f\n", startedAt, UnixTime());
    engine->Stop(5000);
    return 0;
}
