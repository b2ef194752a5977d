#include "transfer/bulk_table_copy.h"

#include "data/core/failure.h"
#include "data/oracle/odbc_parameter_arrays.h"
#include "shell/command_steps.h"
#include "transfer/bulk_statements.h"
#include "transfer/create_table_statement.h"
#include "transfer/insert_statement.h"
#include "transfer/native_keys.h"
#include "transfer/native_plan.h"
#include "transfer/native_value.h"
#include "transfer/quoted_name.h"
#include "transfer/sent_value.h"
#include "transfer/table_plan.h"
#include "transfer/value_text.h"

#include <QStringList>

#include <algorithm>
#include <memory>

namespace quorvex {

namespace {

using Bind = OdbcParameterArrays::Bind;
using Outcome = BulkTableResult::Outcome;

// Raised inside the copy when the stop request is seen; the table is then abandoned.
struct StopSeen {};

// The bytes a BLOB column's value is bound with. Paradox delivers bytes (or Null) for every field
// that becomes a BLOB column; any other value goes as the UTF-8 of its text.
std::optional<QByteArray> BlobBytes(const Value& value) {
    if (value.kind() == Value::Kind::Bytes) {
        QByteArray bytes = value.toBytes();
        return bytes.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(bytes));
    }
    const std::optional<QString> text = SentText(value);
    return text ? std::optional<QByteArray>(text->toUtf8()) : std::nullopt;
}

// The report of a row whose numbers Oracle cannot hold (infinite or not a number), which go as
// NULL as their text form is empty, worded as the row copy words it; empty when there are none.
QString UnheldNumbers(const QString& table, std::int64_t row,
                      const std::vector<SourceField>& fields, const std::vector<Value>& values) {
    QStringList unheld;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (const QString what = NumberOracleCannotHold(values[i]); !what.isEmpty()) {
            unheld.append(QStringLiteral("%1 (%2)").arg(fields[i].name, what));
        }
    }
    return unheld.isEmpty() ? QString() : UnheldNumbersReport(table, row, unheld);
}

// Refusals that belong to the array and its binds, which the row copy's INSERT does not make:
// ORA-01461 (a bind over 4,000 bytes taken for LONG), ORA-24816 (a LONG bind before another) and
// ORA-22295 (LOB and LONG binds together over 4,000 bytes). A row holding bytes for a BLOB is
// tried that way too, whatever the refusal: LOB parameters in arrays are not documented for
// Oracle's driver, and another Oracle driver refuses them.
bool RowPathMayTake(const QString& refusal, bool holdsBytes) {
    static const QStringList kArrayOnlyCodes = {
        QStringLiteral("ORA-01461"), QStringLiteral("ORA-24816"), QStringLiteral("ORA-22295")};
    return holdsBytes || std::any_of(kArrayOnlyCodes.begin(), kArrayOnlyCodes.end(),
                                     [&](const QString& code) { return refusal.contains(code); });
}

class BulkCopyRun {
  public:
    BulkCopyRun(BulkTableCopy& job, BulkTableResult& result) : job_(job), result_(result) {}

    BulkTableResult::Outcome Run() {
        QString create;
        try {
            create = Prepare();
        } catch (const std::exception& failure) {
            return Fail(failure, Outcome::NotCreated);
        }
        if (StopAsked()) {
            return Outcome::Stopped;  // nothing was created or dropped
        }
        if (job_.dropFirst) {
            // Only now that the Paradox table is open and its statements are built: a table that
            // cannot be read leaves its Oracle table as it was.
            try {
                job_.oracle.Execute(DropTableStatement(job_.table, job_.rules));
            } catch (const std::exception& failure) {
                if (CommandSteps::LostTheConnection(failure)) {
                    return Fail(failure, Outcome::NotCreated);
                }
                // As the row copy goes on after a refused DROP: CREATE TABLE tells whether the
                // old table is still in the way.
                result_.dropFailure = CommandSteps::Describe(failure);
            }
        }
        try {
            job_.oracle.Execute(create);
        } catch (const std::exception& failure) {
            return Fail(failure, Outcome::NotCreated);
        }
        try {
            SetOdbcAutoCommit(handle_, false);
            CopyRows();
            CheckRowCount();
            if (job_.beforeCommit) {
                result_.arrived = result_.rowsRead - result_.refused;
                job_.beforeCommit(result_);
            }
            EndOdbcTransaction(handle_, true);
            SetOdbcAutoCommit(handle_, true);
            result_.arrived = result_.rowsRead - result_.refused;
            TellStoredWithNull(true);
        } catch (const StopSeen&) {
            Abandon();
            TellStoredWithNull(false);
            return Outcome::Stopped;
        } catch (const std::exception& failure) {
            result_.arrived = 0;  // beforeCommit may have seen it
            Fail(failure, Outcome::Failed);
            Abandon();
            TellStoredWithNull(false);
            return Outcome::Failed;
        }
        if (job_.native) {
            // After the rows, so that a repeated key value refuses no row, and faster.
            try {
                const NativeKeysResult keys =
                    MakeNativeKeys(job_.oracle, job_.table, fieldNames_, keys_, job_.rules);
                result_.keyProblems = keys.indexProblems;
                if (!keys.keyProblem.isEmpty()) {
                    result_.keyProblems.prepend(keys.keyProblem);
                }
            } catch (const std::exception& failure) {
                result_.keyProblems.append(QStringLiteral("The key and indexes were not made: ") +
                                           CommandSteps::Describe(failure));
                result_.connectionLost = CommandSteps::LostTheConnection(failure);
            }
        }
        return Outcome::Complete;
    }

