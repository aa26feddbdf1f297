#pragma once
// Installing an APK on a box: streamed to the package service on Android 7 and later (boxes with
// "cmd"), else pushed to /data/local/tmp, installed with pm and removed again.
#include <string>

#include "adb/client/local_file.h"
#include "adb/client/transport.h"

namespace adb::client {

// path: the APK as the user named it (for messages); apk: the same file, open.
int InstallApk(Transport& transport, InputFile& apk, const std::string& path, bool replace);

}  // namespace adb::client
