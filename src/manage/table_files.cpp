#include "manage/table_files.h"

#include "data/core/name_case.h"
#include "data/folder/path_case.h"

#include <QDir>
#include <QRegularExpression>

namespace quorvex {

QString DataFilePath(const QString& folder, const QString& tableName, const QString& extension) {
    return folder + QLatin1Char('/') + tableName + extension;
}

bool IsParadoxCompanionExtension(const QString& extension) {
    static const QRegularExpression companion(
        QStringLiteral("^(PX|MB|VAL|TV|FAM|[XY][0-9A-F]{2}|[XY]G[0-9A-F])$"),
        QRegularExpression::CaseInsensitiveOption);
    return companion.match(extension).hasMatch();
}

FileNameParts SplitFileName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return {fileName, QString()};
    }
    return {fileName.left(dot), fileName.mid(dot + 1)};
}

QStringList CompanionFileNames(const QString& folder, const QString& tableName) {
    // The same folder the data file path names: an empty folder text means the root.
    const QDir dir(ResolvePathIgnoringCase(folder.isEmpty() ? QStringLiteral("/") : folder));
    if (!dir.exists()) {
        return {};
    }
    QStringList companions;
    const QString table = UpperCaseName(tableName);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& file : files) {
        const FileNameParts parts = SplitFileName(file);
        if (UpperCaseName(parts.base) == table && IsParadoxCompanionExtension(parts.extension)) {
            companions.append(file);
        }
    }
    return companions;
}

}  // namespace quorvex
