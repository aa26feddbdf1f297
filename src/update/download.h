#pragma once
// CDownload fetches one file from an HTTP, HTTPS or FTP address into a local file, on a worker thread
// of its own, with up to ten parallel connections of the platform's asynchronous internet client.
// When the server takes byte ranges the file is cut into segments fetched at once, and the partial
// file carries a resume trailer so that a later download of the same target continues where this
// one stopped. Failed connections are tried again every ten seconds until the overall time-out or
// a stop. Connections may be spread over mirror addresses (from a metalink descriptor), chosen by
// how fast each answered first. Progress goes to one callback, on the worker thread.
//
// FetchUrlToFile is the one-call form for small files: one connection, into a new temporary file.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "update/download_target.h"
#include "update/download_url.h"
#include "update/notification_gate.h"
#include "update/win_target_file.h"
#include "update/write_behind_file.h"

namespace update {

class CDownload;
class InternetLink;

// Called on the worker thread with each notification code (notification_gate.h); a zero return for
// a code from 1 to 6 stops the download as failed.
using DownloadCallback = int (*)(CDownload* download, int code, void* userData);

// Reads the metalink descriptor that a download received into its target path (the temporary file
// TargetPath() names at that moment) and adds the mirrors it lists with AddMirror, for the file
// MetalinkFileIndex() selects; deletes the descriptor; true when the mirror list is not empty.
// The program installs one at start-up; without one a descriptor cannot be read and such a
// download fails.
using MetalinkReader = bool (*)(CDownload& download);
void SetMetalinkReader(MetalinkReader reader);

// One connection slot: a request (and its retries) at one address, for one segment at a time.
struct DownloadConnection {
    InternetLink* link = nullptr;  // none: the slot is free
    DWORD openTick = 0;
    HANDLE retryTimer = nullptr;   // while a retry waits
    bool readyNow = false;         // its last operation completed at once: run its next step
    DownloadUrl url;
    int address = kMainAddress;    // the mirror it came from, or the main address
    int step = 0;
    bool recordsRedirects = false;  // the main address's connections keep where they were sent
    DownloadSegment* segment = nullptr;
    int listing = 0;               // FTP size listing: 0 not asked, 1 under way, 2 done
    int64_t listedSize = -1;
};

class CDownload {
public:
    CDownload();
    virtual ~CDownload();
    CDownload(const CDownload&) = delete;
    CDownload& operator=(const CDownload&) = delete;

    // Hands a notification to the callback (see NotificationGate); its result, 1 when nothing is
    // delivered.
    virtual int NotifyState(int state);

    // Before the start.
    void SetUrl(const std::wstring& address) { address_ = address; }
    void SetTargetPath(const std::wstring& path) { targetFile_.path = path; }
    void SetTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }
    void SetConnectionCount(int count) { connectionCount_ = count; }
    // These two may also change while the download runs, to stop hearing from it.
    void SetCallback(DownloadCallback callback) { callback_ = callback; }
    void SetUserData(void* userData) { userData_ = userData; }
    // A mirror of the file; false when the address is not FTP, HTTP or HTTPS.
    bool AddMirror(const std::wstring& address);

    // False when a worker runs already, or when there is neither a mirror nor a download address.
    bool StartDownload();
    void StopDownload();
    // Waits for the worker to end, however long it takes.
    void WaitDownload();
    // Back to a download that has not begun; the callback and its user data stay.
    void ResetDownload();

    int Result() const { return result_; }
    int64_t TotalSize() const { return shownTotal_; }
    int64_t Downloaded() const { return shownDownloaded_; }
    const std::wstring& Url() const { return address_; }
    const std::wstring& TargetPath() const { return targetFile_.path; }
    int MetalinkFileIndex() const { return metalinkFileIndex_; }

    // How an operation of the internet client started, and what its failure at once means.
    enum class Outcome { kDone, kPending, kFailed };
    enum class IfFailed { kGoOn, kCloseConnection, kFailDownload };

private:
    static DWORD WINAPI WorkerThread(LPVOID self);
    void Work();
    void TransferLoop();
    bool Notify(int code);  // false: the callback refused
    DownloadConnection* NextReady();
    bool RunConnection(DownloadConnection& connection);

