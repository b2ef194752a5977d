#pragma once

#include "shell/transfer_observer.h"

#include <QFile>
#include <QString>

namespace quorvex {

// `--rejects FILE`: every row that did not arrive whole, as one JSON line written the moment the
// server answered, so that nothing refused is lost even when the send is cut short:
//   {"table": "MEMO", "row": 2, "values": {"Id": "2", "Memo": "xxx..."}, "stored": false,
//    "message": "ERROR: value too long ..."}
// "values" holds every field in field order, each with the text the row was sent with (null for
// NULL); "stored" is true for a row that is in Oracle with a number it cannot hold sent as NULL.
class RejectsFile {
  public:
    // Creates (or empties) the file; false, with ErrorString(), when it cannot be written.
    bool Open(const QString& path);
    void Write(const QString& table, const SentRow& row);
    // The first write that failed, or the failure to open; empty when all went well.
    QString ErrorString() const { return error_; }

  private:
    QFile file_;
    QString error_;
};

}  // namespace quorvex
