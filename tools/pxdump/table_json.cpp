#include "table_json.h"

#include "json_text.h"
#include "sha256.h"

#include "data/paradox/calendar.h"

#include <cstdio>
#include <filesystem>

namespace quorvex::pxdump {

namespace {

using paradox::FieldType;
using paradox::Value;

constexpr std::size_t kShortBytes = 64;
constexpr std::size_t kHeadBytes = 32;

// A text in double quotes; built by appending, which also keeps GCC 12's -Wrestrict quiet.
std::string Quoted(const std::string& text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

std::string DateText(std::int32_t day) {
    const paradox::CivilDate date = paradox::CivilFromDayNumber(day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string TimeText(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    return text;
}

std::string BytesJson(const paradox::ByteVector& bytes) {
    const std::string length = std::to_string(bytes.size());
    if (bytes.size() <= kShortBytes) {
        return "{\"hex\": \"" + LowerHex(bytes) + "\", \"len\": " + length + "}";
    }
    return "{\"len\": " + length + ", \"sha256\": \"" + Sha256Hex(bytes) + "\", \"head_hex\": \"" +
           LowerHex(std::span(bytes).first(kHeadBytes)) + "\"}";
}

std::string FieldJson(const paradox::Field& field) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02x", static_cast<unsigned>(field.type));
    return "{\"name\": " + JsonString(field.name) +
           ", \"px_type\": " + std::to_string(static_cast<int>(field.type)) +
           ", \"px_type_hex\": \"" + hex +
           "\", \"px_letter\": " + JsonString(paradox::FieldLetter(field.type)) + ", \"type\": \"" +
           paradox::FieldTypeName(field.type) + "\", \"px_size\": " + std::to_string(field.size) +
           "}";
}

std::string HeaderJson(const paradox::Table& table) {
    const paradox::TableHeader& h = table.header();
    const auto number = [](auto v) { return std::to_string(v); };
    std::string json = "{\"version_byte\": " + number(h.versionByte);
    json += ", \"version\": \"" + h.versionName() + "\"";
    json += ", \"file_type\": " + number(h.fileType);
    json += ", \"record_size\": " + number(h.recordSize);
    json += ", \"header_size\": " + number(h.headerSize);
    json += ", \"block_size_bytes\": " + number(h.blockSize);
    json += ", \"record_count\": " + number(h.storedRecordCount);
    json += ", \"used_blocks\": " + number(h.usedBlocks);
    json += ", \"total_blocks\": " + number(h.fileBlocks);
    json += ", \"first_block\": " + number(h.firstBlock);
    json += ", \"last_block\": " + number(h.lastBlock);
    json += ", \"key_field_count\": " + number(h.keyFieldCount);
    json += ", \"code_page\": " + (h.codePage ? number(*h.codePage) : std::string("null"));
    json += ", \"sort_order\": " + JsonString(h.sortOrder);
    json += ", \"codec\": " + JsonString(table.codePage().codecName);
    json += std::string(", \"encrypted\": ") + (h.scrambled() ? "true" : "false");
    json += ", \"table_name\": " + JsonString(table.storedName()) + "}";
    return json;
}

}  // namespace

std::string ValueJson(const paradox::Table& table, const paradox::Field& field,
                      const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Null:
            return "null";
        case Value::Kind::Logical:
            return value.logical() ? "true" : "false";
        case Value::Kind::Integer:
            return std::to_string(value.integer());
        case Value::Kind::Number:
            return Quoted(ShortestDoubleText(value.number()));
        case Value::Kind::Date:
            return Quoted(DateText(value.date().day));
        case Value::Kind::Time:
            return Quoted(TimeText(value.time().milliseconds));
        case Value::Kind::Timestamp: {
            const std::int64_t ms = value.timestamp().milliseconds;
            const std::int64_t day = ms / paradox::kMillisecondsPerDay;
            std::string text = DateText(static_cast<std::int32_t>(day));
            text.push_back(' ');
            text.append(TimeText(ms % paradox::kMillisecondsPerDay));
            return Quoted(text);
        }
        case Value::Kind::Text:
            return JsonString(value.text());
        case Value::Kind::Decimal:
            return Quoted(value.decimal().digits);
        case Value::Kind::Bytes:
            if (field.type == FieldType::FormattedMemo) {
                return JsonString(table.decodeText(value.bytes()));
            }
            return BytesJson(value.bytes());
    }
    return "null";
}

void DumpTableJson(const std::string& path, std::ostream& out) {
    paradox::Table table = paradox::Table::Open(path);
    const std::filesystem::path file(path);
    const std::filesystem::path folder = std::filesystem::absolute(file).parent_path();

    out << "{\n  \"table\": " << JsonString(file.filename().string()) << ",\n";
    out << "  \"folder\": " << JsonString(folder.filename().string()) << ",\n";
    out << "  \"fields\": [\n";
    const auto& fields = table.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out << "    " << FieldJson(fields[i]) << (i + 1 < fields.size() ? ",\n" : "\n");
    }
    out << "  ],\n  \"row_count\": " << table.rowCount() << ",\n  \"rows\": [";
    std::string line;
    bool first = true;
    while (table.next()) {
        line = first ? "\n    [" : ",\n    [";
        first = false;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != 0) {
                line += ", ";
            }
            line += ValueJson(table, fields[i], table.value(i));
        }
        line += ']';
        out << line;
    }
    out << (first ? "],\n" : "\n  ],\n");
    out << "  \"error\": null,\n  \"warnings\": [";
    const auto& warnings = table.warnings();
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        out << (i != 0 ? ", " : "") << JsonString(warnings[i]);
    }
    out << "],\n  \"header\": " << HeaderJson(table) << "\n}\n";
}

}  // namespace quorvex::pxdump
