#include "adb/box_command.h"

#include "adb/app_commands.h"
#include "adb/command_set.h"

namespace adb {

CommandOutcome DoBoxCommand(base::BoxAddress box, const std::wstring& command, std::wstring& out,
                            const ChildLimits& limits) {
    CommandOutcome outcome = DoCommand(command, out, limits);
    if (!ClientLacksBox(out)) return outcome;
    std::wstring connected;
    DoCommand(FormatTemplate(templates::kConnect, base::BoxText(box)), connected, CommandLimits());
    return DoCommand(command, out, limits);
}

}  // namespace adb