  private:
    bool StopAsked() const { return job_.stop != nullptr && job_.stop->Requested(); }

    Outcome Fail(const std::exception& failure, Outcome outcome) {
        result_.failure = CommandSteps::Describe(failure);
        result_.connectionLost = CommandSteps::LostTheConnection(failure);
        return outcome;
    }

    // Opens the Paradox table, reads its fields and builds both statements; returns CREATE TABLE.
    QString Prepare() {
        handle_ = job_.oracle.OdbcConnectionHandle();
        if (handle_ == nullptr) {
            throw Failure(QStringLiteral("A bulk copy needs an ODBC connection to Oracle."));
        }
        ParadoxTableOptions reading = job_.paradoxOptions;
        reading.exactDecimals = job_.native;
        plan_ = TablePlan::Read(job_.paradox, job_.readName.isEmpty() ? job_.table : job_.readName,
                                reading, job_.rules, &source_);
        plan_.table = job_.table;  // the Oracle table is named by the table, whichever file it is
        fields_ = plan_.SourceFields();
        fieldNames_ = plan_.FieldNames();
        result_.paradoxRows = plan_.rowCount;
        QString create;
        if (job_.native) {
            const std::vector<NativeField> native = NativeFieldsOf(plan_);
            create = BuildNativeCreateTable(job_.table, native, job_.rules);
            const NativeInsertLayout layout =
                BuildNativeInsertLayout(job_.table, native, job_.rules);
            insert_.text = BuildNativeBulkInsert(layout);
            insert_.fieldOfMarker = layout.fieldOfColumn;
            nativeColumns_ = layout.columns;
            nativeLayout_ = layout;
            if (job_.nativeLiterals) {
                job_.options.arrayRows = 1;
            }
            for (const NativeColumn& column : layout.columns) {
                insert_.blobMarker.push_back(column.kind == NativeKind::Bytes);
            }
            keys_ = NativeKeysOf(plan_);
        } else {
            insert_ = BuildBulkInsertStatement(job_.table, fields_, job_.rules);
            create = plan_.CreateTableText();
        }
        // A BLOB column's bytes go as long binary (SQL_LONGVARBINARY), the bind Oracle documents
        // for BLOB; the test and practice servers make their BLOB columns bytea at CREATE TABLE,
        // so they take the same bind.
        std::vector<Bind> binds;
        for (const bool blob : insert_.blobMarker) {
            binds.push_back(blob ? Bind::LongBinary : Bind::Text);
        }
        arrays_ = std::make_unique<OdbcParameterArrays>(std::move(binds));
        return create;
    }

    void CopyRows() {
        if (job_.observer != nullptr) {
            job_.observer->RowsToCopy(result_.paradoxRows);
        }
        values_.resize(fields_.size());
        for (std::int64_t row = 1; row <= result_.paradoxRows; ++row) {
            ReadRow(row);
            ++result_.rowsRead;
            if (arrays_->RowCount() >= job_.options.arrayRows ||
                arrays_->StagedBytes() >= job_.options.arrayBytes) {
                Flush();
            }
            if (row < result_.paradoxRows) {
                // Past a row the table cannot move from, every further row would be missed or
                // repeated: the table fails whole.
                source_.MoveNext();
            }
        }
        Flush();
    }

