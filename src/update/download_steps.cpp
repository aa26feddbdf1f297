// The steps of a download connection. Steps 0-3 fetch the first response, 4-7 a ranged one, 8-9 read
// and write, 10 ends a segment or the transfer. The handlers of 0, 2, 4, 6 and 8 start one operation
// of the internet client; what completes at once runs the next step without a wait, what goes
// pending wakes the worker through the completion event. The others only look at what came back.
#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "update/answer_query.h"
#include "update/download.h"
#include "update/internet_link.h"
#include "update/request_text.h"
#include "update/url_cracking.h"

namespace update {

namespace {

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kSecureFlags =
    INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
constexpr DWORD kConnectTimeoutMs = 15000;
constexpr DWORD kReceiveTimeoutMs = 20000;
constexpr DWORD kPatientReceiveTimeoutMs = 90000;
constexpr int kMostRedirects = 10;
const wchar_t kMetalinkType[] = L"application/metalink+xml";

using Outcome = CDownload::Outcome;

// How an operation of the client went: done at once (its facts stored as a completion would),
// pending, or failed at once. Some clients leave the last error at 0 when they queue an FTP
// request instead of saying it is pending.
Outcome Settle(InternetLink& link, bool done, DWORD_PTR result, bool queuedWithoutError = false) {
    if (done) {
        link.CompletedAtOnce(result, 0);
        return Outcome::kDone;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING || (queuedWithoutError && error == ERROR_SUCCESS)) return Outcome::kPending;
    link.CompletedAtOnce(0, error);
    return Outcome::kFailed;
}

// The FTP path to open: the address's path with its escapes decoded.
std::wstring FtpPath(const DownloadUrl& url, const std::wstring& finalAddress) {
    DownloadUrl decoded;
    if (!finalAddress.empty() && CrackDownloadUrl(finalAddress, decoded, true)) return decoded.path;
    if (CrackDownloadUrl(url.text, decoded, true)) return decoded.path;
    return url.path;
}

}  // namespace

// After starting an operation: what is done at once runs the next step without a wait, what is
// pending waits for its completion, and what failed at once goes on as told.
bool CDownload::Proceed(DownloadConnection& connection, Outcome outcome, IfFailed ifFailed) {
    if (outcome == Outcome::kPending) return true;
    if (outcome == Outcome::kDone || ifFailed == IfFailed::kGoOn) {
        connection.readyNow = true;
        return true;
    }
    CloseConnection(connection);
    return ifFailed == IfFailed::kCloseConnection;
}

bool CDownload::RunStep(DownloadConnection& connection) {
    switch (connection.step) {
        case 0: return StepSend(connection, 1);
        case 1: return StepConnected(connection, 2, 0);
        case 2: return StepOpen(connection, 3);
        case 3: return StepFirstResponse(connection);
        case 4: return StepRangedSend(connection);
        case 5: return StepConnected(connection, 6, 4);
        case 6: return StepOpen(connection, 7);
        case 7: return StepRangedResponse(connection);
        case 8: return StepRead(connection);
        case 9: return StepDataArrived(connection);
        case 10: return StepFinished(connection);
        default: return false;
    }
}

// Steps 0 and 4: FTP connects (and logs in), HTTP sends its request.
bool CDownload::StepSend(DownloadConnection& connection, int next) {
    connection.step = next;
    InternetLink& link = *connection.link;
    if (!link.ftp) return SendRequest(connection);
    if (!Connect(connection)) {
        CloseConnection(connection);
        return false;
    }
    // A listing that brought no size is asked for again in the new session.
    if (connection.listedSize < 0) connection.listing = 0;
    const DownloadUrl& url = connection.url;
    link.Expect();
    HINTERNET session = InternetConnectW(link.root, url.host.c_str(), url.port,
                                         url.user.empty() ? nullptr : url.user.c_str(),
                                         url.password.empty() ? nullptr : url.password.c_str(), INTERNET_SERVICE_FTP,
                                         ftpFlags_, link.Context());
    // A server that refuses now is tried again later, as when the refusal comes as a completion.
    return Proceed(connection, Settle(link, session != nullptr, reinterpret_cast<DWORD_PTR>(session)),
                   IfFailed::kGoOn);
}

bool CDownload::SendRequest(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    if (!Connect(connection)) {
        CloseConnection(connection);
        return false;
    }
    const std::wstring object = RequestObject(connection.url);
    const wchar_t* accept[] = {L"*/*", nullptr};
    const DWORD flags = kRequestFlags | (connection.url.scheme == kSchemeHttps ? kSecureFlags : 0);
    link.request = HttpOpenRequestW(link.connect, L"GET", object.c_str(), L"HTTP/1.1", nullptr, accept, flags,
                                    link.Context());
    if (!link.request) {
        CloseConnection(connection);
        return false;
    }
    DWORD connectTimeout = kConnectTimeoutMs;
    InternetSetOptionW(link.request, INTERNET_OPTION_CONNECT_TIMEOUT, &connectTimeout, sizeof(connectTimeout));
    // A server that takes the request and then says nothing is tried again like any other failure;
    // some clients only take a receive time-out from a request that is yet to be sent.
    SetReceiveTimeout(connection, kReceiveTimeoutMs);
    BOOL decoding = TRUE;
    const bool decodes = InternetSetOptionW(link.request, INTERNET_OPTION_HTTP_DECODING, &decoding, sizeof(decoding));
    link.headers = RequestHeaders(connection.segment ? connection.segment->start : -1, decodes);
    INTERNET_BUFFERSW in{};
    in.dwStructSize = sizeof(in);
    in.lpcszHeader = link.headers.c_str();
    in.dwHeadersLength = static_cast<DWORD>(link.headers.size());
    link.Expect();
    const BOOL sent = HttpSendRequestExW(link.request, &in, nullptr, 0, link.Context());
    return Proceed(connection, Settle(link, sent, TRUE), IfFailed::kFailDownload);
}

// Steps 1 and 5: an FTP session is in place, or it is tried again later.
bool CDownload::StepConnected(DownloadConnection& connection, int next, int retryStep) {
    InternetLink& link = *connection.link;
    if (link.ftp) {
        if (link.error || !link.result) {
            connection.step = retryStep;
            Retry(connection);
            return true;
        }
        link.connect = reinterpret_cast<HINTERNET>(link.result);
    }
    connection.step = next;
    connection.readyNow = true;
    return true;
}

// Steps 2 and 6: FTP opens the file (first listing it when its size is not known yet), HTTP ends
// the request and so receives the response's headers.
bool CDownload::StepOpen(DownloadConnection& connection, int next) {
    InternetLink& link = *connection.link;
    if (link.ftp) {
        if (next == 3 && target_.total < 0 && connection.listing == 0) return ListRemoteFile(connection);
        if (connection.listing == 1) {
            if (!link.error && link.result) {
                const WIN32_FIND_DATAW& found = link.listing;
                connection.listedSize = (int64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
                InternetCloseHandle(reinterpret_cast<HINTERNET>(link.result));
            }
            connection.listing = 2;
        }
        connection.step = next;
        return OpenRemoteFile(connection);
    }
    connection.step = next;
    link.Expect();
    const BOOL ended = HttpEndRequestW(link.request, nullptr, 0, link.Context());
    return Proceed(connection, Settle(link, ended, TRUE), IfFailed::kFailDownload);
}

// The size of an FTP file is what the client reports for the open file; a client that reports
// nothing (some give 0 for every file) leaves the size from a listing asked for before the file is
// opened, which is the only time the session is free for it.
bool CDownload::ListRemoteFile(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    connection.listing = 1;
    link.listing = WIN32_FIND_DATAW{};
    link.Expect();
    SetLastError(ERROR_SUCCESS);
    HINTERNET found = FtpFindFirstFileW(link.connect, FtpPath(connection.url, finalAddress_).c_str(), &link.listing,
                                        INTERNET_FLAG_RELOAD, link.Context());
    // A listing that fails leaves the size unknown; the file is then read to its end.
    return Proceed(connection, Settle(link, found != nullptr, reinterpret_cast<DWORD_PTR>(found), true),
                   IfFailed::kGoOn);
}

bool CDownload::OpenRemoteFile(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    const std::wstring path =
        FtpPath(connection.url, connection.address == kMainAddress ? finalAddress_ : std::wstring());
    link.watchRestart = true;
    link.restartOffset = connection.segment ? connection.segment->start : 0;
    link.restartConfirmed = false;
    link.Expect();
    SetLastError(ERROR_SUCCESS);
    HINTERNET file = FtpOpenFileW(link.connect, path.c_str(), GENERIC_READ,
                                  FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, link.Context());
    return Proceed(connection, Settle(link, file != nullptr, reinterpret_cast<DWORD_PTR>(file), true),
                   IfFailed::kFailDownload);
}

// Step 3.
bool CDownload::StepFirstResponse(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    if (link.ftp) return StepFtpFirstResponse(connection);
    if (connection.recordsRedirects && !link.redirect.empty()) finalAddress_ = link.redirect;
    const AnswerFacts answer = QueryAnswer(link.request);
    if (answer.status == 200) {
        if (target_.total < 0) target_.total = AnsweredSize(answer);
        const bool ranges = RangesSupported(target_.total, answer);
        if (!target_.lastModified) target_.lastModified = QueryLastModified(link.request);
        if (FirstAnswerAccepted(answer, target_.total, metalinkMode_, ranges))
            return FirstResponseAccepted(connection, ranges, QueryHeader(link.request, HTTP_QUERY_CONTENT_TYPE));
    } else if (!metalinkMode_ && answer.status == 302) {
        return StepRedirected(connection);
    } else if (!metalinkMode_ && answer.status == 404) {
        return StepAddressGone(connection, false);
    }
    connection.step = 0;
    Retry(connection);
    return true;
}

bool CDownload::StepFtpFirstResponse(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    link.watchRestart = false;
    if (!link.error && link.result) {
        link.request = reinterpret_cast<HINTERNET>(link.result);
        DWORD high = 0;
        const DWORD low = FtpGetFileSize(link.request, &high);
        int64_t size = (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) ? -1 : (int64_t{high} << 32) | low;
        if (size <= 0) size = connection.listedSize;
        if (target_.total < 0) target_.total = size;
        const bool ranges = link.restartConfirmed && target_.total >= 0;
        if (size == target_.total && (!metalinkMode_ || link.restartConfirmed))
            return FirstResponseAccepted(connection, ranges, std::wstring());
    } else if (link.lastResponse.find(L"425") != std::wstring::npos) {
        // The server could not open a data connection to us: it has to be the other way round.
        ftpFlags_ = INTERNET_FLAG_PASSIVE;
        target_.resumable = false;
    }
    connection.step = 0;
    Retry(connection);
    return true;
}

bool CDownload::FirstResponseAccepted(DownloadConnection& connection, bool rangesSupported,
                                      const std::wstring& contentType) {
    target_.resumable = rangesSupported;
    if (!metalinkMode_ && contentType == kMetalinkType && !EnterMetalinkMode()) {
        CloseConnection(connection);
        return false;
    }
    RecordFirstResponse(*AddressOf(connection), GetTickCount() - connection.openTick);
    int count = connectionCount_;
    if (!Notify(kFirstResponse) || !Notify(kResponseRead) || !target_.Open(count) || !Notify(kTargetOpened)) {
        CloseConnection(connection);
        return false;
    }
    connectionCount_ = count;
    if (!target_.resumable) {
        connection.step = 8;
        connection.readyNow = true;
        return Notify(kTransferBegun);
    }
    if (target_.downloaded == target_.total) {
        result_ = kSucceeded;
        CloseConnection(connection);
        return true;
    }
    SetReceiveTimeout(connection, kReceiveTimeoutMs);
    connection.segment = target_.segments.Assign(std::nullopt);
    if (!connection.segment) {
        CloseConnection(connection);
        return false;
    }
    if (connection.segment->start == 0) {
        // This response delivers the file from its first byte: it serves the first segment.
        connection.segment->started = 1;
        connection.step = 8;
        connection.readyNow = true;
    } else {
        connection.step = 4;
        RetryLater(connection);
    }
    if (!metalinkMode_) OpenSegmentConnections(connectionCount_ - 1);
    return Notify(kTransferBegun);
}

// The descriptor is fetched like a file of unknown size into a temporary file of its own, without
// notifications; the file the caller asked for comes from its mirrors afterwards.
bool CDownload::EnterMetalinkMode() {
    metalinkMode_ = true;
    gate_.enabled = false;
    target_.resumable = false;
    target_.total = -1;
    savedTargetPath_ = targetFile_.path;
    targetFile_.path = TempFileName(L"tw");
    return !targetFile_.path.empty();
}

// A redirect the client did not follow itself: the address it came from now stands for its target,
// and a new connection goes there. A chain of them ends after a few.
bool CDownload::StepRedirected(DownloadConnection& connection) {
    const std::wstring location = QueryHeader(connection.link->request, HTTP_QUERY_LOCATION, kAddressCapacity);
    DownloadUrl redirected;
    if (location.empty() || !CrackDownloadUrl(location, redirected) || ++redirects_ > kMostRedirects) {
        CloseConnection(connection);
        return false;
    }
    DownloadUrl& address = *AddressOf(connection);
    redirected.firstResponseMs = address.firstResponseMs;
    address = redirected;
    if (connection.address == kMainAddress) finalAddress_ = location;
    CloseConnection(connection);
    return OpenConnection(false);
}

// A 404: the address is never used again; another connection tries another address, and without
// one the download fails.
bool CDownload::StepAddressGone(DownloadConnection& connection, bool forSegment) {
    AddressOf(connection)->failed = true;
    CloseConnection(connection);
    return OpenConnection(forSegment);
}

// Step 4: a ranged request, unless another connection has begun reading this segment on its own
// response in the meantime.
bool CDownload::StepRangedSend(DownloadConnection& connection) {
    if (!connection.segment || connection.segment->started) {
        CloseConnection(connection);
        return true;
    }
    return StepSend(connection, 5);
}

// Step 7: only bytes that are known to start at the segment's next byte are read into it.
bool CDownload::StepRangedResponse(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    if (!connection.segment) {
        // Another connection read and finished the segment in the meantime.
        CloseConnection(connection);
        return true;
    }
    bool usable = false;
    if (link.ftp) {
        link.watchRestart = false;
        if (link.error || !link.result) {
            connection.step = 4;
            Retry(connection);
            return true;
        }
        link.request = reinterpret_cast<HINTERNET>(link.result);
        // Without a confirmed restart the server sends the file from its first byte.
        usable = link.restartConfirmed;
    } else {
        switch (JudgeRangedAnswer(QueryAnswer(link.request), connection.segment->start, target_.total)) {
            case RangedVerdict::kRead: usable = true; break;
            case RangedVerdict::kRetryLater:
                connection.step = 4;
                Retry(connection);
                return true;
            case RangedVerdict::kAddressFailed: return StepAddressGone(connection, true);
            case RangedVerdict::kClose:
                if (target_.resumable)
                    for (int slot : active_) SetReceiveTimeout(connections_[slot], kPatientReceiveTimeoutMs);
                break;
        }
    }
    if (!usable || connection.segment->started) {
        CloseConnection(connection);
        return true;
    }
    RecordFirstResponse(*AddressOf(connection), GetTickCount() - connection.openTick);
    SetReceiveTimeout(connection, kReceiveTimeoutMs);
    connection.segment->started = 1;
    connection.step = 8;
    connection.readyNow = true;
    return true;
}

// Step 8: one read of at most a buffer, no more than the segment (or the file) still misses.
bool CDownload::StepRead(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    connection.step = 9;
    const uint32_t size = ReadSize(connection.segment, target_.total, target_.downloaded);
    link.Expect();
    if (link.ftp) {
        // An FTP read's completion carries the byte count in its error field.
        DWORD got = 0;
        const BOOL read = InternetReadFile(link.request, link.buffer, size, &got);
        if (read) link.CompletedAtOnce(TRUE, got);
        return Proceed(connection, read ? Outcome::kDone : Settle(link, false, 0), IfFailed::kCloseConnection);
    }
    link.read = INTERNET_BUFFERSA{};
    link.read.dwStructSize = sizeof(link.read);
    link.read.lpvBuffer = link.buffer;
    link.read.dwBufferLength = size;
    const BOOL read = InternetReadFileExA(link.request, &link.read, IRF_ASYNC, link.Context());
    return Proceed(connection, Settle(link, read, TRUE), IfFailed::kCloseConnection);
}

// Step 9.
bool CDownload::StepDataArrived(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    const DWORD count = link.ftp ? link.error : link.read.dwBufferLength;
    const bool success = link.ftp ? link.result != 0 : link.error == 0;
    const bool data = success && count > 0;
    if (data && !target_.WriteBlock(connection.segment, link.buffer, count)) {
        CloseConnection(connection);
        return false;
    }
    if (GetTickCount() - lastProgressTick_ > 1000 && !Notify(kProgress)) return false;
    connection.readyNow = true;
    if (!target_.resumable) {
        if (data && (target_.total < 0 || target_.downloaded < target_.total)) {
            connection.step = 8;
        } else if (!success || (target_.total >= 0 && target_.downloaded < target_.total)) {
            // It broke off before the end: without ranges the whole file comes again.
            connection.readyNow = false;
            if (!target_.Rewind()) {
                CloseConnection(connection);
                return false;
            }
            connection.step = 0;
            Retry(connection);
        } else {
            connection.step = 10;
        }
        return true;
    }
    if (!data) {
        connection.readyNow = false;
        FoldSegment(*connection.segment);
        connection.step = 4;
        Retry(connection);
        return true;
    }
    if (connection.segment->Complete()) {
        connection.step = 10;
        return Notify(kProgress);
    }
    connection.step = 8;
    return true;
}

// Step 10.
bool CDownload::StepFinished(DownloadConnection& connection) {
    if (target_.resumable) {
        const int64_t end = connection.segment->end;
        ReleaseSegment(connection);
        connection.segment = target_.segments.Assign(end);
        if (connection.segment && connection.segment->start == end + 1) {
            connection.segment->started = 1;
            connection.step = 8;
            connection.readyNow = true;
        } else if (connection.segment) {
            connection.link->CloseRequest();
            connection.step = 4;
            connection.readyNow = true;
        } else if (target_.downloaded == target_.total) {
            result_ = kSucceeded;
            CloseAllConnections();
        } else {
            CloseConnection(connection);
        }
        return true;
    }
    if (metalinkMode_) return ReadMetalinkDescriptor(connection);
    result_ = kSucceeded;
    CloseConnection(connection);
    return true;
}

bool CDownload::ReadMetalinkDescriptor(DownloadConnection& connection) {
    const bool received = target_.Finish(true);
    target_.lastModified.reset();
    gate_.enabled = true;
    target_.downloaded = 0;
    CloseConnection(connection);
    if (!received || !ReadMirrorsFromDescriptor()) return false;
    targetFile_.path = savedTargetPath_;
    for (int i = 0; i < std::max(connectionCount_, 1); ++i)
        if (!OpenConnection(false)) break;
    return true;
}

}  // namespace update
