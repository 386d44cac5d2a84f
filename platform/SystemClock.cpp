#include "platform/SystemClock.h"

#include <chrono>
#include <ctime>

#include "base/GermanFormat.h"

namespace zf {

double SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return dateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

uint32_t SystemClock::ticks() const {
    return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

} // namespace zf