    // Reads one row and stages it, or, when a value cannot be read, keeps it as refused with the
    // values that could be read (the others as NULL) and the first value's failure.
    void ReadRow(std::int64_t row) {
        QString unreadable;
        for (std::size_t field = 0; field < fields_.size(); ++field) {
            try {
                values_[field] = source_.FieldValue(static_cast<int>(field));
            } catch (const std::exception& failure) {
                values_[field] = Value::Null();
                if (unreadable.isEmpty()) {
                    unreadable =
                        UnreadableValueReport(fields_[field].name, CommandSteps::Describe(failure));
                }
            }
        }
        if (!unreadable.isEmpty()) {
            pending_.push_back(Problem(row, ReadValues(), unreadable));
            return;
        }
        std::vector<std::optional<QString>> texts(insert_.fieldOfMarker.size());
        if (job_.native) {
            // A value of a kind its column does not take is this row's refusal, before staging.
            try {
                for (std::size_t marker = 0; marker < texts.size(); ++marker) {
                    if (!insert_.blobMarker[marker]) {
                        texts[marker] = NativeBoundText(nativeColumns_[marker],
                                                        values_[insert_.fieldOfMarker[marker]]);
                    }
                }
                if (job_.nativeLiterals) {
                    literalRow_ = BuildNativeInsert(nativeLayout_, values_, job_.rules);
                }
            } catch (const std::exception& failure) {
                pending_.push_back(Problem(row, ReadValues(), CommandSteps::Describe(failure)));
                return;
            }
        }
        for (std::size_t marker = 0; marker < insert_.fieldOfMarker.size(); ++marker) {
            const Value& value = values_[insert_.fieldOfMarker[marker]];
            if (insert_.blobMarker[marker]) {
                const std::optional<QByteArray> bytes = BlobBytes(value);
                bytes ? arrays_->AddBytes(*bytes) : arrays_->AddNull();
            } else {
                const std::optional<QString> text = job_.native ? texts[marker] : SentText(value);
                text ? arrays_->AddText(*text) : arrays_->AddNull();
            }
        }
        // A native column holds every number a Paradox table can: infinities and NaN too.
        const QString unheld =
            job_.native ? QString() : UnheldNumbers(job_.table, row, fields_, values_);
        if (!unheld.isEmpty()) {
            unheld_.push_back({arrays_->RowCount() - 1, unheld});
        }
        stagedRows_.push_back(row);
    }

    std::vector<std::optional<QString>> ReadValues() const {
        std::vector<std::optional<QString>> values;
        values.reserve(values_.size());
        for (const Value& value : values_) {
            values.push_back(SentText(value));
        }
        return values;
    }

    // The values of a staged row as it was sent, in field order.
    std::vector<std::optional<QString>> StagedValues(int staged) const {
        std::vector<std::optional<QString>> values(fields_.size());
        for (std::size_t marker = 0; marker < insert_.fieldOfMarker.size(); ++marker) {
            const int index = static_cast<int>(marker);
            std::optional<QString>& value = values[insert_.fieldOfMarker[marker]];
            if (insert_.blobMarker[marker]) {
                const std::optional<QByteArray> bytes = arrays_->BytesAt(staged, index);
                if (bytes) {
                    value = ValueText(Value::Bytes(*bytes));
                }
            } else {
                value = arrays_->TextAt(staged, index);
            }
        }
        return values;
    }

    RowProblem Problem(std::int64_t row, std::vector<std::optional<QString>> values,
                       const QString& message, bool stored = false) const {
        return RowProblem{job_.table, row, fieldNames_, std::move(values), stored, message};
    }

    // Sends the staged rows, tells the rows that are not in the table as read, in row order, and
    // starts the next array. A row the server took with NULL for a number is in the table only
    // once the table is committed: it is kept until then (TellStoredWithNull).
    void Flush() {
        if (arrays_->RowCount() > 0) {
            Send(0, arrays_->RowCount());
        }
        result_.refused += static_cast<std::int64_t>(pending_.size());
        for (const auto& [staged, message] : unheld_) {
            if (std::find(refusedStaged_.begin(), refusedStaged_.end(), staged) ==
                refusedStaged_.end()) {
                storedWithNull_.push_back(Problem(stagedRows_[static_cast<std::size_t>(staged)],
                                                  StagedValues(staged), message, true));
                ++result_.storedWithNull;
            }
        }
        std::sort(pending_.begin(), pending_.end(), [](const RowProblem& a, const RowProblem& b) {
            return a.rowNumber < b.rowNumber;
        });
        if (job_.observer != nullptr) {
            for (const RowProblem& row : pending_) {
                job_.observer->RowNotWhole(row);
            }
            job_.observer->RowsSent(result_.rowsRead, result_.refused);
        }
        pending_.clear();
        unheld_.clear();
        refusedStaged_.clear();
        stagedRows_.clear();
        arrays_->Clear();
        if (StopAsked()) {
            throw StopSeen{};
        }
    }

