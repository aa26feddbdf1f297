#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

namespace test_support {

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("mivora-test-" + std::to_string(Stamp()) + "-" + std::to_string(counter++));
            std::error_code error;
            if (std::filesystem::create_directories(path_, error)) break;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    static long long Stamp() {
        return static_cast<long long>(std::filesystem::file_time_type::clock::now().time_since_epoch().count());
    }
    std::filesystem::path path_;
};

}  // namespace test_support
