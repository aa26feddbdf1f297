#include "adb/box_name.h"

#include "adb/command_set.h"

namespace adb {

namespace {

struct BoxNameRule {
    const wchar_t* fragment;
    const wchar_t* name;
};

// Tried in this order: "mele_a100" must win over the plain "MELE".
constexpr BoxNameRule kRules[] = {
    {L"mele_a100", L"迈乐盒子A100"},
    {L"MELE", L"迈乐盒子"},
    {L"kiui", L"开博尔盒子"},
    {L"full aosp on godbox", L"海美迪盒子"},
    {L"letv", L"乐视盒子"},
    {L"mygica", L"美如画盒子"},
    {L"i5d", L"我播盒子I5"},
    {L"mibox", L"小米盒子"},
};

constexpr const wchar_t* kDefaultName = L"智能机顶盒";

}  // namespace

std::wstring BoxDisplayName(const std::wstring& queryOutput) {
    if (queryOutput.empty()) return {};
    for (const BoxNameRule& rule : kRules) {
        if (ContainsNoCase(queryOutput, rule.fragment)) return rule.name;
    }
    return kDefaultName;
}

}  // namespace adb
