#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SingleInstance, OnlyTheFirstHolderGetsTheMutex) {
    const std::wstring name = L"Local\\MivoraTest" + std::to_wstring(GetCurrentProcessId());
    HANDLE first = app::AcquireSingleInstance(name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(app::AcquireSingleInstance(name.c_str()), nullptr);
    CloseHandle(first);
    HANDLE again = app::AcquireSingleInstance(name.c_str());
    EXPECT_NE(again, nullptr);
    CloseHandle(again);
}

}  // namespace
