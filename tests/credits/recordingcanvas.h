#pragma once

#include "ui/credits/strippainter.h"

#include <cstdint>
#include <vector>

// Remembers every drawing call of the strip painter, in order.
class RecordingCanvas : public Credits::StripCanvas
{
public:
    struct Call
    {
        enum Kind { Paint, Fill } kind;
        float a[8];
        std::int32_t color;
    };

    double width = 4455, height = 3015, sourceHeight = 3015;
    std::vector<Call> calls;

    double mainScaleWidth() const override { return width; }
    double mainScaleHeight() const override { return height; }
    double originalScaleHeight() const override { return sourceHeight; }
    void paintOriginal(float x, float y, float w, float h, float sx, float sy, float sw, float sh) override
    {
        calls.push_back({Call::Paint, {x, y, w, h, sx, sy, sw, sh}, 0});
    }
    void fillMain(float x1, float y1, float x2, float y2, std::int32_t color) override
    {
        calls.push_back({Call::Fill, {x1, y1, x2, y2, 0, 0, 0, 0}, color});
    }

    std::vector<Call> paints() const { return only(Call::Paint); }
    std::vector<Call> fills() const { return only(Call::Fill); }

private:
    std::vector<Call> only(Call::Kind kind) const
    {
        std::vector<Call> out;
        for (const Call &c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }
};

// Hands out the given numbers in turn, over and over; counts how many were taken.
class ScriptedRandom
{
public:
    explicit ScriptedRandom(std::vector<double> values) : m_values(std::move(values)) {}
    double operator()() { return m_values[m_taken++ % m_values.size()]; }
    std::size_t taken() const { return m_taken; }

private:
    std::vector<double> m_values;
    std::size_t m_taken = 0;
};
