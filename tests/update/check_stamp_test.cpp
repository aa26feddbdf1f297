// The daily throttle against the real registry (a key of the test's own, removed afterwards).
#include "update/check_stamp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CheckStamp : public testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    void Store(const void* data, DWORD size, DWORD type = REG_DWORD) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), update::kCheckStampValue, type, data, size),
                  ERROR_SUCCESS);
    }
    void Store(uint32_t stamp) { Store(&stamp, sizeof(stamp)); }
    std::optional<uint32_t> Stored() {
        DWORD stamp = 0, size = sizeof(stamp);
        if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), update::kCheckStampValue, RRF_RT_REG_DWORD, nullptr,
                         &stamp, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return stamp;
    }
    uint32_t Now() { return static_cast<uint32_t>(update::SecondsSince1970()); }
    bool Take() { return update::TakeDailyCheck(HKEY_CURRENT_USER, key_.c_str()); }

    const std::wstring key_ = L"Software\\MivoraTest\\Stamp" + std::to_wstring(GetCurrentProcessId());
};

TEST_F(CheckStamp, WithoutAStampACheckIsDueAndTheStampIsMade) {
    const uint32_t before = Now();
    EXPECT_TRUE(Take());
    ASSERT_TRUE(Stored().has_value());
    EXPECT_GE(*Stored(), before);
    EXPECT_LE(*Stored(), Now());
    EXPECT_FALSE(Take()) << "the second check of the day";
}

TEST_F(CheckStamp, WithinADayNothingIsDueAndTheStampStays) {
    const uint32_t recent = Now() - 86000;
    Store(recent);
    EXPECT_FALSE(Take());
    EXPECT_EQ(Stored(), recent);
}

TEST_F(CheckStamp, AfterADayOrWithTheClockGoneBackACheckIsDue) {
    Store(Now() - 90000);
    EXPECT_TRUE(Take());
    EXPECT_LE(Now() - *Stored(), 5u);
    Store(Now() + 3600);
    EXPECT_TRUE(Take()) << "a stamp in the future";
    EXPECT_LE(*Stored(), Now());
}

TEST_F(CheckStamp, AStampOfAnotherKindCountsAsNone) {
    Store(L"1700000000", 22, REG_SZ);
    EXPECT_TRUE(Take());
    EXPECT_TRUE(Stored().has_value()) << "written again as a number";
    const uint16_t shortStamp = 1;
    Store(&shortStamp, sizeof(shortStamp), REG_BINARY);
    EXPECT_TRUE(Take());
}

TEST(CheckStampClock, SecondsSince1970AreTheCrtsTime) {
    const int64_t ours = update::SecondsSince1970();
    const int64_t crt = static_cast<int64_t>(_time64(nullptr));
    EXPECT_LE(std::abs(ours - crt), 2);
}

}  // namespace
