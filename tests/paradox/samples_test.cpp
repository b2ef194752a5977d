// The sample folder the build puts beside the program: every table in it reads whole, and it
// holds what a user trying the program should meet.

#include "sample_tables.h"

#include "data/paradox/table.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace quorvex::test {
namespace {

namespace fs = std::filesystem;
using paradox::Value;

std::vector<char> Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

class SampleFolder : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        folder_ = fs::path(temp_.path().toStdString()) / "Samples";
        samples::WriteSampleFolder(folder_);
    }

    QTemporaryDir temp_;
    fs::path folder_;
};

TEST_F(SampleFolder, HoldsTheTablesAUserExpects) {
    const std::map<std::string, std::uint64_t> rows = {
        {"CUSTOMER.DB", 250}, {"ORDERS.DB", 600},  {"ORDERS98.DB", 300},
        {"parts.db", 180},    {"SUPPLIER.DB", 40},
    };
    // Nothing a newcomer could not send: no subfolder, no hidden file, no "~" work file.
    std::map<std::string, std::uint64_t> found;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        const std::string name = entry.path().filename().string();
        ASSERT_TRUE(entry.is_regular_file()) << name;
        const std::string extension = entry.path().extension().string();
        if (extension == ".DB" || extension == ".db") {
            found.emplace(name, rows.count(name) ? rows.at(name) : 0);
        }
    }
    EXPECT_EQ(found, rows);
    for (const auto& [name, count] : rows) {
        SCOPED_TRACE(name);
        paradox::Table table = paradox::Table::Open((folder_ / name).string());
        EXPECT_EQ(table.rowCount(), count);
        std::vector<Value> row;
        std::uint64_t read = 0;
        while (table.next()) {
            table.readRow(row);
            ++read;
        }
        EXPECT_EQ(read, count);
        EXPECT_TRUE(table.warnings().empty());
    }
    EXPECT_TRUE(fs::exists(folder_ / "CUSTOMER.MB"));
    EXPECT_TRUE(fs::exists(folder_ / "parts.MB")) << "a lower-case table with an upper-case .MB";
}

TEST_F(SampleFolder, HasMemosPicturesNullsAndNamesBeyondAscii) {
    paradox::Table customers = paradox::Table::Open((folder_ / "CUSTOMER.DB").string());
    bool accented = false;
    bool nullPhone = false;
    bool longMemo = false;
    while (customers.next()) {
        const Value contact = customers.value(2);
        accented = accented || contact.text().find_first_of("\xC3\xC5") != std::string::npos;
        nullPhone = nullPhone || customers.value(6).isNull();
        const Value notes = customers.value(10);
        longMemo = longMemo || (!notes.isNull() && notes.text().size() > 50);
    }
    EXPECT_TRUE(accented);
    EXPECT_TRUE(nullPhone);
    EXPECT_TRUE(longMemo) << "memos longer than their leader live in CUSTOMER.MB";

    paradox::Table parts = paradox::Table::Open((folder_ / "parts.db").string());
    int pictures = 0;
    while (parts.next()) {
        const Value picture = parts.value(7);
        if (picture.isNull()) {
            continue;
        }
        ++pictures;
        const paradox::ByteVector& bmp = picture.bytes();
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        const std::uint32_t declared = bmp[2] | (bmp[3] << 8) | (bmp[4] << 16) | (bmp[5] << 24);
        EXPECT_EQ(declared, bmp.size()) << "the picture is stored whole, without Paradox's prefix";
    }
    EXPECT_EQ(pictures, 45);
}

TEST_F(SampleFolder, IsTheSameOnEveryBuild) {
    const fs::path again = fs::path(temp_.path().toStdString()) / "Again";
    samples::WriteSampleFolder(again);
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        if (entry.is_regular_file()) {
            const fs::path relative = fs::relative(entry.path(), folder_);
            EXPECT_EQ(Contents(entry.path()), Contents(again / relative)) << relative;
        }
    }
}

}  // namespace
}  // namespace quorvex::test
