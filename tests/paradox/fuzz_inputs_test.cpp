// The fuzz seeds and every input the fuzzer ever found a fault with, replayed through the same
// harness: each must now read without a crash or sanitizer report.

#include "read_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvex::test {
namespace {

std::vector<std::filesystem::path> InputsIn(const char* folder) {
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path dir =
        std::filesystem::path(QUORVEX_SOURCE_DIR) / "tools/fuzz" / folder;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.is_regular_file() && entry.path().extension() != ".md") {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<std::uint8_t> Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(FuzzInputs, SeedsAreReadableTablesWithRows) {
    const auto seeds = InputsIn("seeds");
    ASSERT_FALSE(seeds.empty());
    std::uint64_t rows = 0;
    for (const auto& seed : seeds) {
        const std::vector<std::uint8_t> bytes = Contents(seed);
        rows += fuzz::ReadWholeTable(fuzz::SplitFuzzInput(bytes.data(), bytes.size()));
    }
    EXPECT_GT(rows, 400u) << "the seeds should give the fuzzer real tables to start from";
}

TEST(FuzzInputs, SavedCrashInputsNoLongerCrash) {
    for (const auto& input : InputsIn("regressions")) {
        SCOPED_TRACE(input.filename().string());
        const std::vector<std::uint8_t> bytes = Contents(input);
        fuzz::ReadWholeTable(fuzz::SplitFuzzInput(bytes.data(), bytes.size()));
    }
}

TEST(FuzzInputs, TheInputFormatSplitsTableAndMemoFile) {
    const fuzz::TableFiles files{{1, 2, 3}, std::vector<std::uint8_t>{9, 8}};
    const std::vector<std::uint8_t> joined = fuzz::JoinFuzzInput(files);
    const fuzz::TableFiles back = fuzz::SplitFuzzInput(joined.data(), joined.size());
    EXPECT_EQ(back.table, files.table);
    EXPECT_EQ(back.blobs, files.blobs);
    const std::uint8_t oversized[] = {0xFF, 0xFF, 0xFF, 0xFF, 7};
    const fuzz::TableFiles clipped = fuzz::SplitFuzzInput(oversized, sizeof oversized);
    EXPECT_EQ(clipped.table, std::vector<std::uint8_t>{7});
    EXPECT_FALSE(clipped.blobs.has_value());
}

}  // namespace
}  // namespace quorvex::test
