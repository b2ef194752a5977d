#include "cli/rejects_file.h"

#include "cli/whole_file.h"
#include "transfer/sent_value.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

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

RejectsFile::~RejectsFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool RejectsFile::Open(const QString& path, std::function<void()> failed) {
    failed_ = std::move(failed);
    descriptor_ =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor_ < 0) {
        error_ = SystemReason(errno);
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
    if (descriptor_ < 0 || !error_.isEmpty()) {
        return;  // closed, or failed already: the send is stopping
    }
    // Each line goes to the file system at once (no buffer holds it); one that does not fit is
    // taken back, so the file ends with the last whole line.
    if (WriteEveryByte(descriptor_, line)) {
        written_ += line.size();
        return;
    }
    error_ = SystemReason(errno);
    [[maybe_unused]] const int cut = ::ftruncate(descriptor_, written_);
    if (failed_) {
        failed_();
    }
}

QString RejectsFile::Close() {
    if (descriptor_ >= 0) {
        if (::close(descriptor_) != 0 && error_.isEmpty()) {
            error_ = SystemReason(errno);
        }
        descriptor_ = -1;
    }
    return error_;
}

}  // namespace quorvex
