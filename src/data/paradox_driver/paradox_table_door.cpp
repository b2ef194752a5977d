#include "data/paradox_driver/paradox_table_door.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "data/folder/table_subfolders.h"
#include "data/paradox/code_page.h"
#include "data/paradox/error.h"
#include "data/paradox/table.h"
#include "data/paradox_driver/paradox_record_source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvex {

namespace {

// A table name names a file of the folder itself: nothing that could lead elsewhere.
bool IsPlainTableName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

QString TablePath(const QString& folder, const QString& name) {
    if (!IsPlainTableName(name)) {
        throw Failure(QStringLiteral("\"%1\" is not a valid Paradox table name.").arg(name));
    }
    const QString base = QDir(folder).filePath(name);
    QStringList candidates{base + QStringLiteral(".db")};
    if (name.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive)) {
        candidates.append(base);
    }
    // A name that two files answer to (T.DB beside T.db) is refused: the rows of one must never
    // be read for the other. Such a table is named by its file's own name. (Where ".db" is not
    // spelled so on disk, the lookup ignoring case below already finds no single file.)
    if (QFileInfo::exists(candidates.first()) &&
        SpellingsIgnoringCase(candidates.first()).size() > 1) {
        TableSubfolders subfolders(folder);
        throw Failure(MissingTableText(name, subfolders));
    }
    for (const QString& candidate : candidates) {
        const QString resolved = ResolvePathIgnoringCase(candidate);
        if (QFileInfo(resolved).isFile()) {
            return resolved;
        }
    }
    // A table listed from a subfolder is named with it: the listing walks the whole tree.
    TableSubfolders subfolders(folder);
    throw Failure(MissingTableText(name, subfolders));
}

}  // namespace

bool IsKnownParadoxCodePage(int codePage) {
    return codePage > 0 && paradox::CodePageFor(codePage, std::string()).has_value();
}

OpenedParadoxTable OpenParadoxTable(const QString& folder, const QString& name,
                                    const ParadoxTableOptions& options) {
    const QString path = TablePath(ResolvePathIgnoringCase(folder), name);
    try {
        paradox::Table table = paradox::Table::Open(QFile::encodeName(path).toStdString(),
                                                    paradox::OpenOptions{options.codePage});
        std::unique_ptr<ParadoxRows> rows =
            MakeParadoxRecordSource(std::move(table), options.exactDecimals);
        ParadoxTableFacts facts = rows->facts();
        facts.file = path;
        return {std::move(facts), std::move(rows)};
    } catch (const paradox::Error& error) {
        throw Failure(QString::fromUtf8(error.what()));
    }
}

}  // namespace quorvex
