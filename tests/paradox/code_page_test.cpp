// Text in the code pages Paradox tables name, decoded to UTF-8.

#include "corpus.h"

#include "data/paradox/code_page.h"
#include "data/paradox/table.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Decode(std::optional<int> number, const std::string& sortOrder, const Bytes& bytes) {
    const auto codePage = paradox::CodePageFor(number, sortOrder);
    if (!codePage) {
        ADD_FAILURE() << "no code page";
        return {};
    }
    return paradox::TextDecoder(*codePage).decode(bytes);
}

TEST(CodePages, HeadersWithoutANumberReadAsDosUs) {
    const auto codePage = paradox::CodePageFor(std::nullopt, "");
    ASSERT_TRUE(codePage);
    EXPECT_EQ(codePage->number, 437);
    EXPECT_EQ(Decode(std::nullopt, "", {0x82, 0xC9, 'A'}), "é╔A");
}

TEST(CodePages, DistinguishesSimilarDosPages) {
    // 0xD8 is "Ï" in 850 and "ě" in 852: reading one as the other corrupts names.
    EXPECT_EQ(Decode(850, "ascii", {0xD8}), "Ï");
    EXPECT_EQ(Decode(852, "ascii", {0xD8}), "ě");
    EXPECT_EQ(Decode(866, "ascii", {0x8F, 0xE0, 0xA8}), "При");
    EXPECT_EQ(Decode(1251, "", {0xCF, 0xF0, 0xE8}), "При");
    EXPECT_EQ(Decode(1252, "", {0x80, 0xE9}), "€é");
}

TEST(CodePages, ZeroWithTheRoman8SortOrderIsHpRoman8) {
    EXPECT_EQ(Decode(0, "BLROM800", {0xEB, 0xF8, 0xBE, 0xF4}), "Š½ƒ¶");
    EXPECT_FALSE(paradox::CodePageFor(0, "ascii").has_value());
    EXPECT_FALSE(paradox::CodePageFor(12345, "ascii").has_value());
}

TEST(CodePages, BytesWithoutAMappingBecomeOneReplacementEach) {
    // 0x81 has no character in code page 1252.
    EXPECT_EQ(Decode(1252, "", {'a', 0x81, 'b'}),
              "a\xEF\xBF\xBD"
              "b");
    // GBK: a lead byte at the end and an invalid pair.
    EXPECT_EQ(Decode(936, "china", {0xD6, 0xD0, 'x', 0xD6}), "中x\xEF\xBF\xBD");
    EXPECT_EQ(Decode(936, "china", {0xFF, 'y'}), "\xEF\xBF\xBDy");
}

TEST(CodePages, NulAndControlBytesSurvive) {
    const std::string text = Decode(850, "ascii", {'a', 0x00, 0x07, 'b'});
    EXPECT_EQ(text, std::string("a\0\x07"
                                "b",
                                4));
}

TEST(CodePages, TheHeadersCodePageCanBeOverridden) {
    QUORVEX_REQUIRE_CORPUS();
    // db/ROMAN8.db names no number; read as 1252 its bytes give other letters.
    paradox::OpenOptions options;
    options.codePage = 1252;
    paradox::Table table = paradox::Table::Open(CorpusFile("db/ROMAN8.db"), options);
    EXPECT_EQ(table.codePage().number, 1252);
    ASSERT_TRUE(table.next());
    EXPECT_EQ(table.value(0).text(), "ëø¾ô");
}

TEST(CodePages, AnUnknownNumberIsReadAs437WithAWarning) {
    paradox::OpenOptions options;
    options.codePage = 4242;
    QUORVEX_REQUIRE_CORPUS();
    paradox::Table table = paradox::Table::Open(CorpusFile("fields/long.db"), options);
    EXPECT_EQ(table.codePage().number, 437);
    ASSERT_EQ(table.warnings().size(), 1u);
    EXPECT_NE(table.warnings()[0].find("4242"), std::string::npos);
}

}  // namespace
}  // namespace quorvex::test
