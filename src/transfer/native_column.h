#pragma once

#include "data/paradox_driver/paradox_table_keys.h"

#include <QString>

namespace quorvex {

// The kinds of Oracle column a Paradox field becomes in a native copy, each keeping its values
// exactly (the window's copy keeps its own types, see create_table_statement.h).
enum class NativeKind {
    Text,       // alpha A(n): NVARCHAR2(n)
    LongText,   // memo M: NCLOB, any length
    Bytes,      // formatted memo, binary, OLE, graphic: BLOB
    Raw,        // bytes Y(n): RAW(n)
    Integer,    // short, long, autoincrement: NUMBER(5) / NUMBER(10)
    Double,     // number, money: BINARY_DOUBLE, the very same IEEE double, infinities and NaN too
    Decimal,    // BCD #(s): NUMBER(32,s), every stored digit
    Logical,    // logical L: NUMBER(1), 0 or 1 by a check
    Date,       // date D: DATE
    Time,       // time T: INTERVAL DAY TO SECOND(3), the time since midnight to the millisecond
    Timestamp,  // timestamp @: TIMESTAMP(3)
};

struct NativeColumn {
    NativeKind kind = NativeKind::Text;
    QString word;   // the column type in CREATE TABLE: NVARCHAR2(40), NUMBER(32,2), ...
    int scale = 0;  // the digits after the decimal point of a Decimal column
};

// The native column of a Paradox field of this type and descriptor size byte (the length of an
// alpha or bytes field, the scale of a BCD field).
NativeColumn NativeColumnFor(paradox::FieldType type, int size);

// True for the kinds Oracle keeps in LOBs, whose long bound values must come after every other
// bound value of a statement (ORA-24816): their columns go last in a native INSERT.
bool IsLobKind(NativeKind kind);

}  // namespace quorvex
