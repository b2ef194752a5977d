#include "transfer/table_comparison.h"

#include "data/access/odbc_result_blocks.h"
#include "data/core/failure.h"
#include "transfer/bulk_statements.h"
#include "transfer/native_comparison.h"
#include "transfer/native_plan.h"
#include "transfer/native_shape.h"
#include "transfer/quoted_name.h"
#include "transfer/row_hash.h"
#include "transfer/sent_value.h"
#include "transfer/table_plan.h"
#include "transfer/value_text.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

namespace {

// How many rows of each side are read between two looks at the stop request and the progress.
constexpr std::int64_t kRowsPerLook = 4096;
// How many rows the Oracle driver is asked to hand over at a time (FetchResultsInBlocks): a
// thousand read as fast as a whole result, in the memory of a thousand rows.
constexpr int kRowsPerFetch = 1000;

using HashCounts = std::unordered_map<RowHash, std::int64_t, RowHashKey>;

// One side's rows, read forward once. The numbers of the Oracle side are read by the kind of the
// Paradox field they were sent from (`numberKinds`), not by how the driver describes the column.
class SideReader {
  public:
    // `open` opens `rows_` on the side's rows; `statement` names them in a failure.
    // `native`: the columns of a native table, whose values are read to their exact form.
    SideReader(const std::function<void(Recordset&)>& open, const QString& statement,
               int fieldCount, const std::vector<NumberKind>* numberKinds = nullptr,
               const std::vector<NativeColumn>& native = {})
        : fieldCount_(fieldCount), numberKinds_(numberKinds), native_(native) {
        open(rows_);
        if (rows_.FieldCount() != fieldCount_) {
            throw Failure(QStringLiteral("%1 gives %2 columns where %3 were asked for.")
                              .arg(statement)
                              .arg(rows_.FieldCount())
                              .arg(fieldCount_));
        }
    }

    bool AtEnd() const { return rows_.Eof(); }

    // The current row's values in the sent form, then moves on.
    const std::vector<std::optional<QString>>& Next() {
        values_.resize(static_cast<std::size_t>(fieldCount_));
        for (int field = 0; field < fieldCount_; ++field) {
            const auto at = static_cast<std::size_t>(field);
            if (!native_.empty()) {
                values_[at] = NativeComparableText(native_[at], rows_.FieldValue(field));
            } else if (numberKinds_ != nullptr) {
                values_[at] = SentText(AsSentNumber(rows_.FieldValue(field), numberKinds_->at(at)));
            } else {
                values_[at] = SentText(rows_.FieldValue(field));
            }
        }
        rows_.MoveNext();
        ++read_;
        return values_;
    }

    std::int64_t Read() const { return read_; }

  private:
    Recordset rows_;
    int fieldCount_;
    const std::vector<NumberKind>* numberKinds_;
    std::vector<NativeColumn> native_;
    std::vector<std::optional<QString>> values_;
    std::int64_t read_ = 0;
};

RowHash HashOf(RowHasher& hasher, const std::vector<std::optional<QString>>& values) {
    hasher.Begin();
    for (const std::optional<QString>& value : values) {
        hasher.Add(value);
    }
    return hasher.Finish();
}

// Adds `change` to the count of `hash`, forgetting counts that come back to zero.
void Count(HashCounts& counts, const RowHash& hash, std::int64_t change) {
    const auto [entry, added] = counts.try_emplace(hash, change);
    if (!added && (entry->second += change) == 0) {
        counts.erase(entry);
    }
}

class Comparison {
  public:
    Comparison(Connection& paradox, Connection& oracle, const QString& table,
               const StopRequest* stop, const std::function<void(std::int64_t)>& progress,
               const ParadoxTableOptions& options, const QString& readName, bool native)
        : paradox_(paradox),
          oracle_(oracle),
          table_(table),
          readName_(readName.isEmpty() ? table : readName),
          stop_(stop),
          progress_(progress),
          options_(options),
          native_(native) {
        options_.exactDecimals = native;
    }

    std::optional<TableComparison> Run() {
        FetchResultsInBlocks(oracle_, kRowsPerFetch);
        if (!ReadFieldNames() || !CountOff()) {
            return std::nullopt;
        }
        HashCounts paradoxOnly;
        HashCounts oracleOnly;
        for (const auto& [hash, count] : counts_) {
            if (count > 0) {
                paradoxOnly.emplace(hash, count);
                result_.onlyInParadox += count;
            } else {
                oracleOnly.emplace(hash, -count);
                result_.onlyInOracle -= count;
            }
        }
        counts_.clear();
        if (!Sample(paradoxOnly, result_.onlyInParadox, true, result_.paradoxSample) ||
            !Sample(oracleOnly, result_.onlyInOracle, false, result_.oracleSample)) {
            return std::nullopt;
        }
        return result_;
    }

  private:
    bool Stopped() const { return stop_ != nullptr && stop_->Requested(); }

