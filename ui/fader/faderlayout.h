#pragma once

#include <QRect>

// Where the fader window and its controls stand, in twips from the top-left
// corner of the client area, and where the window goes when it loads.
namespace FaderLayout {

struct ControlPlace
{
    const char *name;
    int left, top, width, height;
    int tabIndex; // place in the focus order; labels take no focus whatever it is
};

inline constexpr ControlPlace kControls[] = {
    {"red1", 0, 120, 1215, 255, 5},      {"green1", 0, 360, 1215, 255, 4},
    {"blue1", 0, 600, 1215, 255, 3},     {"red2", 0, 960, 1215, 255, 8},
    {"green2", 0, 1200, 1215, 255, 10},  {"blue2", 0, 1440, 1215, 255, 9},
    {"red3", 0, 1800, 1215, 255, 13},    {"green3", 0, 2040, 1215, 255, 12},
    {"blue3", 0, 2280, 1215, 255, 11},   {"color1", 1320, 120, 1095, 735, 16},
    {"color2", 1320, 960, 1095, 735, 17}, {"Color3", 1320, 1800, 1095, 735, 18},
    {"Command1", 2520, 120, 1455, 495, 7}, {"Command5", 4080, 120, 1455, 495, 14},
    {"Command3", 5640, 120, 1575, 495, 0}, {"Text1", 2520, 720, 4695, 285, 6},
    {"Text2", 2520, 1080, 4695, 855, 2}, {"Label1", 2520, 1920, 855, 255, 15},
    {"Picture1", 2520, 2160, 4695, 375, 1},
};

inline constexpr int kClientWidthTwips = 7290;
inline constexpr int kClientHeightTwips = 2685;

// Form_Load: topmost, frame at screen pixel (100, 100). On Windows the first
// SetWindowPos also sizes the frame to 465 x 280 pixels, until the outer size
// of 7410 x 3090 twips replaces it.
inline constexpr int kScreenLeft = 100;
inline constexpr int kScreenTop = 100;
inline constexpr int kSetWindowPosWidth = 465;
inline constexpr int kSetWindowPosHeight = 280;
inline constexpr int kOuterWidthTwips = 7410;
inline constexpr int kOuterHeightTwips = 3090;

const ControlPlace *place(const char *name);

} // namespace FaderLayout
