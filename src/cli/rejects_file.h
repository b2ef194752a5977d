#pragma once

#include "shell/transfer_observer.h"
#include "transfer/bulk_table_copy.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvex {

// A text as a JSON string, quoted and escaped.
QByteArray JsonString(const QString& text);

// `--rejects FILE`: every row that did not arrive whole, as one JSON line written the moment the
// server answered, so that nothing refused is lost even when the send is cut short (with --bulk, a
// row stored with NULL for a number is written once its table is committed or rolled back):
//   {"table": "MEMO", "row": 2, "values": {"Id": "2", "Memo": "xxx..."}, "stored": false,
//    "message": "ERROR: value too long ..."}
// "values" holds every field in field order, each with the text the row was sent with (null for
// NULL); "stored" is true for a row that is in Oracle with a number it cannot hold sent as NULL
// (false for such a row of a bulk table that was rolled back).
class RejectsFile {
  public:
    // Creates (or empties) the file; false, with ErrorString(), when it cannot be written.
    bool Open(const QString& path);
    void Write(const QString& table, const SentRow& row);
    void Write(const RowProblem& row);  // of a bulk send
    // The first write that failed, or the failure to open; empty when all went well.
    QString ErrorString() const { return error_; }

  private:
    void WriteLine(const QString& table, std::int64_t number, const std::vector<QString>& names,
                   const std::vector<std::optional<QString>>& values, bool stored,
                   const QString& message);

    QFile file_;
    QString error_;
};

}  // namespace quorvex
