#pragma once
// The end of a wait, fixed when the wait begins: messages that do not settle what is awaited do
// not stretch it.
#include <chrono>
#include <cstdint>

namespace adb::client {

class Deadline {
public:
    static Deadline In(uint32_t limitMs) {
        return Deadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs), limitMs);
    }

    uint32_t MillisecondsLeft() const {
        const auto left = at_ - std::chrono::steady_clock::now();
        const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
        return milliseconds > 0 ? static_cast<uint32_t>(milliseconds) : 0;
    }
    // The limit the wait was given, for saying how long was waited.
    uint32_t LimitMs() const { return limitMs_; }

private:
    Deadline(std::chrono::steady_clock::time_point at, uint32_t limitMs) : at_(at), limitMs_(limitMs) {}

    std::chrono::steady_clock::time_point at_;
    uint32_t limitMs_;
};

}  // namespace adb::client
