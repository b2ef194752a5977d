#pragma once

#include "data/core/record_source.h"
#include "data/paradox/field.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvex {

// What the reader knows of a table beyond its rows.
struct ParadoxFieldFacts {
    QString name;
    paradox::FieldType type{};
    int size = 0;     // the descriptor's size byte: length of an Alpha, scale of a BCD...
    int adoType = 0;  // the type code the rows are delivered with
};

struct ParadoxTableFacts {
    std::vector<ParadoxFieldFacts> fields;
    int keyFieldCount = 0;  // the first fields, in order, that make the primary key; 0 unkeyed
    int codePage = 0;       // the code page the text is read in (the header's or the option's)
    std::int64_t rowCount = 0;
    QString file;  // the table file it is read from
};

// The rows of a Paradox table, which also tell the facts of their table.
class ParadoxRows : public RecordSource {
  public:
    virtual const ParadoxTableFacts& facts() const = 0;
};

}  // namespace quorvex