    // After a refusal: undoes whatever the driver left of the refused statement.
    void BackToSavepoint(const QString& refused) {
        try {
            job_.oracle.Execute(kBackToArraySavepoint);
        } catch (const Failure& failure) {
            if (failure.connectionLost()) {
                throw;
            }
            if (takenInTransaction_ > 0) {
                // A driver set to roll the whole transaction back on any failure has done so.
                throw Failure(QStringLiteral("The server refused a row (%1) and did not go back "
                                             "to the savepoint before it: %2")
                                  .arg(refused, failure.description()));
            }
            // The driver rolled the whole transaction back, which held no row yet: that is as
            // good as going back to the savepoint, once the failed statement's own transaction
            // is ended too. psqlODBC does so for the first statement of a transaction when the
            // statement before it (the row count ending the table before) was read-only, taking
            // none of its own savepoints then.
            EndOdbcTransaction(handle_, false);
        }
    }

    bool HoldsBytes(int staged) const {
        for (std::size_t marker = 0; marker < insert_.blobMarker.size(); ++marker) {
            if (insert_.blobMarker[marker] && arrays_->BytesAt(staged, static_cast<int>(marker))) {
                return true;
            }
        }
        return false;
    }

    // Sends a staged row the array could not take through the row copy's INSERT, which writes
    // its values as literals and binds only what it must, after a savepoint of its own. True when
    // the server took it; else back at the savepoint, with `refusal` the row copy's own reason.
    bool SentAsOneRow(int staged, QString& refusal) {
        std::vector<Value> values(fields_.size(), Value::Null());
        for (std::size_t marker = 0; marker < insert_.fieldOfMarker.size(); ++marker) {
            Value& value = values[insert_.fieldOfMarker[marker]];
            if (insert_.blobMarker[marker]) {
                if (std::optional<QByteArray> bytes =
                        arrays_->BytesAt(staged, static_cast<int>(marker))) {
                    value = Value::Bytes(std::move(*bytes));
                }
            } else if (std::optional<QString> text =
                           arrays_->TextAt(staged, static_cast<int>(marker))) {
                value = Value::Text(std::move(*text));
            }
        }
        const InsertRow row = BuildInsertStatement(job_.table, values, fieldNames_, job_.rules);
        if (!row.refusal.isEmpty()) {
            refusal = row.refusal;
            return false;
        }
        job_.oracle.Execute(kArraySavepoint);
        try {
            job_.oracle.Execute(row.text, row.boundValues);
            return true;
        } catch (const std::exception& failure) {
            if (CommandSteps::LostTheConnection(failure)) {
                throw;
            }
            refusal = CommandSteps::Describe(failure);
        }
        BackToSavepoint(refusal);
        return false;
    }

    // Sends the staged rows first .. first + count - 1 as one array after a savepoint. When the
    // server refuses any of them, goes back to the savepoint, whatever the driver left of the
    // array, and sends each half the same way: a single row it refuses is left out.
    void Send(int first, int count) {
        if (count > 1 && arrays_->LaidOutBytes(first, count) > job_.options.arrayBytes) {
            // Every row of a run is laid out as wide as its longest value: a long value goes
            // with few rows.
            const int half = count / 2;
            Send(first, half);
            Send(first + half, count - half);
            return;
        }
        job_.oracle.Execute(kArraySavepoint);
        const std::optional<Failure> refused =
            job_.nativeLiterals ? ExecuteLiteralRow()
                                : arrays_->Execute(handle_, insert_.text, first, count);
        if (!refused) {
            takenInTransaction_ += count;
            return;
        }
        if (refused->connectionLost()) {
            throw *refused;
        }
        BackToSavepoint(refused->description());
        if (count == 1) {
            QString refusal = refused->description();
            if (RowPathMayTake(refusal, HoldsBytes(first)) && SentAsOneRow(first, refusal)) {
                ++takenInTransaction_;
                return;
            }
            refusedStaged_.push_back(first);
            pending_.push_back(Problem(stagedRows_[static_cast<std::size_t>(first)],
                                       StagedValues(first), refusal));
            return;
        }
        if (StopAsked()) {
            throw StopSeen{};
        }
        const int half = count / 2;
        Send(first, half);
        Send(first + half, count - half);
    }

