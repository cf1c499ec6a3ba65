#pragma once

#include <string_view>

// The captions of the three text panels.
namespace Credits {

inline constexpr std::string_view kHeadingCaption = "Shout Outs";

inline constexpr std::string_view kScreenNamesCaption =
    "LiLPiXiEdUsT82, xXFrOsTbYtEXx, SkaterGrl4Ever, DiAlUpDrEaMs, MoOnLiTeMiX, "
    "BuddyListBandit, gLiTtErPeN99, AwayMsgPoet, NeOnSnAiL77, TeHcHaTkAt";

inline constexpr std::string_view kCreatorsCaption = "     CREATER- MOSSGRAVE      CO-CREATER- tANGLEfERN";

} // namespace Credits
