#pragma once
// One attempt of a download connection at the platform's asynchronous internet client: its handles,
// the facts its completions deliver, and the buffers the client writes into while an operation
// runs.
//
// The client finishes operations on threads of its own, and may do so after the engine has given
// the attempt up (a stop, a retry, a redirect): a read still lands in the buffer, a completion still
// calls back. So an attempt is freed only once no operation of it is in flight, and callbacks find
// it through a number that is never used twice rather than through its address: a callback for an
// attempt that is gone finds nothing and does nothing.
//
// Closing an HTTP request that still has an answer coming can take as long as the rest of the
// answer takes to arrive (a client may read it all before it lets go), so HTTP handles are closed
// on a thread kept for that, never on the download's worker.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "update/response_rules.h"

namespace update {

constexpr size_t kAddressCapacity = 2084;

class InternetLink {
public:
    // A new attempt; its completion event (auto-reset) is signalled only by completions that
    // arrive later: what completes at once is run by the engine without a wait.
    static InternetLink* Create(bool ftp);

    // The owner gives the attempt up: from now on no callback touches its facts or signals its
    // event; its handles are closed, and it is freed as soon as no operation of it is in flight.
    void Abandon();

    // Every operation that may complete later is bracketed: Expect() before it is started, then
    // CompletedAtOnce() when it did not go pending (done or failed at once), with the facts a
    // completion would have brought. A pending one completes through the callback, which stores
    // the facts and signals the event.
    void Expect();
    void CompletedAtOnce(DWORD_PTR result, DWORD error);

    // Installs the status callback on the root handle (handles made from it inherit it).
    void Watch();
    // Closes the request (or file) handle, its callback detached first, and for FTP (or after a
    // redirect) the session's handles too, so that the next attempt starts from a fresh session.
    // Only between operations: nothing of the attempt may be in flight.
    void CloseRequest();

    DWORD_PTR Context() const { return id_; }
    HANDLE Event() const { return event_; }

    const bool ftp;
    HINTERNET root = nullptr;
    HINTERNET connect = nullptr;
    HINTERNET request = nullptr;  // HTTP request, FTP file or FTP listing

    // The last completion.
    DWORD_PTR result = 0;
    DWORD error = 0;
    std::wstring lastResponse;  // the server's last reply text (FTP), kept with each completion

    // HTTP: the request's headers, kept while the request is sent.
    std::wstring headers;
    // HTTP: where the client was redirected to, when it followed a redirect.
    std::wstring redirect;

    // FTP restart: while the connection waits for its file, a reply to the data-port command makes
    // the callback ask for a restart at restartOffset; a "350" reply confirms it.
    bool watchRestart = false;
    int64_t restartOffset = 0;
    bool restartConfirmed = false;

    char buffer[kReadBufferSize];
    INTERNET_BUFFERSA read{};
    WIN32_FIND_DATAW listing{};

private:
    explicit InternetLink(bool isFtp);
    ~InternetLink();

    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                        DWORD infoLength);
    void OnStatus(DWORD status, LPVOID info, DWORD infoLength);
    void OnFtpReply();
    void Close(const HINTERNET (&handles)[3]);

    DWORD_PTR id_ = 0;
    HANDLE event_ = nullptr;
    bool owned_ = true;
    int pending_ = 0;
};

}  // namespace update
