#include "ui/credits/creditstext.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace Credits;

TEST(CreditsText, TenScreenNamesIn141Characters)
{
    EXPECT_EQ(kScreenNamesCaption.size(), 141u);
    std::set<std::string> names;
    std::string_view rest = kScreenNamesCaption;
    for (;;) {
        const auto comma = rest.find(", ");
        const std::string_view name = rest.substr(0, comma);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_of(", "), std::string_view::npos) << name;
        names.emplace(name);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 2);
    }
    EXPECT_EQ(names.size(), 10u);
}

TEST(CreditsText, HeadingAndCreators)
{
    EXPECT_EQ(kHeadingCaption, "Shout Outs");
    EXPECT_EQ(kCreatorsCaption, "     CREATER- MOSSGRAVE      CO-CREATER- tANGLEfERN");
}
