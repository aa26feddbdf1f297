#pragma once
// CAutoUpdate: one update check and the upgrade that may follow it, on the update thread. The
// check asks the update server's descriptor (at most once a day) whether a newer version exists;
// if so, the upgrade dialog (dialog resource 501, owned by the main window) offers it. Its button
// downloads the new program file with CDownload into a "cf" temporary file, with progress from the
// download's notifications; a file that proves to be a signed, newer release takes the running
// program's place, the new program starts with "/update:1" and the main window is told to close.
// A failed or refused upgrade leaves the running program as it is, and its main window shown.
#include <windows.h>

#include <string>

#include "base/program_messages.h"
#include "update/download.h"
#include "update/update_rules.h"
#include "update/upgrade_dialog_ids.h"
#include "win/dialog.h"

namespace update {

class CAutoUpdate : public win::DialogBase {
public:
    CAutoUpdate() = default;
    ~CAutoUpdate() override;

    // The check; when it finds an upgrade, the modal prompt over mainWindow and whatever the user
    // does there. False when no upgrade was offered.
    bool CheckAndPrompt(HWND mainWindow);

    // The check proper: the daily throttle, then the descriptor for the running version.
    bool IsUpdateAvailable();

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WIN_MESSAGE_HANDLER(base::WM_DOWNLOAD_NOTIFY, OnDownloadNotification)
        WIN_COMMAND_ID_HANDLER(MIVORA_UPGRADE_BUTTON, OnUpgradeButton)
        WIN_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    WIN_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDownloadNotification(UINT, WPARAM code, LPARAM, bool&);
    LRESULT OnUpgradeButton(WORD, WORD, HWND, bool&);
    LRESULT OnCancel(WORD, WORD, HWND, bool&);

    void StartUpgrade();
    void UpgradeFailed();
    void CancelUpgrade();
    // The download succeeded: its file replaces the running program if it is a release.
    void FinishUpgrade();
    void ReplaceAndRestart();
    // Stops a download that runs, without hearing from it again, and removes what it wrote.
    void AbandonDownload();
    void ShowMainWindow();
    void SetStatus(const wchar_t* text);

    static int PostNotification(CDownload* download, int code, void* dialog);

    HICON icon_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::wstring downloadFile_;
    std::wstring runningVersion_;
    UpdateDescriptor descriptor_;  // its url is where the upgrade downloads from
    CDownload download_;
};

// Starts the update check on a thread of its own that nobody waits for. It first removes a backup
// an earlier upgrade left, then checks and prompts over mainWindow (nothing when that is no
// longer a window).
void StartUpdateCheck(HWND mainWindow);

}  // namespace update
