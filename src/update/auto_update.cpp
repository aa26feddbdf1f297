#include "update/auto_update.h"

#include <commctrl.h>

#include "update/check_stamp.h"
#include "update/descriptor_file.h"
#include "update/file_version.h"
#include "update/release_check.h"
#include "update/self_replacement.h"
#include "update_server.h"

namespace update {

namespace {

constexpr int kProgramIcon = 128;
constexpr DWORD kDescriptorTimeoutMs = 10000;
constexpr DWORD kUpgradeTimeoutMs = 600000;
// What the dialog ends with.
constexpr int kDialogCancelled = IDCANCEL;
constexpr int kDialogReplaced = 0;
constexpr wchar_t kUpgradingText[] = L"正在升级，请稍等...";
constexpr wchar_t kFailedText[] = L"升级失败，请稍后重试！";

bool Exists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD WINAPI UpdateThread(LPVOID mainWindow) {
    RemoveLeftoverBackup(ProgramPath());
    HWND window = static_cast<HWND>(mainWindow);
    if (!window || !IsWindow(window)) return 0;
    CAutoUpdate update;
    update.CheckAndPrompt(window);
    return 0;
}

}  // namespace

void StartUpdateCheck(HWND mainWindow) {
    HANDLE thread = CreateThread(nullptr, 0, &UpdateThread, mainWindow, 0, nullptr);
    if (thread) CloseHandle(thread);
}

CAutoUpdate::~CAutoUpdate() {
    if (icon_) DestroyIcon(icon_);
    if (IsWindow()) DestroyWindow(hwnd_);
}

bool CAutoUpdate::CheckAndPrompt(HWND mainWindow) {
    if (!IsUpdateAvailable()) return false;
    mainWindow_ = mainWindow;
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    // Start-up registers the bar classes only; the dialog's progress bar is a class of its own.
    INITCOMMONCONTROLSEX progressBar{sizeof(progressBar), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&progressBar);
    DoModal(mainWindow, MIVORA_UPGRADE_DIALOG);
    return true;
}

bool CAutoUpdate::IsUpdateAvailable() {
    if (!TakeDailyCheck(HKEY_CURRENT_USER, kCheckStampKey)) return false;
    runningVersion_ = ProgramVersionText();
    const std::wstring address = DescriptorAddress(MIVORA_UPDATE_SERVER, runningVersion_);
    if (address.empty()) return false;
    wchar_t path[MAX_PATH] = L"";
    const bool fetched = FetchUrlToFile(address.c_str(), kDescriptorTimeoutMs, path, MAX_PATH, nullptr) && Exists(path);
    if (fetched) descriptor_ = ReadUpdateDescriptor(path);
    if (path[0]) DeleteFileW(path);
    return fetched && OffersUpgrade(descriptor_, runningVersion_);
}

LRESULT CAutoUpdate::OnInitDialog(UINT, WPARAM, LPARAM, bool&) {
    if (icon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    return TRUE;
}

LRESULT CAutoUpdate::OnUpgradeButton(WORD, WORD, HWND, bool&) {
    StartUpgrade();
    return 0;
}

LRESULT CAutoUpdate::OnCancel(WORD, WORD, HWND, bool&) {
    CancelUpgrade();
    return 0;
}

void CAutoUpdate::StartUpgrade() {
    // The window goes while the program is being replaced; the main thread shows it again at its
    // own pace when the upgrade does not happen.
    ShowWindowAsync(mainWindow_, SW_HIDE);
    EnableWindow(GetDlgItem(hwnd_, MIVORA_UPGRADE_BUTTON), FALSE);
    HWND progress = GetDlgItem(hwnd_, MIVORA_UPGRADE_PROGRESS);
    SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    SendMessageW(progress, PBM_SETPOS, 0, 0);
    ShowWindow(progress, SW_SHOW);
    SetStatus(kUpgradingText);

    download_.ResetDownload();
    download_.SetUrl(descriptor_.url);
    // A file left under the same name by another download must not pass for a part of this one.
    downloadFile_ = TempFileName(L"cf");
    if (!downloadFile_.empty()) DeleteFileW(downloadFile_.c_str());
    download_.SetTargetPath(downloadFile_);
    download_.SetTimeout(kUpgradeTimeoutMs);
    download_.SetCallback(&CAutoUpdate::PostNotification);
    download_.SetUserData(hwnd_);
    if (downloadFile_.empty() || !download_.StartDownload()) UpgradeFailed();
}

int CAutoUpdate::PostNotification(CDownload*, int code, void* dialog) {
    PostMessageW(static_cast<HWND>(dialog), base::WM_DOWNLOAD_NOTIFY, static_cast<WPARAM>(code),
                 reinterpret_cast<LPARAM>(dialog));
    return 1;
}

LRESULT CAutoUpdate::OnDownloadNotification(UINT, WPARAM code, LPARAM, bool&) {
    switch (code) {
        case kProgress:
            if (const std::optional<int> percent = ProgressPercent(download_.TotalSize(), download_.Downloaded()))
                SendDlgItemMessageW(hwnd_, MIVORA_UPGRADE_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(*percent), 0);
            break;
        case kSucceeded:
        case kFailed:
        case kCancelled:
            download_.WaitDownload();
            download_.ResetDownload();
            if (code == kSucceeded)
                FinishUpgrade();
            else
                UpgradeFailed();
            break;
        default:
            break;
    }
    return 0;
}

void CAutoUpdate::UpgradeFailed() {
    AbandonDownload();
    EnableWindow(GetDlgItem(hwnd_, MIVORA_UPGRADE_BUTTON), TRUE);
    SetStatus(kFailedText);
    ShowMainWindow();
}

void CAutoUpdate::CancelUpgrade() {
    AbandonDownload();
    ShowMainWindow();
    EndDialog(kDialogCancelled);
}

void CAutoUpdate::AbandonDownload() {
    download_.SetCallback(nullptr);
    download_.SetUserData(nullptr);
    download_.StopDownload();
    download_.WaitDownload();
    // A fresh attempt downloads into a new file: what this one wrote is of no further use.
    if (Exists(downloadFile_)) DeleteFileRobust(downloadFile_);
}

void CAutoUpdate::FinishUpgrade() {
    if (!Exists(downloadFile_)) {
        ShowMainWindow();
        EndDialog(kDialogCancelled);
        return;
    }
    // Nothing of the running program is touched for a file that is not the signed, newer release
    // the descriptor announced: whoever stands between the program and its servers could
    // otherwise have it run whatever they like.
    if (CheckRelease(downloadFile_, descriptor_, ReleasePublicKey(), runningVersion_) != ReleaseVerdict::kGood) {
        UpgradeFailed();
        return;
    }
    EndDialog(kDialogReplaced);
    ReplaceAndRestart();
}

void CAutoUpdate::ReplaceAndRestart() {
    const std::wstring program = ProgramPath();
    const bool replaced = !program.empty() && ReplaceProgram(program, downloadFile_);
    DeleteFileRobust(downloadFile_);
    if (replaced && StartUpdatedProgram(program)) {
        PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
        return;
    }
    // Not replaced, or the new program did not start (it will at the next start): this one goes on.
    ShowMainWindow();
}

void CAutoUpdate::ShowMainWindow() { ShowWindowAsync(mainWindow_, SW_SHOWNA); }

void CAutoUpdate::SetStatus(const wchar_t* text) { SetDlgItemTextW(hwnd_, MIVORA_UPGRADE_STATUS, text); }

}  // namespace update
