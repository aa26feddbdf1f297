#include "update/notification_gate.h"

namespace update {

bool NotificationGate::Passes(int code) {
    if (!enabled || code < state) return false;
    if (code == kTransferBegun) {
        if (transferBegunSent_) return false;
        transferBegunSent_ = true;
    }
    state = code;
    return true;
}

void NotificationGate::Reset() {
    enabled = true;
    state = kStarted;
    transferBegunSent_ = false;
}

}  // namespace update
