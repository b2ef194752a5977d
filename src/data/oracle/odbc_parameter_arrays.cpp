#include "data/oracle/odbc_parameter_arrays.h"

#include "data/oracle/odbc_failure.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace quorvex {

static_assert(std::is_same_v<SQLLEN, long>, "lengths are kept as the driver manager's SQLLEN");
static_assert(std::is_same_v<SQLUSMALLINT, unsigned short>);
static_assert(std::is_same_v<SQLULEN, unsigned long>);
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));

namespace {

SQLSMALLINT CType(OdbcParameterArrays::Bind bind) {
    return bind == OdbcParameterArrays::Bind::Text ? SQL_C_WCHAR : SQL_C_BINARY;
}

SQLSMALLINT SqlType(OdbcParameterArrays::Bind bind) {
    return bind == OdbcParameterArrays::Bind::Text ? SQL_WVARCHAR : SQL_LONGVARBINARY;
}

QString StatusName(SQLUSMALLINT status) {
    switch (status) {
        case SQL_PARAM_ERROR:
            return QStringLiteral("an error");
        case SQL_PARAM_UNUSED:
            return QStringLiteral("unused");
        case SQL_PARAM_DIAG_UNAVAILABLE:
            return QStringLiteral("diagnostics unavailable");
        default:
            return QStringLiteral("status %1").arg(status);
    }
}

Failure ConnectionFailure(void* connection) {
    return OdbcHandleFailure(OdbcDiagnosticText(SQL_HANDLE_DBC, connection), nullptr, connection);
}

}  // namespace

OdbcParameterArrays::OdbcParameterArrays(std::vector<Bind> markers) {
    columns_.reserve(markers.size());
    for (const Bind bind : markers) {
        columns_.push_back(Column{bind, {}, {}, {}, {}, {}});
    }
}

OdbcParameterArrays::~OdbcParameterArrays() = default;

void OdbcParameterArrays::Add(const char* bytes, qsizetype size, bool null) {
    if (columns_.empty()) {
        return;
    }
    Column& column = columns_[nextMarker_];
    column.start.push_back(static_cast<qsizetype>(column.data.size()));
    column.length.push_back(null ? SQL_NULL_DATA : static_cast<long>(size));
    if (!null) {
        column.data.insert(column.data.end(), bytes, bytes + size);
    }
    if (++nextMarker_ == columns_.size()) {
        nextMarker_ = 0;
        ++rows_;
    }
}

void OdbcParameterArrays::AddNull() { Add(nullptr, 0, true); }

void OdbcParameterArrays::AddText(QStringView text) {
    Add(reinterpret_cast<const char*>(text.utf16()), text.size() * 2, false);
}

void OdbcParameterArrays::AddBytes(QByteArrayView bytes) { Add(bytes.data(), bytes.size(), false); }

qsizetype OdbcParameterArrays::StagedBytes() const {
    qsizetype bytes = 0;
    for (const Column& column : columns_) {
        bytes += static_cast<qsizetype>(column.data.size());
    }
    return bytes;
}

void OdbcParameterArrays::Clear() {
    for (Column& column : columns_) {
        column.data.clear();
        column.start.clear();
        column.length.clear();
    }
    nextMarker_ = 0;
    rows_ = 0;
}

std::optional<QString> OdbcParameterArrays::TextAt(int row, int marker) const {
    const Column& column = columns_.at(static_cast<std::size_t>(marker));
    const auto index = static_cast<std::size_t>(row);
    if (column.length.at(index) == SQL_NULL_DATA) {
        return std::nullopt;
    }
    QString text(column.length[index] / 2, Qt::Uninitialized);
    std::memcpy(text.data(), column.data.data() + column.start[index],
                static_cast<std::size_t>(column.length[index]));
    return text;
}

std::optional<QByteArray> OdbcParameterArrays::BytesAt(int row, int marker) const {
    const Column& column = columns_.at(static_cast<std::size_t>(marker));
    const auto index = static_cast<std::size_t>(row);
    if (column.length.at(index) == SQL_NULL_DATA) {
        return std::nullopt;
    }
    return QByteArray(column.data.data() + column.start[index], column.length[index]);
}

qsizetype OdbcParameterArrays::Width(const Column& column, int first, int count) {
    qsizetype width = column.bind == Bind::Text ? 2 : 1;  // a run of NULLs still binds a buffer
    for (int row = first; row < first + count; ++row) {
        width = std::max<qsizetype>(width, column.length[static_cast<std::size_t>(row)]);
    }
    return width;
}

qsizetype OdbcParameterArrays::LaidOutBytes(int first, int count) const {
    qsizetype bytes = 0;
    for (const Column& column : columns_) {
        bytes += Width(column, first, count) * count;
    }
    return bytes;
}

void OdbcParameterArrays::LayOut(Column& column, int first, int count, qsizetype width) {
    column.laidOut.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(count));
    column.indicators.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto row = static_cast<std::size_t>(first + i);
        const long length = column.length[row];
        column.indicators[static_cast<std::size_t>(i)] = length;
        if (length > 0) {
            std::memcpy(column.laidOut.data() + static_cast<std::size_t>(i * width),
                        column.data.data() + column.start[row], static_cast<std::size_t>(length));
        }
    }
}

