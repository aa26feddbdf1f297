#include "update/internet_link.h"

#include <cwchar>
#include <map>
#include <vector>

namespace update {

namespace {

// Every attempt alive, by its number; a CRITICAL_SECTION because the callback re-enters itself when
// it sends an FTP command from inside a reply.
CRITICAL_SECTION g_lock;
std::map<DWORD_PTR, InternetLink*>* g_links;
DWORD_PTR g_nextId = 1;

void EnsureRegistry() {
    static const bool ready = [] {
        InitializeCriticalSection(&g_lock);
        g_links = new std::map<DWORD_PTR, InternetLink*>;
        return true;
    }();
    (void)ready;
}

class Locked {
public:
    Locked() { EnterCriticalSection(&g_lock); }
    ~Locked() { LeaveCriticalSection(&g_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

bool ContainsNoCase(const std::wstring& text, const wchar_t* part) {
    const size_t length = wcslen(part);
    for (size_t at = 0; at + length <= text.size(); ++at)
        if (!_wcsnicmp(text.c_str() + at, part, length)) return true;
    return false;
}

std::wstring LastReplyText() {
    wchar_t text[kAddressCapacity] = L"";
    DWORD error = 0, length = kAddressCapacity;
    if (!InternetGetLastResponseInfoW(&error, text, &length)) return {};
    return std::wstring(text, wcsnlen(text, kAddressCapacity));
}

std::vector<HINTERNET>* g_toClose;
HANDLE g_closeWanted;

DWORD WINAPI Closer(LPVOID) {
    for (;;) {
        WaitForSingleObject(g_closeWanted, INFINITE);
        std::vector<HINTERNET> batch;
        {
            Locked lock;
            batch.swap(*g_toClose);
        }
        for (HINTERNET handle : batch) InternetCloseHandle(handle);
    }
}

void CloseLater(const HINTERNET (&handles)[3]) {
    static const bool started = [] {
        g_toClose = new std::vector<HINTERNET>;
        g_closeWanted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        HANDLE thread = CreateThread(nullptr, 0, &Closer, nullptr, 0, nullptr);
        if (thread) CloseHandle(thread);
        return thread != nullptr;
    }();
    if (!started) {
        for (HINTERNET handle : handles) if (handle) InternetCloseHandle(handle);
        return;
    }
    {
        Locked lock;
        for (HINTERNET handle : handles) if (handle) g_toClose->push_back(handle);
    }
    SetEvent(g_closeWanted);
}

}  // namespace

InternetLink* InternetLink::Create(bool ftp) {
    EnsureRegistry();
    auto* link = new InternetLink(ftp);
    if (!link->event_) {
        delete link;
        return nullptr;
    }
    Locked lock;
    link->id_ = g_nextId++;
    (*g_links)[link->id_] = link;
    return link;
}

InternetLink::InternetLink(bool isFtp) : ftp(isFtp), event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

InternetLink::~InternetLink() {
    if (event_) CloseHandle(event_);
}

void InternetLink::Abandon() {
    HINTERNET handles[3] = {request, connect, root};
    request = connect = root = nullptr;
    bool freeNow = false;
    {
        Locked lock;
        owned_ = false;
        if (pending_ == 0) {
            g_links->erase(id_);
            freeNow = true;
        }
    }
    // Outside the lock: closing may call back on this thread or wait for the client's threads. The
    // callback stays, so that an operation still in flight reports its end and the attempt is freed.
    Close(handles);
    if (freeNow) delete this;
}

void InternetLink::Expect() {
    Locked lock;
    ++pending_;
}

void InternetLink::CompletedAtOnce(DWORD_PTR completionResult, DWORD completionError) {
    Locked lock;
    if (pending_ > 0) --pending_;
    result = completionResult;
    error = completionError;
}

void InternetLink::Watch() { InternetSetStatusCallbackW(root, &InternetLink::StatusCallback); }

void InternetLink::CloseRequest() {
    // A session that followed a redirect may have been moved to the redirect's host by the client:
    // the next request starts from a session of its own.
    const bool freshSession = ftp || !redirect.empty();
    HINTERNET handles[3] = {request, freshSession ? connect : nullptr, ftp ? root : nullptr};
    request = nullptr;
    if (freshSession) connect = nullptr;
    if (ftp) root = nullptr;
    redirect.clear();
    for (HINTERNET handle : handles) {
        if (!handle) continue;
        InternetSetStatusCallbackW(handle, nullptr);
    }
    Close(handles);
}

// HTTP handles are closed on the closer's thread: a client may read what is left of an abandoned
// answer before it lets go of it (Wine's reads all that keeps arriving). FTP sessions are closed
// here: the client's FTP code goes wrong when a session ends on one thread while another logs in
// on another (the new session's greeting goes unseen for the whole reply time-out), and closing
// one waits only for the server's reply to the ended transfer.
void InternetLink::Close(const HINTERNET (&handles)[3]) {
    if (!ftp) {
        CloseLater(handles);
        return;
    }
    for (HINTERNET handle : handles)
        if (handle) InternetCloseHandle(handle);
}

void CALLBACK InternetLink::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                           DWORD infoLength) {
    Locked lock;
    const auto found = g_links->find(context);
    if (found == g_links->end()) return;
    InternetLink* link = found->second;
    if (link->owned_) link->OnStatus(status, info, infoLength);
    if (status != INTERNET_STATUS_REQUEST_COMPLETE) return;
    if (link->pending_ > 0) --link->pending_;
    if (!link->owned_ && link->pending_ == 0) {
        g_links->erase(found);
        delete link;
    }
}

void InternetLink::OnStatus(DWORD status, LPVOID info, DWORD infoLength) {
    switch (status) {
        case INTERNET_STATUS_RESPONSE_RECEIVED:
            if (ftp) OnFtpReply();
            break;
        case INTERNET_STATUS_REQUEST_COMPLETE:
            if (info && infoLength >= sizeof(INTERNET_ASYNC_RESULT)) {
                const auto* completion = static_cast<const INTERNET_ASYNC_RESULT*>(info);
                result = completion->dwResult;
                error = completion->dwError;
            }
            lastResponse = LastReplyText();
            SetEvent(event_);
            break;
        case INTERNET_STATUS_REDIRECT:
            if (!ftp && info) redirect.assign(static_cast<const wchar_t*>(info),
                                              wcsnlen(static_cast<const wchar_t*>(info), kAddressCapacity - 1));
            break;
        default:
            break;
    }
}

// Runs on the thread that read the reply, inside the client's own request: a command sent from here
// goes out after the data-port command and before the transfer command.
void InternetLink::OnFtpReply() {
    if (!watchRestart) return;
    const std::wstring reply = LastReplyText();
    if (reply.find(L"350") != std::wstring::npos) {
        restartConfirmed = true;
    } else if (ContainsNoCase(reply, L"200 PORT") && connect) {
        const std::wstring command = L"REST " + std::to_wstring(restartOffset);
        FtpCommandW(connect, FALSE, FTP_TRANSFER_TYPE_BINARY, command.c_str(), id_, nullptr);
    }
}

}  // namespace update
