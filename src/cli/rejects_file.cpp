#include "cli/rejects_file.h"

#include "transfer/sent_value.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace quorvex {

namespace {

// The characters of the window's text columns, NVARCHAR2(2000).
constexpr qsizetype kLongestColumnText = 2000;

}  // namespace

QByteArray JsonString(const QString& text) {
    // QJsonDocument escapes it inside a one-element array.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

bool RejectsFile::Open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

void RejectsFile::Write(const QString& table, const SentRow& row) {
    const std::size_t count = row.values != nullptr ? row.values->size() : 0;
    std::vector<QString> names;
    std::vector<std::optional<QString>> values;
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(row.fieldNames != nullptr && i < row.fieldNames->size()
                            ? (*row.fieldNames)[i]
                            : QString::number(i + 1));
        values.push_back(SentText((*row.values)[i]));
    }
    WriteLine(table, row.number, names, values, row.stored, row.problem);
}

void RejectsFile::Write(const RowProblem& row) {
    WriteLine(row.table, row.rowNumber, row.fieldNames, row.values, row.stored, row.message);
}

void RejectsFile::WriteLine(const QString& table, std::int64_t number,
                            const std::vector<QString>& names,
                            const std::vector<std::optional<QString>>& values, bool stored,
                            const QString& message) {
    // Written by hand rather than through QJsonObject, which would sort the fields by name.
    QByteArray line = "{\"table\": " + JsonString(table) +
                      ", \"row\": " + QByteArray::number(static_cast<qlonglong>(number)) +
                      ", \"values\": {";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString name = i < names.size() ? names[i] : QString::number(i + 1);
        line += (i == 0 ? "" : ", ") + JsonString(name) + ": " +
                (values[i] ? JsonString(*values[i]) : QByteArray("null"));
    }
    line += "}, \"stored\": " + QByteArray(stored ? "true" : "false") +
            ", \"message\": " + JsonString(message);
    // The one value that makes the window's send refuse a row for its length: a memo's text over
    // what NVARCHAR2(2000) holds (the bytes of a BLOB, shown in hex, are bound whole).
    static const QRegularExpression hex(QStringLiteral("^[0-9A-F]*$"));
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] && values[i]->size() > kLongestColumnText &&
            !hex.match(*values[i]).hasMatch()) {
            const QString name = i < names.size() ? names[i] : QString::number(i + 1);
            line += ", \"note\": " +
                    JsonString(QStringLiteral("%1 holds %2 characters, more than NVARCHAR2(2000) "
                                              "holds: send --native carries it whole (NCLOB)")
                                   .arg(name)
                                   .arg(values[i]->size()));
            break;
        }
    }
    line += "}\n";
    if (file_.write(line) != line.size() && error_.isEmpty()) {
        error_ = file_.errorString();
    }
}

}  // namespace quorvex