    QString ParadoxStatement() const { return SelectAllStatement(readName_); }
    QString OracleStatement() const {
        return native_ ? NativeSelectStatement(table_, nativeFields_)
                       : SelectColumnsStatement(table_, result_.fieldNames);
    }
    // Opens one side's rows: the Paradox table through the reader's door, with the options.
    std::function<void(Recordset&)> Opener(bool paradoxSide) const {
        if (paradoxSide) {
            return [this](Recordset& rows) {
                TablePlan::Read(paradox_, readName_, options_, {}, &rows);
            };
        }
        return [this](Recordset& rows) { rows.Open(OracleStatement(), oracle_); };
    }
    QString StatementOf(bool paradoxSide) const {
        return paradoxSide ? ParadoxStatement() : OracleStatement();
    }

    bool ReadFieldNames() {
        const TablePlan plan = TablePlan::Read(paradox_, readName_, options_);
        result_.fieldNames = plan.FieldNames();
        for (const PlannedField& field : plan.fields) {
            numberKinds_.push_back(NumberKindOfField(field.typeCode));
        }
        result_.paradoxRows = plan.rowCount;
        if (native_) {
            nativeFields_ = NativeFieldsOf(plan);
            for (const NativeField& field : nativeFields_) {
                columns_.push_back(NativeColumnFor(field.type, field.size));
            }
            // A table that is not the native one (the window's types) reads back other forms:
            // say so rather than list every row as differing.
            const QString shape =
                NativeShapeDifference(nativeFields_, ReadOracleColumns(oracle_, table_));
            if (!shape.isEmpty()) {
                throw Failure(QStringLiteral("The Oracle table %1 is not a native table: %2.")
                                  .arg(table_, shape));
            }
            result_.structureDifferences = NativeKeysDifference(
                table_, result_.fieldNames, NativeKeysOf(plan), ReadOracleKeys(oracle_, table_));
        }
        return !Stopped();
    }

    // Reads both sides in step: a Paradox row counts +1 for its digest, an Oracle row -1.
    bool CountOff() {
        const int fieldCount = static_cast<int>(result_.fieldNames.size());
        SideReader paradoxRows(Opener(true), ParadoxStatement(), fieldCount, nullptr, columns_);
        SideReader oracleRows(Opener(false), OracleStatement(), fieldCount, &numberKinds_,
                              columns_);
        RowHasher hasher;
        while (!paradoxRows.AtEnd() || !oracleRows.AtEnd()) {
            for (std::int64_t i = 0; i < kRowsPerLook; ++i) {
                const bool paradoxLeft = !paradoxRows.AtEnd();
                const bool oracleLeft = !oracleRows.AtEnd();
                if (!paradoxLeft && !oracleLeft) {
                    break;
                }
                if (paradoxLeft) {
                    Count(counts_, HashOf(hasher, paradoxRows.Next()), +1);
                }
                if (oracleLeft) {
                    Count(counts_, HashOf(hasher, oracleRows.Next()), -1);
                }
            }
            if (progress_) {
                progress_(std::max(paradoxRows.Read(), oracleRows.Read()));
            }
            if (Stopped()) {
                return false;
            }
        }
        if (paradoxRows.Read() != result_.paradoxRows) {
            throw Failure(QStringLiteral("The Paradox table gave %1 rows where its header counts "
                                         "%2.")
                              .arg(paradoxRows.Read())
                              .arg(result_.paradoxRows));
        }
        result_.oracleRows = oracleRows.Read();
        return true;
    }

    // Reads one side again for the first rows whose digest is one side's only.
    bool Sample(HashCounts& only, std::int64_t differing, bool paradoxSide,
                std::vector<ComparedRow>& sample) {
        const std::int64_t wanted = std::min<std::int64_t>(differing, kShownDifferingRows);
        if (wanted == 0) {
            return true;
        }
        SideReader rows(Opener(paradoxSide), StatementOf(paradoxSide),
                        static_cast<int>(result_.fieldNames.size()),
                        paradoxSide ? nullptr : &numberKinds_, columns_);
        RowHasher hasher;
        while (!rows.AtEnd() && static_cast<std::int64_t>(sample.size()) < wanted) {
            const std::vector<std::optional<QString>>& values = rows.Next();
            const auto entry = only.find(HashOf(hasher, values));
            if (entry != only.end() && entry->second > 0) {
                --entry->second;
                sample.push_back({paradoxSide ? rows.Read() : 0, values});
            }
            if (rows.Read() % kRowsPerLook == 0 && Stopped()) {
                return false;
            }
        }
        return true;
    }

    Connection& paradox_;
    Connection& oracle_;
    QString table_;
    QString readName_;
    const StopRequest* stop_;
    const std::function<void(std::int64_t)>& progress_;
    TableComparison result_;
    ParadoxTableOptions options_;
    std::vector<NumberKind> numberKinds_;  // of the Paradox fields, in field order
    bool native_ = false;
    std::vector<NativeField> nativeFields_;  // of a native table
    std::vector<NativeColumn> columns_;      // of a native table, in field order
    HashCounts counts_;
};

}  // namespace

std::optional<TableComparison> CompareSentTable(
    Connection& paradox, Connection& oracle, const QString& table, const StopRequest* stop,
    const std::function<void(std::int64_t rowsRead)>& progress, const ParadoxTableOptions& options,
    const QString& readName, bool native) {
    return Comparison(paradox, oracle, table, stop, progress, options, readName, native).Run();
}

}  // namespace quorvex
