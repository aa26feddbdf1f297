// Opening, retrying and closing the connections of a download.
#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "update/download.h"
#include "update/internet_link.h"
#include "update/user_agent.h"

namespace update {

namespace {

constexpr LONGLONG kRetryDelay = -100000000;  // ten seconds from now, in 100 ns units

}  // namespace

bool CDownload::OpenConnection(bool forSegment) {
    int slot = 0;
    while (slot < SegmentTable::kSlots && connections_[slot].link) ++slot;
    if (slot == SegmentTable::kSlots) return false;
    DownloadConnection& connection = connections_[slot];
    connection = DownloadConnection{};
    if (forSegment) {
        connection.segment = target_.segments.Assign(std::nullopt);
        if (!connection.segment) return false;
    }
    const int address = ChooseAddress(main_, mirrors_);
    if (address == kNoAddress) {
        LetGoOfSegment(connection);
        return false;
    }
    connection.address = address;
    connection.url = *AddressOf(connection);
    connection.recordsRedirects = address == kMainAddress;
    connection.link = InternetLink::Create(connection.url.scheme == kSchemeFtp);
    if (!connection.link) {
        LetGoOfSegment(connection);
        return false;
    }
    connection.step = forSegment ? 4 : 0;
    connection.openTick = GetTickCount();
    connection.readyNow = true;
    active_.push_back(slot);
    if (connection.url.scheme != kSchemeFtp && !Connect(connection)) {
        CloseConnection(connection);
        return false;
    }
    return true;
}

int CDownload::OpenSegmentConnections(int count) {
    int opened = 0;
    while (opened < count && OpenConnection(true)) ++opened;
    return opened;
}

// The root handle, and for HTTP the connect handle (no traffic yet: the request makes the TCP
// connection). FTP connects as a step of its own, since that is where its traffic begins.
bool CDownload::Connect(DownloadConnection& connection) {
    InternetLink& link = *connection.link;
    if (!link.root) {
        const std::wstring agent = DownloadUserAgent();
        link.root = InternetOpenW(agent.empty() ? nullptr : agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                  nullptr, INTERNET_FLAG_ASYNC);
        if (!link.root) return false;
        link.Watch();
    }
    if (link.ftp || link.connect) return true;
    const DownloadUrl& url = connection.url;
    link.connect = InternetConnectW(link.root, url.host.c_str(), url.port, url.user.empty() ? nullptr : url.user.c_str(),
                                    url.password.empty() ? nullptr : url.password.c_str(), INTERNET_SERVICE_HTTP, 0,
                                    link.Context());
    return link.connect != nullptr;
}

void CDownload::CloseConnection(DownloadConnection& connection) {
    if (!connection.link) return;
    if (connection.retryTimer) {
        CancelWaitableTimer(connection.retryTimer);
        CloseHandle(connection.retryTimer);
    }
    LetGoOfSegment(connection);
    connection.link->Abandon();
    const int slot = static_cast<int>(&connection - connections_);
    active_.erase(std::remove(active_.begin(), active_.end(), slot), active_.end());
    connection = DownloadConnection{};
}

void CDownload::CloseAllConnections() {
    while (!active_.empty()) CloseConnection(connections_[active_.back()]);
}

// A segment left unfinished goes back to the others: what was received stays, and the rest is free
// for the next connection, unless another connection has taken it over to read it on its own
// response.
void CDownload::LetGoOfSegment(DownloadConnection& connection) {
    DownloadSegment* segment = connection.segment;
    connection.segment = nullptr;
    if (!segment) return;
    for (int slot : active_)
        if (connections_[slot].segment == segment) return;
    SegmentTable::Abandon(segment);
}

// A finished segment leaves the list, and its slot may soon hold another segment: a connection that
// was about to read it (and lost it to this one) must not find the new one under its old pointer.
void CDownload::ReleaseSegment(DownloadConnection& connection) {
    DownloadSegment* segment = connection.segment;
    connection.segment = nullptr;
    for (int slot : active_)
        if (connections_[slot].segment == segment) connections_[slot].segment = nullptr;
    target_.segments.Release(segment);
}

void CDownload::Retry(DownloadConnection& connection) {
    if (!metalinkMode_) {
        RetryLater(connection);
        return;
    }
    // Among mirrors another address may answer at once.
    CloseConnection(connection);
    OpenConnection(false);
}

void CDownload::RetryLater(DownloadConnection& connection) {
    connection.readyNow = false;
    connection.link->CloseRequest();
    connection.retryTimer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    LARGE_INTEGER due{};
    due.QuadPart = kRetryDelay;
    if (!connection.retryTimer || !SetWaitableTimer(connection.retryTimer, &due, 0, nullptr, nullptr, FALSE)) {
        if (connection.retryTimer) CloseHandle(connection.retryTimer);
        connection.retryTimer = nullptr;
        CloseConnection(connection);
    }
}

DownloadUrl* CDownload::AddressOf(const DownloadConnection& connection) {
    return connection.address == kMainAddress ? &main_ : &mirrors_[connection.address];
}

void CDownload::SetReceiveTimeout(DownloadConnection& connection, DWORD milliseconds) {
    if (connection.link && connection.link->request)
        InternetSetOptionW(connection.link->request, INTERNET_OPTION_RECEIVE_TIMEOUT, &milliseconds, sizeof(milliseconds));
}

}  // namespace update
