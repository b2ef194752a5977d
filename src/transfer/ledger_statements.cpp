#include "transfer/ledger_statements.h"

#include "transfer/quoted_name.h"

#include <QStringList>

#include <algorithm>

namespace quorvex {

namespace {

// A range longer than any table the program sends.
constexpr std::int64_t kLongestRange = 100'000'000;

QString Quoted(const QString& name) { return QuotedTableName(name); }

QString NumberOrNull(const std::optional<std::int64_t>& number) {
    return number ? QString::number(*number) : QStringLiteral("NULL");
}

}  // namespace

QString CreateLedgerRunsStatement() {
    return QStringLiteral(
               "CREATE TABLE %1 (\"RUN_ID\" NUMERIC(19) PRIMARY KEY, \"HOST\" NVARCHAR2(255), "
               "\"PROCESS\" NUMERIC(19), \"STARTED\" TIMESTAMP(3), \"ENDED\" TIMESTAMP(3), "
               "\"EXIT_STATUS\" NUMERIC(5), \"OPTIONS\" NVARCHAR2(2000), "
               "\"FOLDER\" NVARCHAR2(2000), \"NOTE\" NVARCHAR2(2000))")
        .arg(Quoted(kLedgerRunsTable));
}

QString CreateLedgerTablesStatement() {
    return QStringLiteral(
               "CREATE TABLE %1 (\"RUN_ID\" NUMERIC(19) NOT NULL, \"TABLE_NAME\" NVARCHAR2(255) "
               "NOT NULL, \"SOURCE_FILE\" NVARCHAR2(2000), \"FILE_SIZE\" NUMERIC(19), "
               "\"FILE_MODIFIED\" NVARCHAR2(40), \"ROWS_READ\" NUMERIC(19), "
               "\"ROWS_ARRIVED\" NUMERIC(19), \"ROWS_REFUSED\" NUMERIC(19), "
               "\"REFUSED_ROWS\" NVARCHAR2(2000), \"REJECTS_FILE\" NVARCHAR2(2000), "
               "\"OUTCOME\" NVARCHAR2(40), \"FINISHED\" TIMESTAMP(3), \"SECONDS\" NUMERIC(12,3), "
               "\"COLUMN_FINGERPRINT\" NVARCHAR2(64))")
        .arg(Quoted(kLedgerTablesTable));
}

QString LedgerFingerprintProbe() {
    return QStringLiteral("SELECT \"COLUMN_FINGERPRINT\" FROM %1 WHERE 1 = 0")
        .arg(Quoted(kLedgerTablesTable));
}

QString AddLedgerFingerprintStatement() {
    return QStringLiteral("ALTER TABLE %1 ADD \"COLUMN_FINGERPRINT\" NVARCHAR2(64)")
        .arg(Quoted(kLedgerTablesTable));
}

QString CreateLedgerLockStatement() {
    return QStringLiteral("CREATE TABLE %1 (\"ID\" NUMERIC(1) PRIMARY KEY)")
        .arg(Quoted(kLedgerLockTable));
}

QString InsertLedgerLockRowStatement() {
    return QStringLiteral("INSERT INTO %1 (\"ID\") VALUES (1)").arg(Quoted(kLedgerLockTable));
}

QString LockLedgerStatement() {
    return QStringLiteral("SELECT \"ID\" FROM %1 WHERE \"ID\" = 1 FOR UPDATE NOWAIT")
        .arg(Quoted(kLedgerLockTable));
}

QString OpenLedgerRunsQuery() {
    return QStringLiteral(
               "SELECT \"RUN_ID\", \"HOST\", \"PROCESS\", \"STARTED\", \"OPTIONS\", \"FOLDER\" "
               "FROM %1 WHERE \"ENDED\" IS NULL ORDER BY \"RUN_ID\"")
        .arg(Quoted(kLedgerRunsTable));
}

QString NextLedgerRunIdQuery() {
    return QStringLiteral("SELECT COALESCE(MAX(\"RUN_ID\"), 0) + 1 FROM %1")
        .arg(Quoted(kLedgerRunsTable));
}

QString InsertLedgerRunStatement(const LedgerRun& run) {
    return QStringLiteral(
               "INSERT INTO %1 (\"RUN_ID\", \"HOST\", \"PROCESS\", \"STARTED\", \"OPTIONS\", "
               "\"FOLDER\") VALUES (%2, ?, %3, %4, ?, ?)")
        .arg(Quoted(kLedgerRunsTable), QString::number(run.id), QString::number(run.process),
             TimestampLiteral(run.started));
}

QString EndLedgerRunStatement(std::int64_t runId, const QDateTime& ended,
                              std::optional<int> exitStatus) {
    return QStringLiteral(
               "UPDATE %1 SET \"ENDED\" = %2, \"EXIT_STATUS\" = %3, \"NOTE\" = ? WHERE "
               "\"RUN_ID\" = %4")
        .arg(Quoted(kLedgerRunsTable), TimestampLiteral(ended),
             NumberOrNull(exitStatus ? std::optional<std::int64_t>(*exitStatus) : std::nullopt),
             QString::number(runId));
}

QString InsertLedgerEntryStatement(const LedgerEntry& entry) {
    return QStringLiteral(
               "INSERT INTO %1 (\"RUN_ID\", \"TABLE_NAME\", \"SOURCE_FILE\", \"FILE_SIZE\", "
               "\"FILE_MODIFIED\", \"ROWS_READ\", \"ROWS_ARRIVED\", \"ROWS_REFUSED\", "
               "\"REFUSED_ROWS\", \"REJECTS_FILE\", \"OUTCOME\", \"FINISHED\", \"SECONDS\") "
               "VALUES (%2, ?, ?, %3, ?, %4, %5, %6, ?, ?, ?, %7, %8)")
        .arg(Quoted(kLedgerTablesTable), QString::number(entry.runId), NumberOrNull(entry.fileSize),
             QString::number(entry.rowsRead), QString::number(entry.rowsArrived),
             QString::number(entry.rowsRefused), TimestampLiteral(entry.finished),
             QString::number(entry.seconds, 'f', 3));
}

std::vector<QString> LedgerEntryTexts(const LedgerEntry& entry) {
    return {entry.table,
            entry.sourceFile,
            entry.fileModified.isValid() ? entry.fileModified.toUTC().toString(Qt::ISODateWithMs)
                                         : QString(),
            entry.refusedRows,
            entry.rejectsFile,
            entry.outcome};
}

QString UpdateLedgerEntryStatement(const LedgerEntry& entry) {
    return QStringLiteral(
               "UPDATE %1 SET \"SOURCE_FILE\" = ?, \"FILE_SIZE\" = %2, \"FILE_MODIFIED\" = ?, "
               "\"ROWS_READ\" = %3, \"ROWS_ARRIVED\" = %4, \"ROWS_REFUSED\" = %5, "
               "\"REFUSED_ROWS\" = ?, \"REJECTS_FILE\" = ?, \"OUTCOME\" = ?, \"FINISHED\" = %6, "
               "\"SECONDS\" = %7 WHERE \"RUN_ID\" = %8 AND \"TABLE_NAME\" = ?")
        .arg(Quoted(kLedgerTablesTable), NumberOrNull(entry.fileSize),
             QString::number(entry.rowsRead), QString::number(entry.rowsArrived),
             QString::number(entry.rowsRefused), TimestampLiteral(entry.finished),
             QString::number(entry.seconds, 'f', 3), QString::number(entry.runId));
}

std::vector<QString> LedgerEntryUpdateTexts(const LedgerEntry& entry) {
    std::vector<QString> texts = LedgerEntryTexts(entry);
    texts.push_back(texts.front());
    texts.erase(texts.begin());
    return texts;
}

QString RecordLedgerColumnsStatement(std::int64_t runId) {
    return QStringLiteral(
               "UPDATE %1 SET \"COLUMN_FINGERPRINT\" = ? WHERE \"RUN_ID\" = %2 AND "
               "\"TABLE_NAME\" = ?")
        .arg(Quoted(kLedgerTablesTable), QString::number(runId));
}

QString LatestLedgerEntriesQuery(bool withFingerprint) {
    const QString tables = Quoted(kLedgerTablesTable);
    return QStringLiteral(
               "SELECT \"TABLE_NAME\", \"SOURCE_FILE\", \"FILE_SIZE\", \"FILE_MODIFIED\", "
               "\"ROWS_READ\", \"ROWS_ARRIVED\", \"ROWS_REFUSED\", \"REFUSED_ROWS\", "
               "\"REJECTS_FILE\", \"OUTCOME\", \"RUN_ID\"%2 FROM %1 e WHERE \"RUN_ID\" = (SELECT "
               "MAX(\"RUN_ID\") FROM %1 l WHERE l.\"TABLE_NAME\" = e.\"TABLE_NAME\")")
        .arg(tables, withFingerprint ? QStringLiteral(", \"COLUMN_FINGERPRINT\"") : QString());
}

QString TimestampLiteral(const QDateTime& time) {
    return QStringLiteral("TIMESTAMP '%1'")
        .arg(time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

QString RowNumberRanges(std::vector<std::int64_t> rows, qsizetype longest) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList ranges;
    qsizetype length = 0;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t last = i;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) {
            ++last;
        }
        ranges.append(last == i ? QString::number(rows[i])
                                : QString::number(rows[i]) + u'-' + QString::number(rows[last]));
        length += ranges.back().size() + 1;
        if (length - 1 > longest) {
            return QString();
        }
        i = last + 1;
    }
    return ranges.join(u',');
}

std::vector<std::int64_t> RowNumbersOf(const QString& ranges) {
    std::vector<std::int64_t> rows;
    for (const QString& range : ranges.split(u',', Qt::SkipEmptyParts)) {
        const std::int64_t first = range.section(u'-', 0, 0).toLongLong();
        const std::int64_t last =
            range.contains(u'-') ? range.section(u'-', 1, 1).toLongLong() : first;
        if (first <= 0 || last < first || last - first > kLongestRange) {
            continue;  // not written by this program: a hand-made edit
        }
        for (std::int64_t row = first; row <= last; ++row) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace quorvex
