#include "transfer/native_plan.h"

#include "data/core/failure.h"

namespace quorvex {

std::vector<NativeField> NativeFieldsOf(const TablePlan& plan) {
    std::vector<NativeField> fields;
    for (const PlannedField& field : plan.fields) {
        if (!field.paradoxType) {
            throw Failure(QStringLiteral("The table %1 is not read from a Paradox table file, so "
                                         "it has no native Oracle types.")
                              .arg(plan.table));
        }
        fields.push_back({field.name, *field.paradoxType, field.size});
    }
    return fields;
}

ParadoxTableKeys NativeKeysOf(const TablePlan& plan) {
    ParadoxTableKeys keys = ReadParadoxTableKeys(plan.sourceFile, plan.codePage);
    keys.keyFieldCount = plan.keyFieldCount;
    return keys;
}

}  // namespace quorvex
