#include "data/access/connection.h"

#include "data/core/connection_string_parser.h"
#include "data/core/failure.h"
#include "data/oracle/odbc_driver.h"
#include "data/oracle/odbc_driver_resolution.h"
#include "data/paradox_driver/paradox_driver.h"

namespace quorvex {
namespace {

std::unique_ptr<DriverConnection> OpenDriver(const QString& connectionString) {
    const QString driver = ConnectionStringValue(connectionString, QStringLiteral("Driver"));
    if (driver.compare(kParadoxDriverName, Qt::CaseInsensitive) == 0) {
        QString folder = ConnectionStringValue(connectionString, QStringLiteral("DefaultDir"));
        if (folder.isEmpty())
            folder = ConnectionStringValue(connectionString, QStringLiteral("Dbq"));
        return OpenParadoxDriver(folder);
    }
    if (driver.compare(kOracleDriverName, Qt::CaseInsensitive) == 0) {
        return OpenOdbcDriver(
            ResolveOdbcConnectionString(connectionString, InstalledOdbcDrivers()));
    }
    return OpenOdbcDriver(connectionString);
}

}  // namespace

Connection::Connection() = default;

Connection::~Connection() = default;

void Connection::Open(const QString& connectionString) {
    if (IsOpen()) throw Failure(QStringLiteral("The connection is already open."));
    driver_ = OpenDriver(connectionString);
}

void Connection::Execute(const QString& statement) {
    RequireOpen();
    driver_->execute(statement);
}

void Connection::Execute(const QString& statement, const std::vector<Value>& boundValues) {
    if (boundValues.empty()) {
        Execute(statement);
        return;
    }
    RequireOpen();
    driver_->executeBound(statement, boundValues);
}

void Connection::Close() { driver_.reset(); }

int Connection::MaxTableNameLength() {
    RequireOpen();
    return driver_->maxTableNameLength();
}

int Connection::MaxColumnNameLength() {
    RequireOpen();
    return driver_->maxColumnNameLength();
}

void* Connection::OdbcConnectionHandle() {
    RequireOpen();
    return driver_->odbcConnectionHandle();
}

std::unique_ptr<RecordSource> Connection::Query(const QString& statement) {
    RequireOpen();
    return driver_->query(statement, cursorLocation_);
}

OpenedParadoxTable Connection::OpenParadoxTable(const QString& name,
                                                const ParadoxTableOptions& options) {
    RequireOpen();
    auto* paradox = dynamic_cast<ParadoxDriverConnection*>(driver_.get());
    if (paradox == nullptr) {
        throw Failure(
            QStringLiteral("Only a connection to a Paradox folder opens a table by "
                           "name."));
    }
    return paradox->openTable(name, options);
}

void Connection::RequireOpen() const {
    if (!IsOpen()) throw Failure(QStringLiteral("The connection is not open."));
}

void Recordset::Open(const QString& source, Connection& activeConnection) {
    if (IsOpen()) throw Failure(QStringLiteral("The recordset is already open."));
    source_ = activeConnection.Query(source);
}

void Recordset::Open(std::unique_ptr<RecordSource> rows) {
    if (IsOpen()) throw Failure(QStringLiteral("The recordset is already open."));
    source_ = std::move(rows);
}

int Recordset::FieldCount() const { return Require().fieldCount(); }

QString Recordset::FieldName(int index) const { return Require().fieldName(index); }

int Recordset::FieldType(int index) const { return Require().fieldType(index); }

Value Recordset::FieldValue(int index) const {
    // Reading a value leaves the result where it stands; the source may still fetch lazily.
    if (!source_) throw Failure(QStringLiteral("The recordset is not open."));
    return source_->fieldValue(index);
}

std::int64_t Recordset::RecordCount() const { return Require().recordCount(); }

bool Recordset::Eof() const { return Require().atEnd(); }

void Recordset::MoveNext() { Require().moveNext(); }

void Recordset::Close() { source_.reset(); }

const ParadoxTableFacts* Recordset::ParadoxFacts() const {
    const auto* rows = dynamic_cast<const ParadoxRows*>(source_.get());
    return rows != nullptr ? &rows->facts() : nullptr;
}

const RecordSource& Recordset::Require() const {
    if (!source_) throw Failure(QStringLiteral("The recordset is not open."));
    return *source_;
}

RecordSource& Recordset::Require() {
    if (!source_) throw Failure(QStringLiteral("The recordset is not open."));
    return *source_;
}

}  // namespace quorvex
