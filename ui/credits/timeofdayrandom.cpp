#include "timeofdayrandom.h"

#include <ctime>

namespace Credits {

std::uint64_t secondsSinceMidnight()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return std::uint64_t(local.tm_hour) * 3600 + std::uint64_t(local.tm_min) * 60 + std::uint64_t(local.tm_sec);
}

void TimeOfDayRandom::seedFromTimeOfDay()
{
    m_engine.seed(secondsSinceMidnight());
}

} // namespace Credits
