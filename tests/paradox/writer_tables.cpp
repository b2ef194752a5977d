#include "writer_tables.h"

#include "data/paradox/calendar.h"
#include "data/paradox/table.h"

namespace quorvex::test {

namespace {

using paradox::FieldType;
using paradox::Value;

constexpr std::uint8_t kMemoLeader = 40;

// `length` characters of `unit` repeated (UTF-8 in, counted in characters: each of them is one
// byte in the table's code page).
std::string Repeat(const std::string& unit, std::size_t length) {
    std::string text;
    std::size_t i = 0;
    for (std::size_t characters = 0; characters < length; ++characters) {
        // One whole character: its first byte and any continuation bytes.
        do {
            text += unit[i];
            i = (i + 1) % unit.size();
        } while ((static_cast<unsigned char>(unit[i]) & 0xC0) == 0x80);
    }
    return text;
}

paradox::ByteVector Pattern(std::size_t length, std::uint8_t seed) {
    paradox::ByteVector bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 13 + i / 251);
    }
    if (length > 0 && bytes[0] == 0) {
        bytes[0] = 1;
    }
    return bytes;
}

Value Day(int y, int m, int d) { return Value::Date({paradox::DayNumberFromCivil(y, m, d)}); }

Value Stamp(int y, int m, int d, std::int64_t ms) {
    return Value::Stamp(
        {std::int64_t{paradox::DayNumberFromCivil(y, m, d)} * paradox::kMillisecondsPerDay + ms});
}

// A word with letters outside ASCII that the code page can hold.
std::string Accented(int codePage) {
    switch (codePage) {
        case 437:
            return "Ünïcödé ÄÖÜ ß £ ½ ▒";
        case 850:
            return "Ünïcödé ÏÂ Ø ß ½";
        default:
            return "Ünïcödé € Š ‰ ß ©";
    }
}

}  // namespace

pxwriter::TableDesign EveryTypeDesign(pxwriter::Version version, int codePage,
                                      std::uint8_t blockKib, std::uint32_t scrambleKey) {
    pxwriter::TableDesign design;
    design.version = version;
    design.codePage = codePage;
    design.blockSizeKib = blockKib;
    design.scrambleKey = scrambleKey;
    design.fields = {
        {"Id", FieldType::AutoIncrement},
        {"Name Ä", FieldType::Alpha, 240},
        {"Code", FieldType::Alpha, 1},
        {"Born", FieldType::Date},
        {"Small", FieldType::Short},
        {"Big", FieldType::Long},
        {"Price", FieldType::Money},
        {"Ratio", FieldType::Number},
        {"Done", FieldType::Logical},
        {"Notes", FieldType::Memo, static_cast<std::uint8_t>(kMemoLeader + 10)},
        {"Data", FieldType::Blob, 10},
        {"Rich", FieldType::FormattedMemo, 20},
        {"Object", FieldType::Ole, 10},
        {"Picture", FieldType::Graphic, 30},
        {"At", FieldType::Time},
        {"Stamp", FieldType::Timestamp},
        {"Cents", FieldType::Bcd, 2},
        {"Whole", FieldType::Bcd, 0},
        {"Fine", FieldType::Bcd, 32},
        {"Raw", FieldType::Bytes, 4},
    };
    return design;
}

std::vector<Row> EdgeRows(int codePage) {
    std::vector<Row> rows;
    // Every field NULL.
    rows.push_back(Row(20, Value()));
    // Memo lengths around the leader and the .MB block kinds.
    const std::size_t memoLengths[] = {1,    kMemoLeader, kMemoLeader + 1, 16 * 20,  2047,
                                       2048, 2049,        4096 - 9,        4096 - 8, 100 * 1024};
    int id = 1;
    for (const std::size_t length : memoLengths) {
        rows.push_back(Row{
            Value::Integer(id),
            Value::Text(Repeat(Accented(codePage) + " ", 240)),
            Value::Text("Z"),
            Day(1, 1, 1),
            Value::Integer(-32767),
            Value::Integer(2147483647),
            Value::Number(-0.16999999999999998),
            Value::Number(0.0),
            Value::Logical(false),
            Value::Text(Repeat(Accented(codePage) + "\r\n\t", length)),
            Value::Raw(Pattern(length, static_cast<std::uint8_t>(id))),
            Value::Raw(Pattern(length, 3)),
            Value::Raw(Pattern(length + 1, 5)),
            Value::Raw(Pattern(length, 0x42)),
            Value::Time({0}),
            Stamp(1, 1, 1, 0),
            Value::Dec({"-12345.67"}),
            Value::Dec({"0"}),
            Value::Dec({"0.12345678901234567890123456789012"}),
            Value::Raw({1, 0, 0, 2}),
        });
        ++id;
    }
    // The other ends of the ranges.
    rows.push_back(Row{
        Value::Integer(2147483647),
        Value::Text(std::string(240, 'x')),
        Value::Text("a"),
        Day(9999, 12, 31),
        Value::Integer(32767),
        Value::Integer(-2147483647),
        Value::Number(1.7976931348623157e308),
        Value::Number(-5e-324),
        Value::Logical(true),
        Value::Text("ß"),
        Value::Raw({0}),
        Value::Raw({0, 0, 0}),
        Value::Raw({0xFF}),
        Value::Raw({0}),
        Value::Time({86399999}),
        Stamp(9999, 12, 31, 86399999),
        Value::Dec({"99999999999999999999999999999.99"}),
        Value::Dec({"-99999999999999999999999999999999"}),
        Value::Dec({"-0.00000000000000000000000000000001"}),
        Value::Raw({0xFF, 0xFF, 0xFF, 0xFF}),
    });
    // Ordinary values with a zero that is not NULL.
    rows.push_back(Row{Value::Integer(0),
                       Value::Text(" padded "),
                       Value(),
                       Day(2000, 2, 29),
                       Value::Integer(0),
                       Value::Integer(0),
                       Value::Number(-0.0),
                       Value::Number(1e-300),
                       Value(),
                       Value(),
                       Value(),
                       Value(),
                       Value(),
                       Value(),
                       Value::Time({12 * 3600000 + 1}),
                       Stamp(1970, 1, 1, 0),
                       Value::Dec({"0.01"}),
                       Value(),
                       Value::Dec({"0"}),
                       Value()});
    return rows;
}

Row AsRead(const pxwriter::TableDesign& design, Row row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (design.fields[i].type == FieldType::Bytes && !row[i].isNull()) {
            paradox::ByteVector bytes = row[i].bytes();
            bytes.resize(design.fields[i].size, 0);
            row[i] = Value::Raw(bytes);
        }
    }
    return row;
}

std::vector<Row> ReadAllRows(const std::string& path) {
    paradox::Table table = paradox::Table::Open(path);
    std::vector<Row> rows;
    Row row;
    while (table.next()) {
        table.readRow(row);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace quorvex::test
