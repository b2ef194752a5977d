#include "data/oracle/odbc_record_sources.h"

#include "data/core/ado_types.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_failure.h"
#include "data/oracle/odbc_values.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <vector>

namespace quorvex {
namespace {

struct Column {
    QString name;
    int adoType;
    int scale;
};

std::vector<Column> ColumnsOf(const QSqlRecord& record) {
    std::vector<Column> columns;
    columns.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        columns.push_back({field.name(), AdoTypeOfOdbcField(field), field.precision()});
    }
    return columns;
}

std::unique_ptr<QSqlQuery> Execute(const QSqlDatabase& db, const QString& statement) {
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    // Numbers as exact text, converted by their column's type: no digits lost on the way.
    query->setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query->exec(statement)) throw OdbcQueryFailure(*query);
    return query;
}

// The part both cursors share: the columns and the checks on a field index.
class ColumnSet {
  public:
    explicit ColumnSet(std::vector<Column> columns) : columns_(std::move(columns)) {}
    int count() const { return static_cast<int>(columns_.size()); }
    const Column& at(int index) const {
        if (index < 0 || index >= count()) {
            throw Failure(QStringLiteral("There is no field %1: the result has %2 field(s).")
                              .arg(index)
                              .arg(count()));
        }
        return columns_[static_cast<size_t>(index)];
    }

  private:
    std::vector<Column> columns_;
};

[[noreturn]] void ThrowNoCurrentRow() {
    throw Failure(QStringLiteral("There is no current row: the end of the result was reached."));
}

class ClientCursor : public RecordSource {
  public:
    explicit ClientCursor(QSqlQuery& query) : columns_(ColumnsOf(query.record())) {
        if (!query.isSelect()) return;
        while (query.next()) {
            std::vector<Value> row;
            row.reserve(static_cast<size_t>(columns_.count()));
            for (int i = 0; i < columns_.count(); ++i) {
                const Column& column = columns_.at(i);
                row.push_back(OdbcValue(query.value(i), column.adoType, column.scale));
            }
            rows_.push_back(std::move(row));
        }
        // next() answers false at the end and on a failed fetch alike.
        if (query.lastError().isValid()) throw OdbcQueryFailure(query);
    }

    int fieldCount() const override { return columns_.count(); }
    QString fieldName(int index) const override { return columns_.at(index).name; }
    int fieldType(int index) const override { return columns_.at(index).adoType; }
    Value fieldValue(int index) override {
        columns_.at(index);
        if (atEnd()) ThrowNoCurrentRow();
        return rows_[current_][static_cast<size_t>(index)];
    }
    std::int64_t recordCount() const override { return static_cast<std::int64_t>(rows_.size()); }
    bool atEnd() const override { return current_ >= rows_.size(); }
    void moveNext() override {
        if (atEnd()) ThrowNoCurrentRow();
        ++current_;
    }

  private:
    ColumnSet columns_;
    std::vector<std::vector<Value>> rows_;
    size_t current_ = 0;
};

class ServerCursor : public RecordSource, private SessionUser {
  public:
    ServerCursor(std::shared_ptr<OdbcSession> session, std::unique_ptr<QSqlQuery> query)
        : session_(std::move(session)),
          query_(std::move(query)),
          columns_(ColumnsOf(query_->record())) {
        fetch();
        // Only once constructed: a failed first fetch leaves nothing registered.
        session_->attach(this);
    }
    ~ServerCursor() override {
        if (session_) session_->detach(this);
    }

    int fieldCount() const override { return columns_.count(); }
    QString fieldName(int index) const override { return columns_.at(index).name; }
    int fieldType(int index) const override { return columns_.at(index).adoType; }
    Value fieldValue(int index) override {
        const Column& column = columns_.at(index);
        requireOpen();
        if (!onRow_) ThrowNoCurrentRow();
        return OdbcValue(query_->value(index), column.adoType, column.scale);
    }
    std::int64_t recordCount() const override { return -1; }
    bool atEnd() const override { return !onRow_; }
    void moveNext() override {
        requireOpen();
        if (!onRow_) ThrowNoCurrentRow();
        fetch();
    }

  private:
    void sessionClosing() override {
        query_.reset();
        onRow_ = false;
    }
    void requireOpen() const {
        if (!query_) throw Failure(QStringLiteral("The connection of this result was closed."));
    }
    void fetch() {
        onRow_ = query_->isSelect() && query_->next();
        if (!onRow_ && query_->lastError().isValid()) {
            throw OdbcQueryFailure(*query_);
        }
    }

    std::shared_ptr<OdbcSession> session_;
    std::unique_ptr<QSqlQuery> query_;
    ColumnSet columns_;
    bool onRow_ = false;
};

}  // namespace

std::unique_ptr<RecordSource> RunOdbcQuery(const std::shared_ptr<OdbcSession>& session,
                                           const QString& statement, int cursorLocation) {
    std::unique_ptr<QSqlQuery> query = Execute(session->database(), statement);
    if (cursorLocation == adUseClient) return std::make_unique<ClientCursor>(*query);
    return std::make_unique<ServerCursor>(session, std::move(query));
}

}  // namespace quorvex
