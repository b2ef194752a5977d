#include "data/paradox_driver.h"

#include "data/failure.h"
#include "data/paradox/error.h"
#include "data/paradox/table.h"
#include "data/paradox_record_source.h"
#include "data/path_case.h"
#include "data/table_subfolders.h"

#include <QDir>
#include <QFile>
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

// A table name names a file of the folder itself: nothing that could lead elsewhere.
bool IsPlainTableName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

class ParadoxConnection : public DriverConnection {
  public:
    explicit ParadoxConnection(QString folder) : folder_(folder), subfolders_(std::move(folder)) {}

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
        const QString name = match.captured(1);
        const QString path = TablePath(name);
        try {
            return MakeParadoxRecordSource(
                paradox::Table::Open(QFile::encodeName(path).toStdString()));
        } catch (const paradox::Error& error) {
            throw Failure(QString::fromUtf8(error.what()));
        }
    }

  private:
    QString TablePath(const QString& name) {
        if (!IsPlainTableName(name)) {
            throw Failure(QStringLiteral("\"%1\" is not a valid Paradox table name.").arg(name));
        }
        const QString base = QDir(folder_).filePath(name);
        QStringList candidates{base + QStringLiteral(".db")};
        if (name.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive)) {
            candidates.append(base);
        }
        // A name that two files answer to (T.DB beside T.db) is refused: the rows of one must never
        // be read for the other. Such a table is named by its file's own name. (Where ".db" is
        // not spelled so on disk, the lookup ignoring case below already finds no single file.)
        if (QFileInfo::exists(candidates.first()) &&
            SpellingsIgnoringCase(candidates.first()).size() > 1) {
            throw Failure(MissingTableText(name, subfolders_));
        }
        for (const QString& candidate : candidates) {
            const QString resolved = ResolvePathIgnoringCase(candidate);
            if (QFileInfo(resolved).isFile()) {
                return resolved;
            }
        }
        // A table listed from a subfolder is named with it: the listing walks the whole tree.
        throw Failure(MissingTableText(name, subfolders_));
    }

    QString folder_;
    TableSubfolders subfolders_;  // walked only when a table is missing
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
