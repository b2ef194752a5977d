// Unscrambling of password-protected tables, checked against bytes Paradox wrote.

#include "corpus.h"

#include "data/paradox/scramble.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace quorvex::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kCorpusKey = 0x0A25E09A;  // the key in encrypt/encrypted.db

TEST(Scrambling, UnscramblesTheFirstBlockOfAProtectedCorpusTable) {
    QUORVEX_REQUIRE_CORPUS();
    const Bytes file = ReadBytes(CorpusFile("encrypt/encrypted.db"));
    ASSERT_GE(file.size(), 4096u);
    Bytes block(file.begin() + 2048, file.begin() + 4096);
    EXPECT_EQ(block[0], 0x48) << "block 1 is stored scrambled";
    paradox::UnscrambleTableBlock(block, paradox::ScrambleKeyFrom(kCorpusKey), 1);
    const Bytes expected = {0x00, 0x00, 0x00, 0x00, 0x66, 0x00, 0x80, 0x00, 0x00,
                            0x01, 'V',  'a',  'l',  'u',  'e',  ' ',  '1'};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), block.begin()));
}

TEST(Scrambling, MemoFileChunksUseTheKeyNotTheirPosition) {
    // Paradox's scrambled .MB for the same key starts 3D 99 55 9A B0 6F: its header block, whose
    // plain form always begins with these bytes and is otherwise zero.
    Bytes header(4096, 0);
    const std::uint8_t start[] = {0x00, 0x01, 0x00, 0x01, 0x00, 0x82, 0x73, 0x02,
                                  0x00, 0x29, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00};
    std::memcpy(header.data(), start, sizeof start);
    const Bytes plain = header;
    paradox::ScrambleBlobChunks(header, paradox::ScrambleKeyFrom(kCorpusKey));
    const Bytes expected = {0x3D, 0x99, 0x55, 0x9A, 0xB0, 0x6F};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), header.begin()));
    // Every chunk of the zero tail scrambles alike, whatever its position.
    EXPECT_TRUE(std::equal(header.begin() + 256, header.begin() + 512, header.begin() + 512));
    paradox::UnscrambleBlobChunks(header, paradox::ScrambleKeyFrom(kCorpusKey));
    EXPECT_EQ(header, plain);
}

TEST(Scrambling, ScrambleAndUnscrambleAreInverseForEveryBlockAndKey) {
    Bytes plain(4096);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    for (const std::uint32_t key : {0x00000001u, 0x0A25E09Au, 0xFFFFFFFFu, 0x1234ABCDu}) {
        for (const std::uint32_t block : {1u, 2u, 255u, 256u, 65535u}) {
            Bytes bytes = plain;
            paradox::ScrambleTableBlock(bytes, paradox::ScrambleKeyFrom(key), block);
            EXPECT_NE(bytes, plain);
            paradox::UnscrambleTableBlock(bytes, paradox::ScrambleKeyFrom(key), block);
            EXPECT_EQ(bytes, plain) << key << " block " << block;
        }
    }
}

TEST(Scrambling, TheBlockNumberChangesTheResult) {
    Bytes one(1024, 0x55);
    Bytes two = one;
    paradox::ScrambleTableBlock(one, paradox::ScrambleKeyFrom(kCorpusKey), 1);
    paradox::ScrambleTableBlock(two, paradox::ScrambleKeyFrom(kCorpusKey), 2);
    EXPECT_NE(one, two);
}

}  // namespace
}  // namespace quorvex::test