    // The one staged row of a native row-by-row copy, as its INSERT of literal values.
    std::optional<Failure> ExecuteLiteralRow() {
        try {
            job_.oracle.Execute(literalRow_.text, literalRow_.boundValues);
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

    // Tells the rows taken with NULL for a number Oracle cannot hold, once the table is settled:
    // stored when it was committed, not stored when it was rolled back.
    void TellStoredWithNull(bool committed) {
        for (RowProblem& row : storedWithNull_) {
            row.stored = committed;
            if (job_.observer != nullptr) {
                job_.observer->RowNotWhole(row);
            }
        }
        storedWithNull_.clear();
    }

    // Before the commit: the table holds exactly the rows sent less the refused ones. This
    // guards the savepoints against a driver that would undo more of the transaction than the
    // refused array.
    void CheckRowCount() {
        Recordset count;
        count.Open(
            QStringLiteral("SELECT COUNT(*) FROM ") + QuotedTableName(job_.table, job_.rules),
            job_.oracle);
        const QString counted = ValueText(count.FieldValue(0));
        const std::int64_t expected = result_.rowsRead - result_.refused;
        if (counted != QString::number(expected)) {
            throw Failure(QStringLiteral("The table holds %1 rows where %2 were sent and taken; "
                                         "it is not kept.")
                              .arg(counted)
                              .arg(expected));
        }
    }

    // After a stop or a failure: the rows go back, and the table this copy created goes too
    // (Oracle committed CREATE TABLE as it ran, as it does every DDL statement).
    void Abandon() {
        if (!result_.connectionLost) {
            try {
                EndOdbcTransaction(handle_, false);
            } catch (const std::exception&) {
                // A transaction the driver already ended
            }
            try {
                SetOdbcAutoCommit(handle_, true);
                DropAbandonedTable();
                return;
            } catch (const std::exception&) {
                // told below
            }
        }
        result_.tableLeftBehind = true;
    }

    // Nothing of an abandoned table is worth keeping in the recycle bin; a server that has no
    // recycle bin and refuses the word (the test and practice servers) drops it plainly.
    void DropAbandonedTable() {
        try {
            job_.oracle.Execute(PurgeTableStatement(job_.table, job_.rules));
        } catch (const std::exception& failure) {
            if (CommandSteps::LostTheConnection(failure)) {
                throw;
            }
            job_.oracle.Execute(DropTableStatement(job_.table, job_.rules));
        }
    }

    BulkTableCopy& job_;
    BulkTableResult& result_;
    void* handle_ = nullptr;
    Recordset source_;
    TablePlan plan_;
    std::vector<NativeColumn> nativeColumns_;  // of a native copy, in the markers' order
    NativeInsertLayout nativeLayout_;          // of a native copy
    InsertRow literalRow_;                     // the staged row's INSERT, with nativeLiterals
    ParadoxTableKeys keys_;                    // of a native copy
    std::vector<SourceField> fields_;
    std::vector<QString> fieldNames_;
    BulkInsert insert_;
    std::unique_ptr<OdbcParameterArrays> arrays_;
    std::vector<Value> values_;                    // the row being read, in field order
    std::vector<std::int64_t> stagedRows_;         // the row number of each staged row
    std::vector<RowProblem> pending_;              // rows of the array not in the table as read
    std::vector<std::pair<int, QString>> unheld_;  // staged rows with numbers sent as NULL
    std::vector<int> refusedStaged_;               // staged rows the server refused
    // Taken with NULL for a number, not told yet: the one thing kept beyond an array, as rare as
    // an infinite number in a Paradox table.
    std::vector<RowProblem> storedWithNull_;
    std::int64_t takenInTransaction_ = 0;  // rows the server took in this transaction
};

}  // namespace

BulkTableResult BulkTableCopy::Run() {
    BulkTableResult result;
    result.outcome = BulkCopyRun(*this, result).Run();
    if (result.outcome != Outcome::Complete) {
        result.arrived = 0;
    }
    return result;
}

}  // namespace quorvex
