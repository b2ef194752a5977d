#include "cli/rejects_file.h"

#include "transfer/value_text.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace quorvex {

namespace {

// A JSON string: QJsonDocument escapes it inside a one-element array.
QByteArray JsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

}  // namespace

bool RejectsFile::Open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

void RejectsFile::Write(const QString& table, const SentRow& row) {
    // Written by hand rather than through QJsonObject, which would sort the fields by name.
    QByteArray line = "{\"table\": " + JsonString(table) +
                      ", \"row\": " + QByteArray::number(static_cast<qlonglong>(row.number)) +
                      ", \"values\": {";
    const std::size_t count = row.values != nullptr ? row.values->size() : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const QString name = row.fieldNames != nullptr && i < row.fieldNames->size()
                                 ? (*row.fieldNames)[i]
                                 : QString::number(i + 1);
        const QString text = ValueText((*row.values)[i]);
        line += (i == 0 ? "" : ", ") + JsonString(name) + ": " +
                (text.isEmpty() ? QByteArray("null") : JsonString(text));
    }
    line += "}, \"stored\": " + QByteArray(row.stored ? "true" : "false") +
            ", \"message\": " + JsonString(row.problem) + "}\n";
    if (file_.write(line) != line.size() && error_.isEmpty()) {
        error_ = file_.errorString();
    }
}

}  // namespace quorvex
