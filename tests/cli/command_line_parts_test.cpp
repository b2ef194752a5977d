// The command line's own pieces without a process: what its options mean, and how its summary
// lines up on a terminal.

#include "cli/command_line_options.h"
#include "cli/text_table.h"
#include "cli/writable_path.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorvex {
namespace {

QString UsageError(const QStringList& arguments) { return ParseCommandLine(arguments).usageError; }

TEST(CommandLineOptions, WrongOptionsAreNamedAsTypedAndClashesRefused) {
    EXPECT_EQ(UsageError({"send", "--bogus=1"}), "Unknown option '--bogus'.");
    EXPECT_EQ(UsageError({"list", "-x"}), "Unknown option '-x'.");
    EXPECT_EQ(UsageError({"list", "--dry-run"}), "Unknown option '--dry-run'.");
    EXPECT_EQ(UsageError({"send", "--folder"}), "Missing value after '--folder'.");
    EXPECT_EQ(UsageError({"send", "--keep", "--resume"}),
              "--keep and --resume cannot be given together.");
    EXPECT_FALSE(UsageError({"send", "--dry-run", "--rejects", "r.jsonl"}).isEmpty());
    EXPECT_FALSE(UsageError({"send", "--report", "r", "--rejects", "r"}).isEmpty());
    EXPECT_FALSE(UsageError({"send", "sub/T"}).isEmpty());
    EXPECT_FALSE(UsageError({"--version", "send"}).isEmpty());
    EXPECT_FALSE(UsageError({"send", "--password=x"}).isEmpty());
    EXPECT_EQ(UsageError({"send", "--jobs", "2"}),
              "--jobs sends several tables at once in bulk: give --bulk with it.");
    EXPECT_FALSE(UsageError({"verify", "--jobs", "0"}).isEmpty());
    EXPECT_FALSE(UsageError({"send", "--bulk", "--jobs", "x"}).isEmpty());
    EXPECT_EQ(UsageError({"verify", "--overwrite"}), "Unknown option '--overwrite'.");
    EXPECT_FALSE(UsageError({"verify", "sub/T"}).isEmpty());
    EXPECT_FALSE(UsageError({"send", "--code-page", "12345"}).isEmpty());
    EXPECT_FALSE(UsageError({"verify", "--code-page", "x"}).isEmpty());
    EXPECT_EQ(UsageError({"list", "--code-page", "1251"}), "Unknown option '--code-page'.");

    // A value after an option is no option, and after "--" every word is a table name.
    const CommandLineOptions odd = ParseCommandLine({"send", "--folder", "-dir", "--", "-T"});
    EXPECT_TRUE(odd.usageError.isEmpty()) << odd.usageError.toStdString();
    EXPECT_EQ(odd.folder, "-dir");
    EXPECT_EQ(odd.tables, QStringList{"-T"});

    const CommandLineOptions resume = ParseCommandLine({"send", "--resume", "--dry-run"});
    EXPECT_EQ(resume.existing, CommandLineOptions::Existing::Resume);
    EXPECT_TRUE(resume.dryRun);
    EXPECT_EQ(ParseCommandLine({"--version"}).command, CommandLineOptions::Command::Version);
    EXPECT_TRUE(ParseCommandLine({"list", "--json"}).json);
    const CommandLineOptions bulk = ParseCommandLine({"send", "--bulk", "--jobs=4", "T"});
    EXPECT_TRUE(bulk.bulk);
    EXPECT_EQ(bulk.jobs, 4);
    const CommandLineOptions verify = ParseCommandLine({"verify", "--jobs", "3", "--report", "r"});
    EXPECT_EQ(verify.command, CommandLineOptions::Command::Verify);
    EXPECT_EQ(verify.jobs, 3);
    EXPECT_EQ(verify.reportFile, "r");
    EXPECT_EQ(ParseCommandLine({"send", "--code-page", "1251"}).codePage, 1251);
}

TEST(TextTable, WideCharactersTakeTwoColumnsAndMarksNone) {
    EXPECT_EQ(DisplayWidth(QString::fromUtf8("顧客")), 4);
    EXPECT_EQ(DisplayWidth(QString::fromUtf8("e\u0301")), 1);     // e and a combining acute
    EXPECT_EQ(DisplayWidth(QString::fromUtf8("\U00020000")), 2);  // a surrogate pair
    EXPECT_EQ(CutToWidth(QString::fromUtf8("a顧客"), 4), QString::fromUtf8("a顧"));

    EXPECT_EQ(TextTable({{"Table", "Rows", "Note"},
                         {QString::fromUtf8("顧客"), "12", ""},
                         {"ORDERS", "3", "(kept)"}}),
              QString::fromUtf8("Table   Rows  Note\n"
                                "顧客      12\n"
                                "ORDERS     3  (kept)\n"));
}

TEST(WritablePath, AFolderOrAMissingFolderIsRefusedBeforeAnythingIsWritten) {
    QTemporaryDir folder;
    EXPECT_TRUE(WhyNotWritable(folder.path()).contains("is a folder"));
    EXPECT_TRUE(WhyNotWritable(folder.filePath("none/r.json")).contains("does not exist"));
    EXPECT_EQ(WhyNotWritable(folder.filePath("r.json")), QString());
    EXPECT_FALSE(QFile::exists(folder.filePath("r.json")));
}

}  // namespace
}  // namespace quorvex
