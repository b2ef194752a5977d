// The pxdump tool, run as a user would run it, on every corpus table and on tables it must
// refuse.

#include "corpus.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

struct PxdumpRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString PxdumpPath() { return QStringLiteral(QUORVEX_BIN_DIR "/pxdump"); }

PxdumpRun RunPxdump(const QStringList& arguments) {
    QProcess process;
    process.start(PxdumpPath(), arguments);
    PxdumpRun run;
    if (!process.waitForStarted() || !process.waitForFinished(-1)) {
        ADD_FAILURE() << "pxdump could not be run from " << PxdumpPath().toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(Pxdump, PrintsEveryCorpusTableExactlyAsExpected) {
    QUORVEX_REQUIRE_CORPUS();
    for (const CorpusTable& corpus : CorpusTables()) {
        SCOPED_TRACE(corpus.label);
        const PxdumpRun run = RunPxdump({corpus.table});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
        QJsonParseError error{};
        const QJsonDocument dump = QJsonDocument::fromJson(run.out, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_EQ(dump.object(), LoadJson(corpus.expected));
        // Same layout as the expected files too, so a dump can be compared with diff.
        QFile expected(corpus.expected);
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
        EXPECT_TRUE(run.out == expected.readAll()) << "the text differs from the expected file";
    }
}

TEST(Pxdump, RefusesFilesThatAreNotTablesWithAnErrorAndNoOutput) {
    QUORVEX_REQUIRE_CORPUS();
    QTemporaryDir folder;
    QFile empty(folder.filePath("empty.db"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const struct {
        QString path;
        const char* says;
    } refused[] = {
        {CorpusDir() + "/db/AREACODE.PX", "primary index file"},
        {CorpusDir() + "/db/AREACODES.XG0", "secondary index file"},
        {CorpusDir() + "/db/CUSTOMER.MB", "version byte"},
        {CorpusDir() + "/db/AREACODE.VAL", "file type byte"},
        {folder.filePath("empty.db"), "the file is empty"},
        {folder.filePath("missing.db"), "cannot be opened"},
        {folder.path(), "folder, not a file"},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.path.toStdString());
        const PxdumpRun run = RunPxdump({file.path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(file.path.toUtf8())) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(file.says)) << run.err.toStdString();
    }
}

TEST(Pxdump, ShowsUsageWithoutAFile) {
    const PxdumpRun run = RunPxdump({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("usage: pxdump FILE"));
}

}  // namespace
}  // namespace quorvex::test
