#include "data/paradox_driver/paradox_table_keys.h"

#include "data/core/failure.h"
#include "data/paradox/error.h"
#include "data/paradox/table.h"
#include "data/paradox/table_indexes.h"

#include <QFile>
#include <QFileInfo>

namespace quorvex {

ParadoxTableKeys ReadParadoxTableKeys(const QString& tablePath, std::optional<int> codePage) {
    const std::string path = QFile::encodeName(tablePath).toStdString();
    try {
        const paradox::Table table = paradox::Table::Open(path, paradox::OpenOptions{codePage});
        const paradox::TableIndexes found = paradox::ReadTableIndexes(path, table);
        ParadoxTableKeys keys;
        keys.keyFieldCount = table.header().keyFieldCount;
        keys.primaryIndexFound = !found.primaryIndexFile.empty();
        for (const paradox::SecondaryIndex& index : found.secondary) {
            ParadoxIndex& made = keys.indexes.emplace_back();
            made.name = QString::fromStdString(index.name);
            made.tag = QFileInfo(QFile::decodeName(index.file.c_str())).suffix().toUpper();
            made.fields.assign(index.fields.begin(), index.fields.end());
        }
        for (const paradox::Error& error : found.damaged) {
            keys.damaged.append(QString::fromUtf8(error.what()));
        }
        return keys;
    } catch (const paradox::Error& error) {
        throw Failure(QString::fromUtf8(error.what()));
    }
}

}  // namespace quorvex
