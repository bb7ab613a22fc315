#include "platform/ui/clocks.h"

#include <chrono>
#include <ctime>

namespace ui {

text::DateTime SystemClock::Now() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    return text::DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                          tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

}  // namespace ui
