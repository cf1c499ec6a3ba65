#include "ui/credits/artwork/artworkgif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace Credits::Artwork;

namespace {

std::vector<std::uint8_t> committedArtwork()
{
    std::ifstream in(QUORVEX_ARTWORK_GIF, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int word(const std::vector<std::uint8_t> &b, std::size_t at) { return b[at] | b[at + 1] << 8; }

} // namespace

TEST(Artwork, CommittedFileIsWhatTheDrawingProgramWrites)
{
    const auto committed = committedArtwork();
    ASSERT_FALSE(committed.empty()) << QUORVEX_ARTWORK_GIF;
    EXPECT_TRUE(committed == encodeGif(palette(), drawIndices(), kWidth, kHeight));
}

TEST(Artwork, OneFrameGif89aWith256ColourTableAndNoTransparency)
{
    const auto gif = committedArtwork();
    ASSERT_GT(gif.size(), 13u + 768u + 10u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(word(gif, 6), 294);
    EXPECT_EQ(word(gif, 8), 197);
    EXPECT_EQ(gif[10] & 0x80, 0x80) << "global colour table present";
    EXPECT_EQ(1 << ((gif[10] & 0x07) + 1), 256);

    // Walk the blocks after the colour table: exactly one image, no graphic
    // control extension (the only place transparency could be set).
    std::size_t at = 13 + 3 * 256;
    int images = 0, controlExtensions = 0;
    while (at < gif.size() && gif[at] != 0x3B) {
        if (gif[at] == 0x21) {
            controlExtensions += gif[at + 1] == 0xF9;
            at += 2;
        } else {
            ASSERT_EQ(gif[at], 0x2C) << "at " << at;
            ++images;
            EXPECT_EQ(word(gif, at + 5), 294);
            EXPECT_EQ(word(gif, at + 7), 197);
            EXPECT_EQ(gif[at + 9] & 0x80, 0) << "no local colour table";
            at += 10 + 1;  // descriptor, LZW code size
        }
        while (gif.at(at) != 0)
            at += gif[at] + 1u;
        ++at;
    }
    ASSERT_LT(at, gif.size());
    EXPECT_EQ(at, gif.size() - 1) << "trailer ends the file";
    EXPECT_EQ(images, 1);
    EXPECT_EQ(controlExtensions, 0);
}

TEST(Artwork, UsesMostOfThePalette)
{
    const auto indices = drawIndices();
    ASSERT_EQ(indices.size(), std::size_t(kWidth) * kHeight);
    bool used[256] = {};
    for (auto i : indices)
        used[i] = true;
    EXPECT_GT(std::count(std::begin(used), std::end(used), true), 128);
}

TEST(LzwCompress, CodeWidthsGrowAndTheTableRestarts)
{
    // A decoder kept apart from the encoder: GIF's variable-width LZW read back.
    auto decode = [](const std::vector<std::uint8_t> &data) {
        std::vector<std::vector<std::uint8_t>> table;
        auto reset = [&] {
            table.assign(258, {});
            for (int i = 0; i < 256; ++i)
                table[i] = {std::uint8_t(i)};
        };
        reset();
        std::vector<std::uint8_t> out;
        std::size_t bit = 0;
        int size = 9, previous = -1;
        for (;;) {
            int code = 0;
            for (int i = 0; i < size; ++i, ++bit)
                code |= ((data.at(bit / 8) >> (bit % 8)) & 1) << i;
            if (code == 256) { reset(); size = 9; previous = -1; continue; }
            if (code == 257) break;
            std::vector<std::uint8_t> entry;
            if (code < int(table.size()))
                entry = table[code];
            else {
                entry = table.at(previous);
                entry.push_back(table[previous][0]);
            }
            out.insert(out.end(), entry.begin(), entry.end());
            if (previous >= 0 && table.size() < 4096) {
                auto grown = table[previous];
                grown.push_back(entry[0]);
                table.push_back(grown);
            }
            previous = code;
            if (int(table.size()) == (1 << size) && size < 12)
                ++size;
        }
        return out;
    };
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {}, {7}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        [] { std::vector<std::uint8_t> v(70000); for (std::size_t i = 0; i < v.size(); ++i) v[i] = std::uint8_t((i * 7919) >> 3); return v; }(),
        drawIndices(),
    };
    for (const auto &in : inputs)
        EXPECT_TRUE(decode(lzwCompress(in)) == in) << in.size() << " indices";
}
