#pragma once
// The arithmetic of one part of a fade, shared by the three-colour fade and the
// fade through more stops, so that both give the same colours to the bit.
#include "fadeerror.h"

#include <cstddef>
#include <cstdint>

namespace VarloFade {

struct Channels
{
    std::int16_t red, green, blue;
};

// A colour's channels as read back from its hex text: red the last two
// digits, green the third and fourth, blue the first two. A system colour
// reference (eight digits) is read the same way: 0x80000007 gives 07 00 80.
Channels ChannelsOf(ColorValue color);

// Nearest integer, an exact half to the even neighbour: adding 1.5 * 2^23
// leaves no fraction bits, so the sum is rounded by the FPU's own
// round-to-nearest-even. Exact for |v| < 2^22.
inline int RoundHalfEven(float v)
{
    constexpr float kShift = 12582912.0f;
    return static_cast<int>((v + kShift) - kShift);
}

// Characters 1 to m of a part faded from start to end. Every stored value is a
// 32-bit float: the step, the product and the sum.
class ChannelRamp
{
public:
    ChannelRamp(Channels start, Channels end, std::size_t m)
        : m_stepR(static_cast<float>(static_cast<std::int16_t>(end.red - start.red)) / static_cast<float>(m)),
          m_stepG(static_cast<float>(static_cast<std::int16_t>(end.green - start.green)) / static_cast<float>(m)),
          m_stepB(static_cast<float>(static_cast<std::int16_t>(end.blue - start.blue)) / static_cast<float>(m)),
          m_startR(start.red), m_startG(start.green), m_startB(start.blue)
    {
    }

    struct Rgb
    {
        int red, green, blue;
    };
    Rgb at(std::size_t i) const
    {
        const float fi = static_cast<float>(i);
        const float pR = fi * m_stepR, pG = fi * m_stepG, pB = fi * m_stepB;
        const float vR = pR + m_startR, vG = pG + m_startG, vB = pB + m_startB;
        return {RoundHalfEven(vR), RoundHalfEven(vG), RoundHalfEven(vB)};
    }

private:
    float m_stepR, m_stepG, m_stepB;
    float m_startR, m_startG, m_startB;
};

} // namespace VarloFade
