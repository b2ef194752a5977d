#include "data/access/connection.h"
#include "data/core/connection_strings.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_session.h"
#include "support/deadline.h"
#include "support/failure_of.h"
#include "support/silent_server.h"
#include "support/test_server.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

namespace quorvex::test {
namespace {

class ConnectionOnServer : public ::testing::Test {
  protected:
    void SetUp() override { DropAllTables(); }
};

TEST_F(ConnectionOnServer, OpensWithTheProgramsOwnConnectionString) {
    Connection connection;
    EXPECT_FALSE(connection.IsOpen());
    connection.Open(TestServerConnectionString());
    EXPECT_TRUE(connection.IsOpen());
    connection.Close();
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionOnServer, AWrongPasswordFailsWithTheServersOwnMessage) {
    FixedFields login = TestServerLogin();
    login.password = QStringLiteral("wrong");
    Connection connection;
    const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
    EXPECT_TRUE(
        message.contains(QStringLiteral("password authentication failed for user \"scott\"")))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("QODBC")))
        << "Qt's wrapper text, not the driver's";
    EXPECT_FALSE(message.endsWith(u'\n'));
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionOnServer, AnUnreachableServerFailsWithTheDriversMessage) {
    QTemporaryDir nowhere(QStringLiteral("/tmp/qvx-none-XXXXXX"));
    ASSERT_TRUE(nowhere.isValid());
    FixedFields login = TestServerLogin();
    login.sid = nowhere.path();
    Connection connection;
    const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
    EXPECT_TRUE(message.contains(nowhere.path())) << message.toStdString();
    EXPECT_FALSE(connection.IsOpen());
}

// A server that takes the socket and never answers is given up on after the login time-out,
// by the program itself (the driver is asked to wait longer), with a report that says so;
// meanwhile the program's events go on running, and a second log-in of another thread is not
// held up by the first.
TEST_F(ConnectionOnServer, ASilentServerIsGivenUpOnAfterTheLoginTimeOut) {
    const Deadline deadline(std::chrono::seconds(kLoginTimeoutSeconds + 90));
    const SilentServer silent;
    FixedFields login = TestServerLogin();
    login.sid = silent.Sid();
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(100);
    std::atomic<bool> otherOpened = false;
    std::thread other([&otherOpened] {
        QThread::sleep(2);
        Connection connection;
        connection.Open(TestServerConnectionString());
        otherOpened = connection.IsOpen();
    });
    Connection connection;
    const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
    other.join();
    EXPECT_EQ(message, QStringLiteral("The server did not answer within %1 seconds; the log-in "
                                      "was given up.")
                           .arg(kLoginTimeoutSeconds));
    EXPECT_GT(ticks, 10) << "the events stood still while the login waited";
    EXPECT_FALSE(connection.IsOpen());
    EXPECT_TRUE(otherOpened);
}

TEST_F(ConnectionOnServer, OddLoginFieldsFailCleanly) {
    const QString longText(10000, u'x');
    const QList<FixedFields> logins = [&] {
        QList<FixedFields> list;
        FixedFields empty;
        list.append(empty);
        FixedFields semicolon = TestServerLogin();
        semicolon.password = QStringLiteral("ti;ger}");
        list.append(semicolon);
        FixedFields huge = TestServerLogin();
        huge.user = longText;
        huge.password = longText;
        list.append(huge);
        FixedFields nonAscii = TestServerLogin();
        nonAscii.password = QStringLiteral("t\u00efg\u00e9r \u6771");
        list.append(nonAscii);
        return list;
    }();
    for (const FixedFields& login : logins) {
        Connection connection;
        const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
        EXPECT_FALSE(message.isEmpty())
            << "connected with user of " << login.user.size() << " characters";
        EXPECT_FALSE(connection.IsOpen());
    }
}

TEST_F(ConnectionOnServer, AFieldHoldingDotDsnIsRefusedWithAClearMessage) {
    // Qt's ODBC layer would read such a string as a file data source name.
    FixedFields login = TestServerLogin();
    login.password = QStringLiteral("my.DSN");
    Connection connection;
    const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
    EXPECT_TRUE(message.contains(QStringLiteral("\".dsn\""))) << message.toStdString();
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionOnServer, AConnectionStringBeyondTheDriverManagersLimitIsRefusedNotCut) {
    FixedFields login = TestServerLogin();
    login.password = QString(40000, u'p');
    Connection connection;
    const QString message = FailureOf([&] { connection.Open(OracleConnectionString(login)); });
    EXPECT_TRUE(message.contains(QStringLiteral("too long"))) << message.toStdString();
}

TEST_F(ConnectionOnServer, OpeningTwiceIsRefusedAndKeepsTheFirstConnection) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    EXPECT_FALSE(FailureOf([&] { connection.Open(TestServerConnectionString()); }).isEmpty());
    EXPECT_TRUE(connection.IsOpen());
    connection.Execute(QStringLiteral("SELECT 1"));
}

TEST_F(ConnectionOnServer, ExecuteRunsTheStatementAsWritten) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    const StatementLog log;
    const QString create = QStringLiteral("CREATE TABLE \"Mixed Case\" (\"A\" VARCHAR(40))");
    const QString insert =
        QStringLiteral("INSERT INTO \"Mixed Case\" VALUES ('O''Brien \u00e4\u6771\U0001F600')");
    connection.Execute(create);
    connection.Execute(insert);
    EXPECT_EQ(log.Since(), (QStringList{create, insert}));
    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT \"A\" FROM \"Mixed Case\"")),
              (QList<QStringList>{{QStringLiteral("O'Brien \u00e4\u6771\U0001F600")}}));
}

