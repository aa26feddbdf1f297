#pragma once
// Which of a download's notifications reach its callback. The codes only move forward: a code lower
// than the last one delivered is dropped, "transfer begun" goes out once, and everything else at or
// above the current state becomes the state and goes out. While a metalink descriptor is being
// fetched nothing goes out at all.
namespace update {

// Notification codes: the callback's second argument and the download's result.
enum DownloadCode : int {
    kStarted = 1,         // the worker begins
    kFirstResponse = 2,   // the first response has arrived and its headers are read
    kResponseRead = 3,    // right after kFirstResponse
    kTargetOpened = 4,    // the target file is open
    kTransferBegun = 5,
    kProgress = 6,        // repeated
    kSucceeded = 7,
    kFailed = 8,
    kCancelled = 9,       // stopped, or the overall time-out expired
};

class NotificationGate {
public:
    // True when code is to be delivered; the state moves with what is delivered.
    bool Passes(int code);
    void Reset();

    bool enabled = true;
    int state = kStarted;

private:
    bool transferBegunSent_ = false;
};

}  // namespace update
