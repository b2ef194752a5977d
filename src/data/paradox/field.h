#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::paradox {

// The type codes of a field descriptor's first byte.
enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Money = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

// Bytes a BCD value takes in the record, whatever its descriptor's size byte (the scale) says.
inline constexpr int kBcdStorage = 17;
// The blob pointer, length and modification number that close every memo-type field.
inline constexpr int kBlobTrailer = 10;

struct Field {
    std::string name;  // UTF-8
    FieldType type{};
    std::uint8_t size = 0;      // the descriptor's size byte: length, scale (BCD) or record part
    std::uint16_t storage = 0;  // bytes in the record
    std::uint32_t offset = 0;   // from the start of the record
};

// The known type for a descriptor code, or nothing.
std::optional<FieldType> FieldTypeFromCode(std::uint8_t code);

// The bytes a field of this type and size byte takes in a record, or nothing when the size
// byte is impossible for the type.
std::optional<int> StorageSize(FieldType type, std::uint8_t size);

// True for the types whose values may live in the .MB file.
bool IsBlobType(FieldType type);

// The one-letter symbol Paradox shows for the type ("A", "$", "+", ...).
const char* FieldLetter(FieldType type);

// An upper-case name for the type ("ALPHA", "MONEY", "AUTOINC", ...).
const char* FieldTypeName(FieldType type);

}  // namespace quorvex::paradox
