#pragma once
// Why a command on a box failed, in words a user understands. What the client printed and how its
// run ended give a reason; each reason has its Chinese text. Every page that reports failures
// (installs, and whatever else runs on a box) reads them from here.
#include <cstdint>
#include <string>
#include <string_view>

#include "adb/child_limits.h"

namespace adb {

enum class FailureReason : int32_t {
    None = 0,               // nothing failed
    Other = 1,              // none of the below: the client's own last line tells why
    StorageFull = 2,
    AndroidTooOld = 3,      // the app needs a newer Android than the box runs
    InvalidPackage = 4,     // not an APK the box can read: cut short, damaged, no manifest
    NewerVersionInstalled = 5,
    SignatureDiffers = 6,   // an app of the same name, signed by someone else, is on the box
    NoMatchingAbi = 7,      // native code for processors other than the box's
    DuplicatePermission = 8,
    Unauthorized = 9,       // the box asks its user to allow this computer to debug it
    ConnectionLost = 10,
    NoAnswer = 11,          // the box stopped answering and the program ended the client
    NotReceived = 12,       // the box could not find the APK it was sent
    FileUnreadable = 13,    // the APK on this computer could not be read (the engine tells)
    Cancelled = 14,         // the user cancelled (the engine tells)
};

// The reason of a failed command from its output and how its client ended. Words the box's
// package manager chose come first, then what the client says of the box and the link; Other
// when nothing is recognised.
FailureReason ClassifyFailure(std::wstring_view output, ChildEnd end);

// The reason in Chinese; for Other, the last line the client printed (the output is read only
// then). Empty for None.
std::wstring FailureText(FailureReason reason, std::wstring_view output);

// The last line of the output that holds more than blanks, without its blanks at either end and
// cut to kMaxLastLine characters.
std::wstring LastOutputLine(std::wstring_view output);
constexpr size_t kMaxLastLine = 160;

}  // namespace adb
