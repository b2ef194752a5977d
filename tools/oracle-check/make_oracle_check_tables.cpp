// Writes the Paradox tables of oracle-check.sh into a folder and prints, one line per row, what
// should arrive of each on the server:
//
//   make_oracle_check_tables FOLDER
//
// Each line is tab-separated: "text", the table, the row's Id and its text; or "bytes", the
// table, the Id, the picture's length, its first and last 16 bytes in upper-case hex (empty for
// no picture) and the memo's length in characters. QVX_TYPES and QVX_TYPES2 hold every field type
// and are checked with `quorvex verify` instead; QVX_NATIVE, keyed, with `quorvex verify --native`.

#include "data/paradox/calendar.h"
#include "table_writer.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace px = quorvex::paradox;
namespace pw = quorvex::pxwriter;

using Row = std::vector<px::Value>;

std::string Folder;

void Write(const std::string& name, std::vector<pw::FieldDesign> fields,
           const std::vector<Row>& rows, int codePage) {
    pw::TableDesign design;
    design.fields = std::move(fields);
    design.codePage = codePage;
    pw::WriteTable(Folder + "/" + name + ".DB", design, rows);
}

// Texts: what a database character set that is not Unicode would replace in a literal.
void WriteTexts(const std::string& table, const std::vector<std::string>& texts, int codePage) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        rows.push_back({px::Value::Integer(static_cast<int>(i) + 1), px::Value::Text(texts[i])});
        std::printf("text\t%s\t%zu\t%s\n", table.c_str(), i + 1, texts[i].c_str());
    }
    Write(table, {{"Id", px::FieldType::Short}, {"Text", px::FieldType::Alpha, 40}}, rows,
          codePage);
}

px::ByteVector Picture(std::size_t size) {
    px::ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 % 251);
    return bytes;
}

std::string Hex(const px::ByteVector& bytes, std::size_t from, std::size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = from; i < from + count && i < bytes.size(); ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

// Long binary binds and their order: a picture over 2,000 bytes is bound as long binary and goes
// after a bound memo (1,500 Chinese characters: 4,500 bytes in UTF-8, so bound too).
void WriteLobs() {
    std::string chinese;
    for (int i = 0; i < 1500; ++i) chinese += "\xE6\xB1\x89";  // U+6C49
    struct Case {
        std::size_t picture;
        std::string memo;
        std::size_t memoCharacters;
    };
    const std::vector<Case> cases = {
        {3000, chinese, 1500}, {5 * 1024 * 1024, "short memo", 10}, {2000, "", 0}, {2001, "", 0}};
    std::vector<Row> rows;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const px::ByteVector picture = Picture(cases[i].picture);
        rows.push_back({px::Value::Integer(static_cast<int>(i) + 1), px::Value::Raw(picture),
                        cases[i].memo.empty() ? px::Value() : px::Value::Text(cases[i].memo)});
        std::printf("bytes\tQVX_LOB\t%zu\t%zu\t%s\t%s\t%zu\n", i + 1, picture.size(),
                    Hex(picture, 0, 16).c_str(), Hex(picture, picture.size() - 16, 16).c_str(),
                    cases[i].memoCharacters);
    }
    Write("QVX_LOB",
          {{"Id", px::FieldType::Short},
           {"Picture", px::FieldType::Blob, 10},
           {"Memo", px::FieldType::Memo, 10}},
          rows, 936);
}

// Every field type, in rows enough to make several arrays of a bulk send: numbers a driver may
// describe oddly (1E+15 in a FLOAT, fractions, a negative exponent), dates, times, timestamps,
// Booleans, memos of up to 2,000 characters in ASCII and in Chinese (over 4,000 bytes as UTF-8,
// 4,000 as UTF-16), pictures on either side of 2,000 bytes, BCD and bytes.
void WriteEveryType(const std::string& table, int rows) {
    const std::vector<double> numbers = {1e15, 0.5, -2.5e-5, 1.0 / 3, 123456789012345.0, 0, -7};
    const std::vector<std::size_t> memoLengths = {10, 1000, 1334, 1500, 2000};
    const std::vector<std::size_t> pictures = {0, 100, 2000, 2001, 3000};
    std::vector<Row> values;
    for (int i = 1; i <= rows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        std::string memo;
        const std::size_t memoLength = memoLengths[at % memoLengths.size()];
        for (std::size_t c = 0; c < memoLength; ++c) {
            memo += i % 2 == 0 ? std::string("\xE6\xB1\x89") : std::string(1, char('a' + c % 26));
        }
        const std::size_t picture = pictures[at % pictures.size()];
        const std::int32_t day = px::DayNumberFromCivil(1990 + i % 40, 1 + i % 12, 1 + i % 28);
        values.push_back({
            px::Value::Integer(i),
            px::Value::Text("row " + std::to_string(i) + (i % 3 == 0 ? " O'Brien" : "")),
            px::Value::Date({day}),
            px::Value::Integer(i % 2 == 0 ? -i : i * 100),
            px::Value::Number(numbers[at % numbers.size()]),
            px::Value::Number(i * 0.17),
            px::Value::Logical(i % 2 == 0),
            memo.empty() ? px::Value() : px::Value::Text(memo),
            picture == 0 ? px::Value() : px::Value::Raw(Picture(picture)),
            px::Value::Time({((i % 24) * 3600 + (i % 60) * 60 + i % 60) * 1000}),
            px::Value::Stamp({std::int64_t{day} * 86400000 + std::int64_t{i % 24} * 3600000}),
            px::Value::Dec(
                {std::to_string(i) + "." + std::to_string(i % 100 / 10) + std::to_string(i % 10)}),
            px::Value::Raw(px::ByteVector{static_cast<std::uint8_t>(i), 0, 0xFF,
                                          static_cast<std::uint8_t>(i * 3)}),
        });
    }
    Write(table,
          {{"Id", px::FieldType::Long},
           {"Name", px::FieldType::Alpha, 30},
           {"Day", px::FieldType::Date},
           {"Short", px::FieldType::Short},
           {"Amount", px::FieldType::Number},
           {"Price", px::FieldType::Money},
           {"Paid", px::FieldType::Logical},
           {"Memo", px::FieldType::Memo, 10},
           {"Picture", px::FieldType::Graphic, 10},
           {"At", px::FieldType::Time},
           {"Stamp", px::FieldType::Timestamp},
           {"Exact", px::FieldType::Bcd, 2},
           {"Bytes", px::FieldType::Bytes, 4}},
          values, 936);
}

