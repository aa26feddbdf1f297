#pragma once
// The time of the last update check, kept in the current user's registry so that the program asks
// the update server at most once a day.
#include <windows.h>

#include <cstdint>

namespace update {

// HKEY_CURRENT_USER\Software\ClientFrame, value LastCheckUpdate (REG_DWORD): the low 32 bits of
// the time of the last check in seconds since 1970.
inline constexpr wchar_t kCheckStampKey[] = L"Software\\ClientFrame";
inline constexpr wchar_t kCheckStampValue[] = L"LastCheckUpdate";

// Whether a check is due by the stamp under root\key (a missing or unreadable stamp counts as a
// check long ago); when it is, the stamp becomes now before anything is fetched, so that a check
// that fails still counts as the day's.
bool TakeDailyCheck(HKEY root, const wchar_t* key);

// The clock, in seconds since 1970.
int64_t SecondsSince1970();

}  // namespace update
