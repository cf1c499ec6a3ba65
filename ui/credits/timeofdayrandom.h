#pragma once

#include <cstdint>
#include <random>

namespace Credits {

// The window's pseudo-random generator: numbers uniformly distributed in [0, 1).
class TimeOfDayRandom
{
public:
    explicit TimeOfDayRandom(std::uint64_t seed = 0) : m_engine(seed) {}

    // Seeds from the local time of day, in seconds since midnight.
    void seedFromTimeOfDay();
    void seed(std::uint64_t value) { m_engine.seed(value); }

    // 53 random bits over 2^53: never 1, whatever the engine gives.
    double operator()() { return double(m_engine() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 m_engine;
};

// Seconds since local midnight, now.
std::uint64_t secondsSinceMidnight();

} // namespace Credits
