#include "winsys/LocalTime.h"

#include <chrono>
#include <ctime>

#include "winsys/model/WindowStore.h"

namespace win {

namespace {

SYSTEMTIME machineLocalTime() {
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const std::time_t wholeSeconds = system_clock::to_time_t(floor<seconds>(now));
    std::tm local{};
    localtime_r(&wholeSeconds, &local);
    const milliseconds fraction = floor<milliseconds>(now.time_since_epoch()) % 1000;
    SYSTEMTIME time;
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    time.wMilliseconds = static_cast<WORD>(fraction.count());
    return time;
}

} // namespace

void GetLocalTime(SYSTEMTIME& time) {
    const std::optional<SYSTEMTIME>& fixed = model::store().localTime;
    time = fixed ? *fixed : machineLocalTime();
}

} // namespace win
