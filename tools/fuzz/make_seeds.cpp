// Writes the fuzz seed corpus: small tables from our writer covering every version, every field
// type, memo values in the leader, sub-allocated and single-value .MB blocks, several blocks,
// an empty table and a password-scrambled table.
//
// usage: make_fuzz_seeds FOLDER

#include "fuzz_input.h"
#include "table_writer.h"

#include "data/paradox/calendar.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using quorvex::paradox::FieldType;
using quorvex::paradox::Value;
using namespace quorvex;

pxwriter::TableDesign AllTypes(pxwriter::Version version, int codePage, std::uint32_t key) {
    pxwriter::TableDesign design;
    design.version = version;
    design.codePage = codePage;
    design.blockSizeKib = 1;
    design.scrambleKey = key;
    design.fields = {
        {"Id", FieldType::AutoIncrement},
        {"Name", FieldType::Alpha, 12},
        {"Born", FieldType::Date},
        {"Count", FieldType::Short},
        {"Total", FieldType::Long},
        {"Price", FieldType::Money},
        {"Ratio", FieldType::Number},
        {"Ok", FieldType::Logical},
        {"Notes", FieldType::Memo, 15},
        {"Data", FieldType::Blob, 10},
        {"Rich", FieldType::FormattedMemo, 10},
        {"Obj", FieldType::Ole, 10},
        {"Pic", FieldType::Graphic, 10},
        {"At", FieldType::Time},
        {"Stamp", FieldType::Timestamp},
        {"Amount", FieldType::Bcd, 2},
        {"Raw", FieldType::Bytes, 3},
    };
    return design;
}

std::vector<std::vector<Value>> AllTypeRows(int count) {
    std::vector<std::vector<Value>> rows;
    for (int i = 1; i <= count; ++i) {
        const std::string memo(static_cast<std::size_t>(i * 97 % 3000),
                               static_cast<char>('a' + i % 26));
        paradox::ByteVector blob(static_cast<std::size_t>(i * 37 % 5000), static_cast<std::uint8_t>(i));
        const std::int64_t day = paradox::DayNumberFromCivil(2000 + i, 1 + i % 12, 1 + i % 28);
        rows.push_back({
            Value::Integer(i),
            i % 5 == 0 ? Value() : Value::Text("n\xC3\xA4me " + std::to_string(i)),
            Value::Date({static_cast<std::int32_t>(day)}),
            Value::Integer(-i),
            Value::Integer(i * 1000),
            Value::Number(i * 1.25),
            Value::Number(-i / 3.0),
            Value::Logical(i % 2 == 0),
            memo.empty() ? Value() : Value::Text(memo),
            blob.empty() ? Value() : Value::Raw(blob),
            Value::Raw(paradox::ByteVector(20, 7)),
            Value::Raw(paradox::ByteVector(3000, 9)),
            Value::Raw(paradox::ByteVector{'B', 'M', 1, 2}),
            Value::Time({i * 1000}),
            Value::Stamp({day * 86400000 + i}),
            Value::Dec({std::string("-") + std::to_string(i) + ".5"}),
            Value::Raw(paradox::ByteVector{1, 2, 3}),
        });
    }
    return rows;
}

pxwriter::TableDesign Narrow(pxwriter::Version version, std::uint8_t blockKib) {
    pxwriter::TableDesign design;
    design.version = version;
    design.codePage = 437;
    design.blockSizeKib = blockKib;
    design.fields = {{"N", FieldType::Long}, {"T", FieldType::Alpha, 6}};
    return design;
}

std::vector<std::vector<Value>> NarrowRows(int count) {
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < count; ++i) {
        std::string label = "r";
        label += std::to_string(i);
        rows.push_back({Value::Integer(i), Value::Text(label)});
    }
    return rows;
}

void Save(const std::filesystem::path& folder, const std::string& name,
          const pxwriter::TableDesign& design, const std::vector<std::vector<Value>>& rows) {
    const pxwriter::TableInMemory written = pxwriter::WriteTableToMemory(design, rows);
    const std::vector<std::uint8_t> input =
        fuzz::JoinFuzzInput(fuzz::TableFiles{written.table, written.blobs});
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(input.data()),
              static_cast<std::streamsize>(input.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    Save(folder, "all-types-v7", AllTypes(pxwriter::Version::V7, 1252, 0), AllTypeRows(3));
    Save(folder, "all-types-v5-850", AllTypes(pxwriter::Version::V5, 850, 0), AllTypeRows(2));
    Save(folder, "all-types-v4-scrambled", AllTypes(pxwriter::Version::V4, 437, 0x0A25E09A),
         AllTypeRows(2));
    Save(folder, "narrow-many-blocks", Narrow(pxwriter::Version::V5, 1), NarrowRows(200));
    Save(folder, "narrow-3k-blocks", Narrow(pxwriter::Version::V7, 3), NarrowRows(150));
    Save(folder, "empty-table", Narrow(pxwriter::Version::V7, 2), {});
    pxwriter::TableDesign scrambled = Narrow(pxwriter::Version::V5, 1);
    scrambled.scrambleKey = 0x1234ABCD;
    Save(folder, "narrow-scrambled", scrambled, NarrowRows(90));
    return 0;
}
