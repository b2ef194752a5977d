#pragma once

#include "data/core/record_source.h"
#include "data/core/value.h"
#include "data/paradox/table.h"
#include "data/paradox_driver/paradox_table_facts.h"

#include <memory>

namespace quorvex {

// The ADO type code the Paradox driver reports for a field type.
int AdoTypeOfParadoxField(paradox::FieldType type);

// A reader value as the data access layer carries it: text as QString, BCD as a double, dates
// and times as Qt values (timestamps in UTC, so no local-time shift can touch them).
Value ToDataValue(const paradox::Value& value);

// The rows of one Paradox table, standing on the first row once made. The count is exact from
// the start; rows are read from the file one block at a time as the cursor moves. Reader
// errors come out as Failure with the reader's message. With `exactDecimals` a BCD value comes
// as the text of its digits instead of a double.
std::unique_ptr<ParadoxRows> MakeParadoxRecordSource(paradox::Table table,
                                                     bool exactDecimals = false);

}  // namespace quorvex
