#include "update/download.h"

#include <wininet.h>

#include <algorithm>

#include "update/internet_link.h"
#include "update/request_text.h"
#include "update/url_cracking.h"

namespace update {

namespace {

// How many times in a row the loop runs steps that completed at once before it looks at the
// other connections' events and at the stop event.
constexpr int kReadyRunsPerLook = 8;
constexpr DWORD kTickMs = 500;
constexpr DWORD kProgressEveryMs = 1000;

MetalinkReader g_metalinkReader = nullptr;

// Raises (or lowers) the process's limit of connections per server by delta.
void AdjustConnectionLimit(int delta) {
    DWORD limit = 0, size = sizeof(limit);
    if (!InternetQueryOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &limit, &size)) return;
    limit = static_cast<DWORD>(std::max<int>(1, static_cast<int>(limit) + delta));
    InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &limit, sizeof(limit));
}

}  // namespace

void SetMetalinkReader(MetalinkReader reader) { g_metalinkReader = reader; }

std::wstring TempFileName(const wchar_t* prefix) {
    wchar_t folder[MAX_PATH + 1] = L"";
    wchar_t name[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (!length || length > MAX_PATH || !GetTempFileNameW(folder, prefix, GetTickCount(), name)) return {};
    return name;
}

CDownload::CDownload() = default;

CDownload::~CDownload() {
    if (thread_) {
        StopDownload();
        WaitDownload();
    }
}

bool CDownload::ReadMirrorsFromDescriptor() { return g_metalinkReader && g_metalinkReader(*this); }

bool CDownload::AddMirror(const std::wstring& address) {
    DownloadUrl mirror;
    if (!CrackDownloadUrl(address, mirror)) return false;
    mirrors_.push_back(mirror);
    return true;
}

bool CDownload::StartDownload() {
    if (thread_) return false;
    const MetalinkAddress split = SplitMetalinkSuffix(address_);
    address_ = split.address;
    metalinkFileIndex_ = split.fileIndex;
    const bool cracked = CrackDownloadUrl(address_, main_);
    if (mirrors_.empty() && !cracked) return false;
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent_) return false;
    result_ = kFailed;
    thread_ = CreateThread(nullptr, 0, &CDownload::WorkerThread, this, 0, nullptr);
    if (thread_) return true;
    CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
    return false;
}

void CDownload::StopDownload() {
    if (stopEvent_) SetEvent(stopEvent_);
}

void CDownload::WaitDownload() {
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (stopEvent_) {
        CloseHandle(stopEvent_);
        stopEvent_ = nullptr;
    }
    Sleep(10);
}

void CDownload::ResetDownload() {
    if (thread_) CloseHandle(thread_);
    if (stopEvent_) CloseHandle(stopEvent_);
    thread_ = stopEvent_ = nullptr;
    writeBehind_.Close(std::nullopt);
    targetFile_.path.clear();
    target_.Reset();
    savedTargetPath_.clear();
    address_.clear();
    main_ = DownloadUrl{};
    finalAddress_.clear();
    mirrors_.clear();
    metalinkFileIndex_ = 0;
    ftpFlags_ = 0;
    redirects_ = 0;
    connectionCount_ = 5;
    for (DownloadConnection& connection : connections_) connection = DownloadConnection{};
    active_.clear();
    nextReady_ = 0;
    timeoutMs_ = 0;
    startTick_ = lastProgressTick_ = lastStopCheckTick_ = 0;
    shownTotal_ = -1;
    shownDownloaded_ = 0;
    metalinkMode_ = false;
    result_ = 0;
    gate_.Reset();
}

int CDownload::NotifyState(int state) {
    if (state == kProgress) lastProgressTick_ = GetTickCount();
    shownTotal_ = target_.total;
    shownDownloaded_ = target_.downloaded;
    if (!gate_.Passes(state)) return 1;
    const DownloadCallback callback = callback_;
    return callback ? callback(this, state, userData_) : 1;
}

bool CDownload::Notify(int code) { return NotifyState(code) != 0; }

DWORD WINAPI CDownload::WorkerThread(LPVOID self) {
    static_cast<CDownload*>(self)->Work();
    return 0;
}

