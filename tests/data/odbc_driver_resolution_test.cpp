#include "data/oracle/odbc_driver_resolution.h"
#include "data/access/connection.h"
#include "data/core/failure.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace quorvex::test {
namespace {

const QString kProgramString =
    QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=tiger;");

TEST(OdbcDriverResolution, TheRegisteredOracleNameIsUsedAsItStands) {
    const QStringList installed = {QStringLiteral("Oracle in OraClient19"),
                                   QStringLiteral("Microsoft ODBC for Oracle")};
    EXPECT_EQ(ResolveOdbcConnectionString(kProgramString, installed), kProgramString);
}

TEST(OdbcDriverResolution, RegisteredNamesMatchIgnoringCaseAsTheDriverManagerFindsThem) {
    EXPECT_EQ(
        ResolveOdbcConnectionString(kProgramString, {QStringLiteral("MICROSOFT ODBC FOR ORACLE")}),
        kProgramString);
}

TEST(OdbcDriverResolution, WithoutTheNameTheInstalledOracleDriverTakesTheSidAsDbq) {
    const QStringList installed = {QStringLiteral("PostgreSQL Unicode"),
                                   QStringLiteral("Oracle 19 ODBC driver")};
    EXPECT_EQ(ResolveOdbcConnectionString(kProgramString, installed),
              QStringLiteral("Driver={Oracle 19 ODBC driver};DBQ=ORCL;Uid=scott;Pwd=tiger;"));
}

TEST(OdbcDriverResolution, TheFirstOfSeveralOracleDriversIsTaken) {
    const QStringList installed = {QStringLiteral("Oracle in instantclient_21_1"),
                                   QStringLiteral("Oracle 19 ODBC driver")};
    EXPECT_TRUE(ResolveOdbcConnectionString(kProgramString, installed)
                    .startsWith(QStringLiteral("Driver={Oracle in instantclient_21_1};DBQ=ORCL;")));
}

TEST(OdbcDriverResolution, WithNoOracleDriverTheStringGoesUnchanged) {
    EXPECT_EQ(ResolveOdbcConnectionString(kProgramString, {}), kProgramString);
    EXPECT_EQ(ResolveOdbcConnectionString(kProgramString, {QStringLiteral("PostgreSQL ANSI")}),
              kProgramString);
}

TEST(OdbcDriverResolution, OtherDriverNamesAreNeverRewritten) {
    const QStringList installed = {QStringLiteral("Oracle 19 ODBC driver")};
    const QString other = QStringLiteral("Driver={PostgreSQL Unicode};Server=/tmp;Uid=a;");
    EXPECT_EQ(ResolveOdbcConnectionString(other, installed), other);
    const QString paradox = QStringLiteral(
        "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;DefaultDir=/x;Dbq=/x;");
    EXPECT_EQ(ResolveOdbcConnectionString(paradox, installed), paradox);
}

TEST(OdbcDriverResolution, OnlyTheDriverAndTheFirstServerKeyChangeTheRestStaysByteForByte) {
    const QStringList installed = {QStringLiteral("Oracle 19 ODBC driver")};
    const QString odd = QStringLiteral(
        "Driver={Microsoft ODBC for Oracle};SERVER= a b ;Uid=x}y;Pwd=p;Server=second;");
    EXPECT_EQ(
        ResolveOdbcConnectionString(odd, installed),
        QStringLiteral("Driver={Oracle 19 ODBC driver};DBQ= a b ;Uid=x}y;Pwd=p;Server=second;"));
    const QString emptySid =
        QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=;Uid=;Pwd=;");
    EXPECT_EQ(ResolveOdbcConnectionString(emptySid, installed),
              QStringLiteral("Driver={Oracle 19 ODBC driver};DBQ=;Uid=;Pwd=;"));
}

TEST(OdbcDriverResolution, TheTestRunRegistersTheOracleNameWithUnixOdbc) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("ODBCSYSINI"))
        << "No driver registry: ODBCSYSINI is not set. Run the tests through scripts/run-tests.sh";
    EXPECT_TRUE(InstalledOdbcDrivers().contains(QStringLiteral("Microsoft ODBC for Oracle")));
}

TEST(OdbcDriverResolution, AnUnknownDriverFailsWithTheDriverManagersMessage) {
    Connection connection;
    try {
        connection.Open(QStringLiteral("Driver={No Such Driver 42};Server=x;Uid=a;Pwd=b;"));
        FAIL() << "an unknown driver connected";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(QStringLiteral("No Such Driver 42")))
            << failure.description().toStdString();
    }
    EXPECT_FALSE(connection.IsOpen());
}

// The driver manager reads its registry once per process, so a registry without the Oracle
// name is tried in a child process: this same program, running only the test below (main.cpp
// leaves it out of every run without this variable).
const char* const kChildVariable = "QUORVEX_RESOLUTION_CHILD";

TEST(OdbcDriverResolutionChild, ConnectsThroughTheInstalledOracleDriverUnderItsOwnName) {
    EXPECT_EQ(InstalledOdbcDrivers(), QStringList{QStringLiteral("Oracle 21 ODBC driver")});
    const QString sid = TestServerSid();
    const QString programString = TestServerConnectionString();
    EXPECT_EQ(ResolveOdbcConnectionString(programString, InstalledOdbcDrivers()),
              QStringLiteral("Driver={Oracle 21 ODBC driver};DBQ=") + sid +
                  QStringLiteral(";Uid=scott;Pwd=tiger;"));
    Connection connection;
    connection.Open(programString);
    EXPECT_TRUE(connection.IsOpen());
    connection.Execute(QStringLiteral("SELECT 1"));
}

QString RegisteredDriverPath() {
    QFile registry(
        QDir(qEnvironmentVariable("ODBCSYSINI")).filePath(QStringLiteral("odbcinst.ini")));
    if (!registry.open(QIODevice::ReadOnly)) return QString();
    const QRegularExpression driverLine(QStringLiteral(R"(^Driver\s*=\s*(.+)$)"),
                                        QRegularExpression::MultilineOption);
    return driverLine.match(QString::fromUtf8(registry.readAll())).captured(1).trimmed();
}

TEST(OdbcDriverResolution, AChildWithOnlyAnOracleNamedDriverConnectsThroughIt) {
    const QString sid = TestServerSid();
    const QString driverPath = RegisteredDriverPath();
    ASSERT_FALSE(driverPath.isEmpty()) << "the test run's odbcinst.ini names no driver";

    QTemporaryDir registryDir;
    ASSERT_TRUE(registryDir.isValid());
    QFile registry(registryDir.filePath(QStringLiteral("odbcinst.ini")));
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
    registry.write(QStringLiteral("[Oracle 21 ODBC driver]\nDriver=%1\n").arg(driverPath).toUtf8());
    registry.close();
    QFile(registryDir.filePath(QStringLiteral("odbc.ini"))).open(QIODevice::WriteOnly);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ODBCSYSINI"), registryDir.path());
    environment.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    // The stand-in server's driver does not read DBQ (the Oracle driver's keyword for the
    // service name); only in this child is the socket folder given to it out of band.
    environment.insert(QStringLiteral("PGHOST"), sid);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=OdbcDriverResolutionChild.*")});
    ASSERT_TRUE(child.waitForFinished(-1));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("SKIPPED"))) << output.toStdString();
}

}  // namespace
}  // namespace quorvex::test
