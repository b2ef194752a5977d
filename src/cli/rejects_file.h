#pragma once

#include "shell/transfer_observer.h"
#include "transfer/bulk_table_copy.h"

#include <QString>

#include <cstdint>
#include <functional>
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
// Each line is handed to the file system as it is written; the first that fails (a full disk, a
// quota, a file-size limit) is taken back whole, `failed` is called at once (the send stops: rows
// must not be refused into a file that cannot hold them) and nothing more is written.
class RejectsFile {
  public:
    RejectsFile() = default;
    ~RejectsFile();
    RejectsFile(const RejectsFile&) = delete;
    RejectsFile& operator=(const RejectsFile&) = delete;

    // Creates (or empties) the file; false, with ErrorString(), when it cannot be written.
    bool Open(const QString& path, std::function<void()> failed = {});
    void Write(const QString& table, const SentRow& row);
    void Write(const RowProblem& row);  // of a bulk send
    // Closes the file; returns ErrorString(), which then includes a failure to close.
    QString Close();
    // The system's reason for the first write that failed, or the failure to open; empty when
    // all went well.
    QString ErrorString() const { return error_; }

  private:
    void WriteLine(const QString& table, std::int64_t number, const std::vector<QString>& names,
                   const std::vector<std::optional<QString>>& values, bool stored,
                   const QString& message);

    int descriptor_ = -1;
    qint64 written_ = 0;  // bytes of whole lines in the file
    std::function<void()> failed_;
    QString error_;
};

}  // namespace quorvex
