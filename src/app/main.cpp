// Process entry: argument text, single instance, platform start-up in its fixed order, the embedded
// tools, the workers, the main window with the update check and its message loop, then an orderly
// shutdown.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "adb/process_runner.h"
#include "adb/shell_mgr.h"
#include "app/argument_text.h"
#include "app/process_arguments.h"
#include "app/single_instance.h"
#include "app/tool_store.h"
#include "discovery/find_wifi_android.h"
#include "ui/main/main_dlg.h"
#include "ui/skin/paint/skin_resources.h"
#include "update/auto_update.h"
#include "update/metalink_reader.h"
#include "win/app_module.h"
#include "win/message_loop.h"

namespace {

// How long the instance a self-update starts gives the old one to end.
constexpr DWORD kOldInstanceWaitMs = 15000;

int Run(int showCommand) {
    win::MessageLoop loop;
    win::Module().AddMessageLoop(&loop);

    // Running before the main window exists, so that the window's first scan request finds it.
    discovery::CFindWifiAndroid::Instance();

    int exitCode = 0;
    {
        ui::CMainDlg mainWindow;
        if (mainWindow.CreateMainWindow()) {
            ShowWindow(mainWindow.Handle(), showCommand);
            update::StartUpdateCheck(mainWindow.Handle());
            exitCode = loop.Run();
        }
        win::Module().RemoveMessageLoop();
    }
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    win::Module().Init(instance);
    const std::wstring& arguments = app::GetArgumentText();

    // The instance that a self-update starts runs whatever holds the mutex: the old instance is
    // closing. It lets that one end first (for a while at most), so as not to write the tools
    // folder while the old one may still use it, and then holds the mutex as any first instance.
    bool isUpdate = false;
    app::FindOptionValue(arguments, L"/update:", isUpdate);
    if (isUpdate)
        app::TakeOverSingleInstance(app::kSingleInstanceMutexName, kOldInstanceWaitMs);
    else if (!app::AcquireSingleInstance(app::kSingleInstanceMutexName))
        return 0;

    if (app::WantsCommandLog(arguments)) adb::CommandLogEnabled = true;

    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    const std::vector<std::wstring> tools = app::ExtractTools(
        {{app::kAdbWinApiTool, L"adbwinapi.dll"}, {app::kAdbWinUsbApiTool, L"adbwinusbapi.dll"}, {app::kAdbTool, L"adb.exe"}});

    adb::CShellMgr::Instance()->SetAdbPath(tools.back());
    update::SetMetalinkReader(&update::ParseMetalink);

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    // The skin's pictures are decoded by GDI+, and every window draws from the skin.
    skin::CreateSkinResources();
    const int exitCode = Run(showCommand);
    skin::DestroySkinResources();

    discovery::CFindWifiAndroid::Instance()->Stop(200);
    adb::CShellMgr::Instance()->Stop(200);

    // In the reverse order of their start.
    Gdiplus::GdiplusShutdown(gdiplusToken);
    win::Module().Term();
    CoUninitialize();
    return exitCode;
}
