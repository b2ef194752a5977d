#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quorvex {

// The name of the constant of a recordset field's data type code (ADO's DataTypeEnum), spelled
// as the data access component spells it, for example 200 -> "adVarChar". The column type of a
// copied table is chosen from this name. A code outside the table of 39 known names gives no
// name (std::nullopt); callers that want a text take value_or(QString()), the empty text.
std::optional<QString> DataTypeName(qint16 code);

}  // namespace quorvex
