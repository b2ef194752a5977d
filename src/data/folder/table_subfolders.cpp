#include "data/folder/table_subfolders.h"

#include "data/core/name_case.h"
#include "data/folder/paradox_table_walk.h"
#include "data/folder/path_case.h"

#include <QStringList>

#include <exception>

namespace quorvex {

namespace {

// The files of the folder that the table's data file name matches ignoring case: more than one
// only where the file system tells letter case apart.
QString DataFileSpellings(const QString& table, const QString& folder) {
    const QStringList spellings =
        SpellingsIgnoringCase(folder + QLatin1Char('/') + table + QStringLiteral(".db"));
    return spellings.size() > 1 ? spellings.join(QStringLiteral(", ")) : QString();
}

}  // namespace

QString TableSubfolders::Of(const QString& table) {
    if (!walked_) {
        walked_ = true;
        try {
            ForEachParadoxTable(folder_, [this](const QString& subfolder, const QString& listed,
                                                const QString& /*twinFile*/) {
                if (!subfolder.isEmpty() && !subfolderByTable_.contains(listed)) {
                    subfolderByTable_.insert(listed, subfolder);
                }
            });
        } catch (const std::exception&) {
            // A tree that cannot be read names no subfolder; the table is then simply missing.
        }
    }
    return subfolderByTable_.value(UpperCaseName(table));
}

QString MissingTableText(const QString& table, TableSubfolders& subfolders) {
    const QString& folder = subfolders.folder();
    if (const QString spellings = DataFileSpellings(table, folder); !spellings.isEmpty()) {
        return QStringLiteral(
                   "The Paradox table \"%1\" could be any of the files %2 of the "
                   "folder \"%3\": they differ only in letter case.")
            .arg(table, spellings, folder);
    }
    if (const QString subfolder = subfolders.Of(table); !subfolder.isEmpty()) {
        return QStringLiteral(
                   "The Paradox table \"%1\" is in the subfolder \"%2\" of the "
                   "Paradox folder, not in the folder itself. Only the folder's own "
                   "tables can be sent, deleted or renamed: nothing was done with "
                   "this one.")
            .arg(table, subfolder);
    }
    return QStringLiteral(
               "The Paradox table \"%1\" was not found: the folder \"%2\" holds no "
               "file %1.db.")
        .arg(table, folder);
}

QString MissingTableReason(const QString& table, TableSubfolders& subfolders) {
    if (const QString spellings = DataFileSpellings(table, subfolders.folder());
        !spellings.isEmpty()) {
        return QStringLiteral("its data file could be any of %1, which differ only in letter case")
            .arg(spellings);
    }
    if (const QString subfolder = subfolders.Of(table); !subfolder.isEmpty()) {
        return QStringLiteral("in the subfolder \"%1\", not in the Paradox folder itself")
            .arg(subfolder);
    }
    return QStringLiteral("no file %1.DB in the Paradox folder").arg(table);
}

namespace {

// "the subfolder "Archive/1998"", or "a subfolder" when the tree no longer holds the table.
QString SubfolderWords(const QString& table, TableSubfolders& subfolders) {
    const QString subfolder = subfolders.Of(table);
    return subfolder.isEmpty() ? QStringLiteral("a subfolder")
                               : QStringLiteral("the subfolder \"%1\"").arg(subfolder);
}

}  // namespace

QString SubfolderEntryText(const QString& table, TableSubfolders& subfolders) {
    return QStringLiteral(
               "The entry \"%1\" stands for the table in %2 of the Paradox folder. Only the "
               "folder's own tables can be sent, deleted or renamed: nothing was done with this "
               "one.")
        .arg(table, SubfolderWords(table, subfolders));
}

QString SubfolderEntryReason(const QString& table, TableSubfolders& subfolders) {
    return QStringLiteral("its file is in %1; only the folder's own tables are deleted")
        .arg(SubfolderWords(table, subfolders));
}

}  // namespace quorvex
