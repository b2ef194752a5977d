#pragma once

#include "data/paradox_driver/paradox_table_keys.h"
#include "transfer/native_statements.h"
#include "transfer/table_plan.h"

#include <vector>

namespace quorvex {

// A table's plan as the native copy needs it: each field's Paradox type and size (refused with
// Failure for a table that is not a Paradox table), and the key and secondary indexes read from
// the index files beside its table file.
std::vector<NativeField> NativeFieldsOf(const TablePlan& plan);
ParadoxTableKeys NativeKeysOf(const TablePlan& plan);

}  // namespace quorvex