    // Connections (download_connections.cpp).
    bool OpenConnection(bool forSegment);
    int OpenSegmentConnections(int count);
    void CloseConnection(DownloadConnection& connection);
    void CloseAllConnections();
    bool Connect(DownloadConnection& connection);
    void Retry(DownloadConnection& connection);
    void RetryLater(DownloadConnection& connection);
    void LetGoOfSegment(DownloadConnection& connection);
    void ReleaseSegment(DownloadConnection& connection);
    DownloadUrl* AddressOf(const DownloadConnection& connection);
    void SetReceiveTimeout(DownloadConnection& connection, DWORD milliseconds);

    // Steps (download_steps.cpp).
    bool Proceed(DownloadConnection& connection, Outcome outcome, IfFailed ifFailed);
    bool RunStep(DownloadConnection& connection);
    bool StepSend(DownloadConnection& connection, int next);
    bool StepConnected(DownloadConnection& connection, int next, int retryStep);
    bool StepOpen(DownloadConnection& connection, int next);
    bool StepFirstResponse(DownloadConnection& connection);
    bool StepFtpFirstResponse(DownloadConnection& connection);
    bool FirstResponseAccepted(DownloadConnection& connection, bool rangesSupported, const std::wstring& contentType);
    bool StepRedirected(DownloadConnection& connection);
    bool StepAddressGone(DownloadConnection& connection, bool forSegment);
    bool StepRangedSend(DownloadConnection& connection);
    bool StepRangedResponse(DownloadConnection& connection);
    bool StepRead(DownloadConnection& connection);
    bool StepDataArrived(DownloadConnection& connection);
    bool StepFinished(DownloadConnection& connection);
    bool SendRequest(DownloadConnection& connection);
    bool ListRemoteFile(DownloadConnection& connection);
    bool OpenRemoteFile(DownloadConnection& connection);
    bool EnterMetalinkMode();
    bool ReadMetalinkDescriptor(DownloadConnection& connection);
    bool ReadMirrorsFromDescriptor();

    // Worker.
    HANDLE thread_ = nullptr;
    HANDLE stopEvent_ = nullptr;

    // Target.
    CWinTargetFile targetFile_;
    CWriteBehindFile writeBehind_{targetFile_};
    DownloadTarget target_{writeBehind_};
    std::wstring savedTargetPath_;

    // Source.
    std::wstring address_;
    DownloadUrl main_;
    std::wstring finalAddress_;
    std::vector<DownloadUrl> mirrors_;
    int metalinkFileIndex_ = 0;
    DWORD ftpFlags_ = 0;  // passive mode once a server refused an active data connection
    int redirects_ = 0;

    // Connections.
    int connectionCount_ = 5;
    DownloadConnection connections_[SegmentTable::kSlots];
    std::vector<int> active_;  // slots, in the order they were opened
    size_t nextReady_ = 0;

    // Progress.
    DWORD timeoutMs_ = 0;
    DWORD startTick_ = 0;
    DWORD lastProgressTick_ = 0;
    DWORD lastStopCheckTick_ = 0;
    std::atomic<int64_t> shownTotal_{-1};
    std::atomic<int64_t> shownDownloaded_{0};

    bool metalinkMode_ = false;
    std::atomic<int> result_{kFailed};
    NotificationGate gate_;
    std::atomic<DownloadCallback> callback_{nullptr};
    std::atomic<void*> userData_{nullptr};
};

// A file name in the platform's temporary folder made of prefix and a number from the tick count;
// empty when there is no temporary folder.
std::wstring TempFileName(const wchar_t* prefix);

// Fetches url into a new temporary file (prefix "tw") with one connection, giving up after
// timeoutMs; the file's name goes to outPath (at most outPathSize characters), the download's
// result code to outResult when given. True only when the download succeeded.
bool FetchUrlToFile(const wchar_t* url, DWORD timeoutMs, wchar_t* outPath, DWORD outPathSize, int* outResult);

}  // namespace update