std::optional<Failure> OdbcParameterArrays::Execute(void* connection, const QString& statement,
                                                    int first, int count) {
    if (count <= 0) {
        return std::nullopt;
    }
    if (first < 0 || first + count > rows_) {
        return Failure(QStringLiteral("Rows %1 to %2 of the parameter arrays were never staged.")
                           .arg(first + 1)
                           .arg(first + count));
    }
    // What a driver leaves unwritten counts as not taken.
    status_.assign(static_cast<std::size_t>(count), SQL_PARAM_UNUSED);
    processed_ = 0;
    try {
        if (!statement_ || statement_->connection() != connection) {
            statement_.reset();
            statement_ = std::make_unique<OdbcStatement>(connection);
        }
        const OdbcStatement& handle = *statement_;
        handle.Check(SQLFreeStmt(handle.get(), SQL_CLOSE));
        handle.Check(SQLFreeStmt(handle.get(), SQL_RESET_PARAMS));
        handle.Check(SQLSetStmtAttr(handle.get(), SQL_ATTR_PARAM_BIND_TYPE,
                                    reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0));
        handle.Check(SQLSetStmtAttr(handle.get(), SQL_ATTR_PARAMSET_SIZE,
                                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(count)), 0));
        handle.Check(SQLSetStmtAttr(handle.get(), SQL_ATTR_PARAM_STATUS_PTR, status_.data(), 0));
        handle.Check(SQLSetStmtAttr(handle.get(), SQL_ATTR_PARAMS_PROCESSED_PTR, &processed_, 0));
        for (std::size_t marker = 0; marker < columns_.size(); ++marker) {
            Column& column = columns_[marker];
            const qsizetype width = Width(column, first, count);
            LayOut(column, first, count, width);
            // A text's column size counts characters (UTF-16 code units), a byte string's bytes.
            const qsizetype columnSize = column.bind == Bind::Text ? width / 2 : width;
            handle.Check(SQLBindParameter(
                handle.get(), static_cast<SQLUSMALLINT>(marker + 1), SQL_PARAM_INPUT,
                CType(column.bind), SqlType(column.bind), static_cast<SQLULEN>(columnSize), 0,
                column.laidOut.data(), static_cast<SQLLEN>(width), column.indicators.data()));
        }
    } catch (const Failure& failure) {
        return failure;
    }
    const OdbcStatement& handle = *statement_;
    const SQLRETURN result = SQLExecDirectW(
        handle.get(), const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(statement.utf16())),
        static_cast<SQLINTEGER>(statement.size()));
    if (result == SQL_ERROR || result == SQL_INVALID_HANDLE) {
        return handle.LastFailure();
    }
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
        return Failure(QStringLiteral("The ODBC driver answered the array of %1 rows with the "
                                      "unexpected code %2.")
                           .arg(count)
                           .arg(result));
    }
    // A driver may report a refused row only in its status, with success (and information) for
    // the call as a whole.
    if (const std::optional<QString> notTaken = RowsNotTaken(status_, processed_)) {
        // The server's message when the driver kept one, else which rows were not taken.
        const Failure diagnostics = handle.LastFailure();
        if (!diagnostics.description().isEmpty()) {
            return diagnostics;
        }
        return diagnostics.connectionLost() ? Failure::ConnectionLost(*notTaken)
                                            : Failure(*notTaken);
    }
    return std::nullopt;
}

std::optional<QString> RowsNotTaken(const std::vector<unsigned short>& statuses,
                                    unsigned long processed) {
    QStringList rows;
    int notTaken = 0;
    for (std::size_t row = 0; row < statuses.size(); ++row) {
        const SQLUSMALLINT status = statuses[row];
        const bool beyondProcessed = row >= processed;
        if ((status == SQL_PARAM_SUCCESS || status == SQL_PARAM_SUCCESS_WITH_INFO) &&
            !beyondProcessed) {
            continue;
        }
        ++notTaken;
        constexpr int kRowsNamed = 5;
        if (rows.size() < kRowsNamed) {
            rows.append(
                QStringLiteral("row %1 %2")
                    .arg(row + 1)
                    .arg(beyondProcessed ? QStringLiteral("not processed") : StatusName(status)));
        }
    }
    if (notTaken == 0) {
        return std::nullopt;
    }
    return QStringLiteral("The ODBC driver did not take %1 of the %2 rows of the array (%3%4).")
        .arg(notTaken)
        .arg(statuses.size())
        .arg(rows.join(QStringLiteral(", ")),
             notTaken > rows.size() ? QStringLiteral(", ...") : QString());
}

void SetOdbcAutoCommit(void* connection, bool on) {
    const SQLRETURN result = SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                                               reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(
                                                   on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                                               SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(result)) {
        throw ConnectionFailure(connection);
    }
}

void EndOdbcTransaction(void* connection, bool commit) {
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection,
                                  static_cast<SQLSMALLINT>(commit ? SQL_COMMIT : SQL_ROLLBACK)))) {
        throw ConnectionFailure(connection);
    }
}

}  // namespace quorvex
