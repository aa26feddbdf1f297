#pragma once
// A client command for one box, run without a connect of its own ahead of it: a client start
// less for every command on a box the client already knows, which is every command of ours.
#include <string>

#include "adb/process_runner.h"
#include "base/box_address.h"

namespace adb {

// Runs the command text ("$adb$" first, the box's address in it); when the client answers that
// it does not know the box (ClientLacksBox), connects the box and runs the command once more.
CommandOutcome DoBoxCommand(base::BoxAddress box, const std::wstring& command, std::wstring& out,
                            const ChildLimits& limits);

}  // namespace adb