TEST_F(ConnectionOnServer, ARefusedStatementFailsWithTheServersMessage) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    EXPECT_EQ(FailureOf([&] { connection.Execute(QStringLiteral("DROP TABLE \"NOPE\"")); }),
              QStringLiteral("ERROR: table \"NOPE\" does not exist;\n"
                             "Error while executing the query"));
    // The connection stays usable after a refusal.
    connection.Execute(QStringLiteral("CREATE TABLE \"AFTER\" (\"X\" INT)"));
    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT table_name FROM user_tables")).size(), 1);
}

// The server ending the session answers the statement in hand with its farewell (57P01 here),
// then the driver refuses every further one (08S01): both count as a lost connection; a refused
// statement does not.
TEST_F(ConnectionOnServer, AFailureSaysWhetherItLostTheConnection) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    const auto lost = [&](const QString& statement) {
        try {
            connection.Execute(statement);
        } catch (const Failure& failure) {
            return failure.connectionLost();
        }
        ADD_FAILURE() << statement.toStdString() << " did not fail";
        return false;
    };
    EXPECT_FALSE(lost(QStringLiteral("DROP TABLE \"NOPE\"")));
    EXPECT_TRUE(lost(QStringLiteral("SELECT pg_terminate_backend(pg_backend_pid())")));
    EXPECT_TRUE(lost(QStringLiteral("SELECT 1")));
}

TEST_F(ConnectionOnServer, AStatementThatFailsToParseReachesTheServerAndIsReported) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    const StatementLog log;
    const QString rename = QStringLiteral("RENAME \"A\" TO \"B\"");
    const QString message = FailureOf([&] { connection.Execute(rename); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("ERROR: syntax error at or near \"RENAME\"")))
        << message.toStdString();
    EXPECT_EQ(log.Since(), QStringList{rename});
}

TEST_F(ConnectionOnServer, BoundValuesArriveByteForByteAndARefusalReadsLikeAnyOther) {
    Connection connection;
    connection.Open(TestServerConnectionString());
    connection.Execute(QStringLiteral("CREATE TABLE \"LONG\"(\"B\" BLOB, \"T\" NVARCHAR2(2000))"));
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i) bytes.append(static_cast<char>(i % 256));
    const QString text = QString(1500, QChar(0x6771)) + QStringLiteral("'\\\n$1 \U0001F600");
    const QString insert = QStringLiteral("INSERT INTO \"LONG\" VALUES(?, ?)");
    const StatementLog log;
    connection.Execute(insert, {Value::Bytes(bytes), Value::Text(text)});

    const QList<LoggedStatement> logged = log.SinceWithBoundValues();
    ASSERT_EQ(logged.size(), 1);
    // Bytes go as long binary (no cast to bytea, which marks RAW), into the BLOB column.
    EXPECT_EQ(logged[0].text, QStringLiteral("INSERT INTO \"LONG\" VALUES($1, $2)"));
    EXPECT_EQ(logged[0].boundValues,
              (QStringList{QStringLiteral("\\x") + QString::fromLatin1(bytes.toHex()), text}));
    EXPECT_EQ(ServerQuery(QStringLiteral("SELECT encode(\"B\", 'hex'), \"T\"::text FROM \"LONG\"")),
              (QList<QStringList>{{QString::fromLatin1(bytes.toHex()), text}}));
    EXPECT_EQ(
        FailureOf([&] {
            connection.Execute(insert, {Value::Bytes(bytes), Value::Text(QString(2001, u'x'))});
        }),
        QStringLiteral("ERROR: input value too long for type nvarchar2(2000);\n"
                       "Error while executing the query"));
}

TEST_F(ConnectionOnServer, ExecuteOnAClosedConnectionFailsClearlyUntilItOpensAgain) {
    Connection never;
    EXPECT_EQ(FailureOf([&] { never.Execute(QStringLiteral("SELECT 1")); }),
              QStringLiteral("The connection is not open."));
    Connection closed;
    closed.Open(TestServerConnectionString());
    closed.Close();
    closed.Close();  // closing twice is harmless
    EXPECT_EQ(FailureOf([&] { closed.Execute(QStringLiteral("SELECT 1")); }),
              QStringLiteral("The connection is not open."));
    closed.Open(TestServerConnectionString());  // a closed connection opens again
    closed.Execute(QStringLiteral("SELECT 1"));
}

// Counts scott's sessions on the server other than the one asking, waiting for the server to
// notice sessions that just ended.
int OtherSessionsSettlingAt(int expected) {
    const QString count = QStringLiteral(
        "SELECT count(*) FROM pg_stat_activity WHERE usename = 'scott' "
        "AND pid <> pg_backend_pid()");
    int sessions = -1;
    for (int attempt = 0; attempt < 400; ++attempt) {
        sessions = ServerQuery(count).value(0).value(0).toInt();
        if (sessions == expected) break;
        ServerExecute(QStringLiteral("SELECT pg_sleep(0.025)"));
    }
    return sessions;
}

TEST_F(ConnectionOnServer, ClosingOrDroppingAConnectionEndsItsSessionOnTheServer) {
    ASSERT_EQ(OtherSessionsSettlingAt(0), 0);
    {
        Connection dropped;
        dropped.Open(TestServerConnectionString());
        Connection closed;
        closed.Open(TestServerConnectionString());
        EXPECT_EQ(OtherSessionsSettlingAt(2), 2);
        closed.Close();
        EXPECT_EQ(OtherSessionsSettlingAt(1), 1);
    }
    EXPECT_EQ(OtherSessionsSettlingAt(0), 0);
    for (int i = 0; i < 25; ++i) {
        Connection connection;
        connection.Open(TestServerConnectionString());
    }
    EXPECT_EQ(OtherSessionsSettlingAt(0), 0);
}

}  // namespace
}  // namespace quorvex::test
