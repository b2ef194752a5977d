#include "data/paradox_driver/paradox_driver.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "data/paradox_driver/paradox_table_door.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace quorvex {

namespace {

// The one statement the driver serves: SELECT * FROM "<name>", keywords in any case.
const QRegularExpression& SelectAllStatement() {
    static const QRegularExpression pattern(
        QStringLiteral(R"re(^\s*SELECT\s+\*\s+FROM\s+"([^"]*)"\s*;?\s*$)re"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

[[noreturn]] void RefuseStatement(const QString& statement) {
    throw Failure(QStringLiteral("The Paradox driver runs only SELECT * FROM \"<table>\" "
                                 "statements; it cannot run: %1")
                      .arg(statement));
}

class ParadoxConnection : public ParadoxDriverConnection {
  public:
    explicit ParadoxConnection(QString folder) : folder_(std::move(folder)) {}

    void execute(const QString& statement) override { RefuseStatement(statement); }
    void executeBound(const QString& statement, const std::vector<Value>& /*values*/) override {
        RefuseStatement(statement);
    }

    std::unique_ptr<RecordSource> query(const QString& statement, int /*cursorLocation*/) override {
        // Both cursor locations give the exact count up front: the reader walks the block
        // chain when it opens a table.
        const QRegularExpressionMatch match = SelectAllStatement().match(statement);
        if (!match.hasMatch()) {
            RefuseStatement(statement);
        }
        return openTable(match.captured(1), {}).rows;
    }

    OpenedParadoxTable openTable(const QString& name, const ParadoxTableOptions& options) override {
        return OpenParadoxTable(folder_, name, options);
    }

  private:
    QString folder_;
};

}  // namespace

std::unique_ptr<DriverConnection> OpenParadoxDriver(const QString& folder) {
    if (folder.isEmpty()) {
        throw Failure(QStringLiteral("No Paradox folder was given (DefaultDir or Dbq)."));
    }
    const QString resolved = ResolvePathIgnoringCase(folder);
    if (!QFileInfo(resolved).isDir()) {
        throw Failure(QStringLiteral("The Paradox folder \"%1\" does not exist or is not a "
                                     "folder.")
                          .arg(folder));
    }
    return std::make_unique<ParadoxConnection>(resolved);
}

}  // namespace quorvex
