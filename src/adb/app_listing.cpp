#include "adb/app_listing.h"

#include <algorithm>
#include <set>

namespace adb {

namespace {

constexpr std::wstring_view kPackagePrefix = L"package:";
constexpr size_t kMaxPackageName = 255;

std::wstring_view Trim(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

// Calls line(text) for every line, without its line end.
template <class Visit>
void ForEachLine(std::wstring_view text, Visit line) {
    while (!text.empty()) {
        const size_t end = text.find(L'\n');
        line(text.substr(0, end));
        if (end == std::wstring_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

bool StartsWith(std::wstring_view text, std::wstring_view start) { return text.substr(0, start.size()) == start; }

// The value after a "key=" that begins the line.
std::optional<std::wstring_view> Field(std::wstring_view line, std::wstring_view key) {
    if (!StartsWith(line, key)) return std::nullopt;
    return line.substr(key.size());
}

int64_t LeadingNumber(std::wstring_view text) {
    int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        if (value > (INT64_MAX - 9) / 10) return value;  // more digits than a version code holds
        value = value * 10 + (c - L'0');
    }
    return value;
}

// "[ SYSTEM HAS_CODE ]" or, on the oldest boxes, a hexadecimal mask whose lowest bit is SYSTEM.
bool SaysSystem(std::wstring_view flags) {
    if (StartsWith(flags, L"0x")) {
        const wchar_t last = flags.size() > 2 ? flags.back() : L'0';
        const int digit = last >= L'0' && last <= L'9' ? last - L'0' : (last | 0x20) - L'a' + 10;
        return digit & 1;
    }
    for (size_t at = flags.find(L"SYSTEM"); at != std::wstring_view::npos; at = flags.find(L"SYSTEM", at + 1)) {
        const bool startsWord = at == 0 || flags[at - 1] == L' ' || flags[at - 1] == L'[';
        const size_t after = at + 6;
        const bool endsWord = after == flags.size() || flags[after] == L' ' || flags[after] == L']';
        if (startsWord && endsWord) return true;
    }
    return false;
}

std::vector<std::wstring> SplitNames(std::wstring_view list) {
    std::vector<std::wstring> names;
    list = Trim(list);
    if (list.empty() || list.front() != L'[' || list.back() != L']') return names;
    list = list.substr(1, list.size() - 2);
    while (!list.empty()) {
        const size_t comma = list.find(L',');
        const std::wstring_view name = Trim(list.substr(0, comma));
        if (!name.empty() && name != L"base") names.emplace_back(name);
        if (comma == std::wstring_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return names;
}

// The label of a "labelRes=0x0 nonLocalizedLabel=TEXT icon=0x0 banner=0x0" line; empty for "null".
std::wstring LabelOf(std::wstring_view line) {
    const size_t at = line.find(L"nonLocalizedLabel=");
    if (at == std::wstring_view::npos) return {};
    std::wstring_view label = line.substr(at + 18);
    if (const size_t icon = label.rfind(L" icon=0x"); icon != std::wstring_view::npos) label = label.substr(0, icon);
    return label == L"null" ? std::wstring() : std::wstring(label);
}

bool IsDate(std::wstring_view token) {
    if (token.size() != 10 || token[4] != L'-' || token[7] != L'-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (token[i] < L'0' || token[i] > L'9') return false;
    return true;
}

// The size column of an "ls -l" line of a regular file: the number just before the date, in
// toolbox's and toybox's columns alike.
std::optional<uint64_t> FileSize(std::wstring_view line) {
    if (!StartsWith(line, L"-")) return std::nullopt;
    std::vector<std::wstring_view> tokens;
    while (!line.empty()) {
        const size_t start = line.find_first_not_of(L' ');
        if (start == std::wstring_view::npos) break;
        line.remove_prefix(start);
        const size_t end = line.find(L' ');
        tokens.push_back(line.substr(0, end));
        if (end == std::wstring_view::npos) break;
        line.remove_prefix(end);
    }
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (!IsDate(tokens[i])) continue;
        const std::wstring_view size = tokens[i - 1];
        if (size.empty() || size.size() > 19 || size.find_first_not_of(L"0123456789") != std::wstring_view::npos)
            return std::nullopt;
        return static_cast<uint64_t>(LeadingNumber(size));
    }
    return std::nullopt;
}

}  // namespace

std::vector<ListedPackage> ParsePackageList(std::wstring_view text) {
    std::vector<ListedPackage> packages;
    ForEachLine(text, [&](std::wstring_view line) {
        line = Trim(line);
        if (!StartsWith(line, kPackagePrefix)) return;
        line.remove_prefix(kPackagePrefix.size());
        const size_t equals = line.rfind(L'=');
        std::wstring_view name = equals == std::wstring_view::npos ? line : line.substr(equals + 1);
        name = name.substr(0, name.find(L' '));  // " versionCode:N", " uid:N"
        if (name.empty()) return;
        packages.push_back({std::wstring(name),
                            equals == std::wstring_view::npos ? std::wstring() : std::wstring(line.substr(0, equals))});
    });
    return packages;
}

std::map<std::wstring, PackageDetails> ParsePackageDump(std::wstring_view text) {
    std::map<std::wstring, PackageDetails> packages;
    bool inPackages = false;
    PackageDetails* current = nullptr;
    std::optional<bool> pkgFlagsSystem, flagsSystem;
    const auto finish = [&] {
        if (current) current->system = pkgFlagsSystem.value_or(flagsSystem.value_or(false));
        current = nullptr;
        pkgFlagsSystem = flagsSystem = std::nullopt;
    };
    ForEachLine(text, [&](std::wstring_view raw) {
        const std::wstring_view line = Trim(raw);
        if (line.empty()) return;
        // Only the "Packages:" section: others ("Hidden system packages:") hold older copies.
        if (raw.front() != L' ') {
            finish();
            inPackages = line == L"Packages:";
            return;
        }
        if (!inPackages) return;
        if (StartsWith(line, L"Package [")) {
            finish();
            const size_t close = line.find(L']');
            if (close == std::wstring_view::npos) return;
            current = &packages[std::wstring(line.substr(9, close - 9))];
            *current = {};
            return;
        }
        if (!current) return;
        if (auto value = Field(line, L"versionCode=")) current->versionCode = LeadingNumber(*value);
        else if (auto name = Field(line, L"versionName=")) current->versionName = *name;
        else if (auto path = Field(line, L"codePath=")) current->codePath = *path;
        else if (auto updated = Field(line, L"lastUpdateTime=")) current->lastUpdate = *updated;
        else if (auto flags = Field(line, L"pkgFlags=")) pkgFlagsSystem = SaysSystem(*flags);
        else if (auto appFlags = Field(line, L"flags=")) flagsSystem = SaysSystem(*appFlags);
        else if (auto splits = Field(line, L"splits=")) current->splits = SplitNames(*splits);
        else if (StartsWith(line, L"User 0:") && line.find(L"installed=false") != std::wstring_view::npos)
            current->installed = false;
    });
    finish();
    return packages;
}

std::map<std::wstring, std::wstring> ParseLauncherActivities(std::wstring_view text) {
    std::map<std::wstring, std::wstring> launchers;
    std::wstring package, activityLabel, appLabel;
    bool inApplication = false, inActivity = false;
    const auto finish = [&] {
        if (inActivity && IsPackageName(package)) {
            std::wstring& label = launchers[package];
            if (label.empty()) label = !activityLabel.empty() ? activityLabel : appLabel;
        }
        package.clear();
        activityLabel.clear();
        appLabel.clear();
        inApplication = inActivity = false;
    };
    ForEachLine(text, [&](std::wstring_view raw) {
        const std::wstring_view line = Trim(raw);
        if (StartsWith(line, L"Activity #")) {
            finish();
            inActivity = true;
        } else if (!inActivity) {
            return;
        } else if (line == L"ApplicationInfo:") {
            inApplication = true;
        } else if (auto name = Field(line, L"packageName=")) {
            if (package.empty()) package = *name;
        } else if (line.find(L"nonLocalizedLabel=") != std::wstring_view::npos) {
            (inApplication ? appLabel : activityLabel) = LabelOf(line);
        }
    });
    finish();
    return launchers;
}

std::vector<std::wstring> ParsePackagePaths(std::wstring_view text) {
    std::vector<std::wstring> paths;
    ForEachLine(text, [&](std::wstring_view line) {
        line = Trim(line);
        if (StartsWith(line, kPackagePrefix) && line.size() > kPackagePrefix.size())
            paths.emplace_back(line.substr(kPackagePrefix.size()));
    });
    return paths;
}

std::vector<std::wstring_view> SplitSections(std::wstring_view text) {
    std::vector<std::wstring_view> sections;
    size_t sectionStart = 0, lineStart = 0;
    while (lineStart <= text.size()) {
        const size_t end = std::min(text.find(L'\n', lineStart), text.size());
        if (Trim(text.substr(lineStart, end - lineStart)) == kSectionMark) {
            sections.push_back(text.substr(sectionStart, lineStart - sectionStart));
            sectionStart = end + 1;
        }
        lineStart = end + 1;
    }
    sections.push_back(sectionStart < text.size() ? text.substr(sectionStart) : std::wstring_view());
    return sections;
}

std::vector<InstalledApp> MergeListing(const std::vector<ListedPackage>& packages,
                                       const std::map<std::wstring, PackageDetails>& details,
                                       const std::map<std::wstring, std::wstring>& tvLauncher,
                                       const std::map<std::wstring, std::wstring>& phoneLauncher,
                                       bool launchersKnown) {
    std::vector<InstalledApp> apps;
    std::set<std::wstring> seen;
    for (const ListedPackage& listed : packages) {
        if (!IsPackageName(listed.name) || !seen.insert(listed.name).second) continue;
        InstalledApp app;
        app.package = listed.name;
        const auto detail = details.find(listed.name);
        if (detail != details.end()) {
            if (!detail->second.installed) continue;
            app.versionCode = detail->second.versionCode;
            app.versionName = detail->second.versionName;
            app.updated = detail->second.lastUpdate;
            app.system = detail->second.system;
        } else {
            app.system = !StartsWith(listed.path, L"/data/") && !StartsWith(listed.path, L"/mnt/");
        }
        if (IsSafeRemotePath(listed.path)) {
            app.apkPaths.push_back(listed.path);
            constexpr std::wstring_view kBase = L"/base.apk";
            const bool inFolder = listed.path.size() > kBase.size() &&
                                  listed.path.compare(listed.path.size() - kBase.size(), kBase.size(), kBase) == 0;
            if (inFolder && detail != details.end()) {
                const std::wstring folder = listed.path.substr(0, listed.path.size() - kBase.size());
                for (const std::wstring& split : detail->second.splits) {
                    std::wstring path = folder + L"/split_" + split + L".apk";
                    if (IsSafeRemotePath(path)) app.apkPaths.push_back(std::move(path));
                }
            }
        }
        const auto tv = tvLauncher.find(listed.name);
        const auto phone = phoneLauncher.find(listed.name);
        if (launchersKnown) app.launchable = tv != tvLauncher.end() || phone != phoneLauncher.end();
        if (tv != tvLauncher.end()) app.label = tv->second;
        if (app.label.empty() && phone != phoneLauncher.end()) app.label = phone->second;
        apps.push_back(std::move(app));
    }
    return apps;
}

std::vector<InstalledApp> ReadListing(std::wstring_view output) {
    const std::vector<std::wstring_view> sections = SplitSections(output);
    const auto section = [&](size_t index) { return index < sections.size() ? sections[index] : std::wstring_view(); };
    // A box without "cmd" says so instead of listing; one that has it lists or says it found none.
    const bool launchersKnown = section(2).find(L"activities found") != std::wstring_view::npos ||
                                section(2).find(L"No activities found") != std::wstring_view::npos;
    return MergeListing(ParsePackageList(section(0)), ParsePackageDump(section(1)),
                        ParseLauncherActivities(section(2)), ParseLauncherActivities(section(3)), launchersKnown);
}

std::vector<std::wstring> SizeCommands(const std::vector<InstalledApp>& apps, size_t maxLength) {
    std::vector<std::wstring> commands;
    std::wstring command;
    for (const InstalledApp& app : apps) {
        if (app.apkPaths.empty()) continue;
        std::wstring piece = L"echo =" + app.package + L";ls -l";
        for (const std::wstring& path : app.apkPaths) piece += L" '" + path + L"'";
        piece += L";";
        if (piece.size() > maxLength) continue;
        if (command.size() + piece.size() > maxLength) commands.push_back(std::move(command)), command.clear();
        command += piece;
    }
    if (!command.empty()) commands.push_back(std::move(command));
    return commands;
}

std::map<std::wstring, uint64_t> ParseSizes(std::wstring_view text) {
    std::map<std::wstring, uint64_t> sizes;
    uint64_t* current = nullptr;
    ForEachLine(text, [&](std::wstring_view line) {
        line = Trim(line);
        if (StartsWith(line, L"=")) {
            const std::wstring_view name = line.substr(1);
            current = IsPackageName(name) ? &sizes[std::wstring(name)] : nullptr;
        } else if (current) {
            if (const auto size = FileSize(line)) *current += *size;
        }
    });
    return sizes;
}

bool IsPackageName(std::wstring_view name) {
    if (name.empty() || name.size() > kMaxPackageName) return false;
    return std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
               c == L'.';
    });
}

bool IsSafeRemotePath(std::wstring_view path) {
    if (path.empty() || path.front() != L'/') return false;
    return std::none_of(path.begin(), path.end(),
                        [](wchar_t c) { return c < 0x20 || c == 0x7F || c == L'\'' || c == L'"' || c == L'\\'; });
}

}  // namespace adb
