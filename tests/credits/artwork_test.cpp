#include "ui/credits/artwork/artworkgif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace Credits::Artwork;

TEST(Artwork, CommittedFileIsWhatTheDrawingProgramWrites)
{
    std::ifstream in(QUORVEX_ARTWORK_GIF, std::ios::binary);
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(committed.empty()) << QUORVEX_ARTWORK_GIF;
    EXPECT_TRUE(committed == encodeGif(palette(), drawIndices(), kWidth, kHeight));
}