void CDownload::Work() {
    connectionCount_ = std::clamp(connectionCount_, 0, SegmentTable::kSlots);
    const int raised = std::max(connectionCount_, 1);
    AdjustConnectionLimit(raised);
    TransferLoop();
    CloseAllConnections();
    if (!target_.Finish(result_ == kSucceeded) && result_ == kSucceeded) result_ = kFailed;
    AdjustConnectionLimit(-raised);
    NotifyState(result_);
}

void CDownload::TransferLoop() {
    if (!Notify(kStarted)) return;
    startTick_ = lastProgressTick_ = lastStopCheckTick_ = GetTickCount();
    OpenConnection(false);
    int readyRuns = 0;
    for (;;) {
        const DWORD now = GetTickCount();
        if (result_ != kSucceeded && timeoutMs_ && now - startTick_ > timeoutMs_) {
            result_ = kCancelled;
            return;
        }
        DownloadConnection* ready = NextReady();
        if (ready && ++readyRuns % kReadyRunsPerLook != 0 && now - lastStopCheckTick_ < kTickMs) {
            if (!RunConnection(*ready)) return;
            continue;
        }
        lastStopCheckTick_ = now;

        HANDLE handles[1 + SegmentTable::kSlots];
        int slots[1 + SegmentTable::kSlots];
        DWORD count = 0;
        handles[count++] = stopEvent_;
        for (int slot : active_) {
            const DownloadConnection& connection = connections_[slot];
            slots[count] = slot;
            handles[count++] = connection.retryTimer ? connection.retryTimer : connection.link->Event();
        }
        if (count < 2) break;
        const DWORD wait = WaitForMultipleObjects(count, handles, FALSE, ready ? 0 : kTickMs);
        if (wait == WAIT_FAILED) {
            result_ = kFailed;
            return;
        }
        if (wait == WAIT_TIMEOUT) {
            if (ready) {
                if (!RunConnection(*ready)) return;
            } else if (gate_.state == kProgress && GetTickCount() - lastProgressTick_ > kProgressEveryMs &&
                       !Notify(kProgress)) {
                result_ = kFailed;
                return;
            }
            continue;
        }
        const DWORD index = wait - WAIT_OBJECT_0;
        if (index == 0) {
            if (result_ != kSucceeded) result_ = kCancelled;
            return;
        }
        DownloadConnection& woken = connections_[slots[index]];
        if (woken.retryTimer) {
            CancelWaitableTimer(woken.retryTimer);
            CloseHandle(woken.retryTimer);
            woken.retryTimer = nullptr;
        }
        if (!RunConnection(woken)) return;
    }
    if (target_.resumable && target_.downloaded < target_.total) result_ = kFailed;
}

// Connections whose last operation completed at once take turns.
DownloadConnection* CDownload::NextReady() {
    for (size_t i = 0; i < active_.size(); ++i) {
        const size_t at = (nextReady_ + i) % active_.size();
        DownloadConnection& connection = connections_[active_[at]];
        if (connection.readyNow && !connection.retryTimer) {
            nextReady_ = at + 1;
            return &connection;
        }
    }
    return nullptr;
}

bool CDownload::RunConnection(DownloadConnection& connection) {
    connection.readyNow = false;
    if (RunStep(connection)) return true;
    result_ = kFailed;
    return false;
}

bool FetchUrlToFile(const wchar_t* url, DWORD timeoutMs, wchar_t* outPath, DWORD outPathSize, int* outResult) {
    DownloadUrl cracked;
    if (!url || !CrackDownloadUrl(url, cracked)) return false;
    auto* download = new CDownload;
    download->SetUrl(url);
    download->SetTimeout(timeoutMs);
    download->SetConnectionCount(1);
    const std::wstring path = TempFileName(L"tw");
    download->SetTargetPath(path);
    if (outPath && outPathSize) lstrcpynW(outPath, path.c_str(), static_cast<int>(outPathSize));
    if (download->StartDownload()) download->WaitDownload();
    const int result = download->Result();
    if (outResult) *outResult = result;
    delete download;
    return result == kSucceeded;
}

}  // namespace update
