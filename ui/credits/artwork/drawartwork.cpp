// Writes the credits artwork as a GIF file: drawartwork OUTPUT.gif
#include "artworkgif.h"

#include <cstdio>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.gif\n", argv[0]);
        return 2;
    }
    using namespace Credits::Artwork;
    const auto gif = encodeGif(palette(), drawIndices(), kWidth, kHeight);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char *>(gif.data()), std::streamsize(gif.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