// A table of every field type for send --native, with the values a faithful copy must keep:
// a millisecond, a 17th significant digit, 18 BCD decimals, a long memo, an infinity, bytes. Its
// key (Id) is kept by the header alone: the writer makes unkeyed tables, so the header is made
// keyed afterwards (file type 0, one key field), as Paradox would have it.
void WriteNative() {
    const std::int32_t day = px::DayNumberFromCivil(1920, 9, 8);
    const std::int64_t stamp =
        std::int64_t{px::DayNumberFromCivil(2028, 7, 19)} * px::kMillisecondsPerDay + 39233123;
    const Row exact = {px::Value::Integer(1),
                       px::Value::Text("O'Brien"),
                       px::Value::Text(std::string(100000, 'm')),
                       px::Value::Raw(Picture(3000)),
                       px::Value::Raw({0x00, 0xFF, 0x1B, 0x80}),
                       px::Value::Integer(-32767),
                       px::Value::Number(103945.00000000003),
                       px::Value::Number(0.16999999999999998),
                       px::Value::Dec({"0.122999999999999998"}),
                       px::Value::Logical(true),
                       px::Value::Date({day}),
                       px::Value::Time({72557928}),  // 20:09:17.928
                       px::Value::Stamp({stamp})};   // 2028-07-19 10:53:53.123
    Row extreme = {px::Value::Integer(2),
                   px::Value(),
                   px::Value(),
                   px::Value(),
                   px::Value(),
                   px::Value::Integer(0),
                   px::Value::Number(std::numeric_limits<double>::infinity()),
                   px::Value::Number(4.9e-324),
                   px::Value::Dec({"-7"}),
                   px::Value::Logical(false),
                   px::Value::Date({1}),
                   px::Value::Time({0}),
                   px::Value()};
    const std::string path = Folder + "/QVX_NATIVE.DB";
    Write("QVX_NATIVE",
          {{"Id", px::FieldType::Long},
           {"Name", px::FieldType::Alpha, 20},
           {"Memo", px::FieldType::Memo, 20},
           {"Picture", px::FieldType::Blob, 10},
           {"Tag", px::FieldType::Bytes, 4},
           {"Small", px::FieldType::Short},
           {"Number", px::FieldType::Number},
           {"Money", px::FieldType::Money},
           {"Exact", px::FieldType::Bcd, 18},
           {"Paid", px::FieldType::Logical},
           {"Day", px::FieldType::Date},
           {"At", px::FieldType::Time},
           {"Stamp", px::FieldType::Timestamp}},
          {exact, extreme}, 1252);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(0x04);
    file.put(0);  // a keyed table
    file.seekp(0x23);
    file.put(1);  // of one key field
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_oracle_check_tables FOLDER\n");
        return 2;
    }
    Folder = argv[1];
    try {
        WriteTexts("QVX_TEXTS",
                   {"\xC3\x86r\xC3\xB8",
                    "Stra\xC3\x9F"
                    "e",
                    "plain ASCII", "O'Brien \xE2\x82\xAC 5"},
                   1252);
        WriteTexts("QVX_CJK", {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE4\xB8\xAD\xE6\x96\x87"}, 936);
        // A table name only a Unicode (or Japanese, Chinese) database holds: "QVX_日本".
        WriteTexts("QVX_\xE6\x97\xA5\xE6\x9C\xAC", {"x"}, 936);
        WriteLobs();
        WriteNative();
        // Names over 30 bytes, which a server before 12.2 refuses: a 40-byte table name, and a
        // field name of 25 characters that takes 35 bytes in UTF-8 (25 in WE8MSWIN1252).
        WriteTexts("QVX_A_TABLE_NAME_OF_FORTY_BYTES_12345678", {"forty"}, 1252);
        Write("QVX_FIELDS",
              {{"\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x89\xC3\x88\xC3\x8A"
                "_long_field_nam",
                px::FieldType::Alpha, 10}},
              {{px::Value::Text("x")}}, 1252);
        WriteEveryType("QVX_TYPES", 45);
        WriteEveryType("QVX_TYPES2", 12);
        // Rows enough to stop the server in the middle of sending them (--lost-connection).
        std::vector<Row> many;
        for (int i = 1; i <= 50000; ++i) {
            many.push_back({px::Value::Integer(i), px::Value::Text("row " + std::to_string(i))});
        }
        Write("QVX_MANY", {{"Id", px::FieldType::Long}, {"Text", px::FieldType::Alpha, 20}}, many,
              1252);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_oracle_check_tables: %s\n", failure.what());
        return 1;
    }
    return 0;
}
