// Which files belong to a Paradox table, found in a real folder.

#include "manage/table_files.h"
#include "manage_support.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(ParadoxCompanionExtension, KnowsIndexMemoCheckAndSettingsFilesInAnyCase) {
    for (const char* extension : {"PX", "px", "MB", "mb", "VAL", "Val", "TV", "FAM", "X01", "x0a",
                                  "XFF", "Y06", "y1F", "XG0", "xgf", "YG0", "YG9"}) {
        EXPECT_TRUE(IsParadoxCompanionExtension(QString::fromLatin1(extension))) << extension;
    }
    for (const char* extension : {"DB", "db", "", "X", "X1", "X001", "XG", "XG10", "XGG", "XZZ",
                                  "TXT", "PXX", "MB2", "VALX", "F", "SET", "QBE"}) {
        EXPECT_FALSE(IsParadoxCompanionExtension(QString::fromLatin1(extension))) << extension;
    }
}

TEST(CompanionFileNames, FindsTheTablesOtherFilesIgnoringCaseAndNothingElse) {
    TableFolder folder;
    for (const char* name :
         {"CUSTOMER.DB", "CUSTOMER.MB", "customer.px", "Customer.X06", "CUSTOMER.Y06",
          "CUSTOMER.XG0", "CUSTOMER.YG0", "CUSTOMER.VAL", "CUSTOMER.TV", "CUSTOMER.FAM",
          "CUSTOMER.TXT", "CUSTOMERS.PX", "CUST.MB", "CUSTOMER", "OTHER.PX"}) {
        folder.Write(QString::fromLatin1(name));
    }
    folder.Subfolder(QStringLiteral("CUSTOMER.X07"));  // a folder is no companion file
    folder.Write(QStringLiteral("sub/CUSTOMER.PX"));   // nor is a file in a subfolder

    EXPECT_EQ(
        CompanionFileNames(folder.Path(), QStringLiteral("CUSTOMER")),
        (QStringList{"CUSTOMER.FAM", "CUSTOMER.MB", "CUSTOMER.TV", "CUSTOMER.VAL", "CUSTOMER.XG0",
                     "CUSTOMER.Y06", "CUSTOMER.YG0", "Customer.X06", "customer.px"}));
    EXPECT_EQ(CompanionFileNames(folder.Path(), QStringLiteral("other")), QStringList{"OTHER.PX"});
    EXPECT_TRUE(CompanionFileNames(folder.Path(), QStringLiteral("NONE")).isEmpty());
}

TEST(CompanionFileNames, FindsTheFolderIgnoringCaseAndToleratesAMissingOne) {
    TableFolder folder;
    folder.Write(QStringLiteral("Paradox/a.b.px"));
    EXPECT_EQ(CompanionFileNames(folder.PathOf(QStringLiteral("PARADOX")), QStringLiteral("A.B")),
              QStringList{"a.b.px"});
    EXPECT_TRUE(CompanionFileNames(folder.PathOf(QStringLiteral("missing")), QStringLiteral("A"))
                    .isEmpty());
}

}  // namespace
}  // namespace quorvex::test
