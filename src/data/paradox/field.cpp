#include "data/paradox/field.h"

namespace quorvex::paradox {

std::optional<FieldType> FieldTypeFromCode(std::uint8_t code) {
    switch (code) {
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x04:
        case 0x05:
        case 0x06:
        case 0x09:
        case 0x0C:
        case 0x0D:
        case 0x0E:
        case 0x0F:
        case 0x10:
        case 0x14:
        case 0x15:
        case 0x16:
        case 0x17:
        case 0x18:
            return static_cast<FieldType>(code);
        default:
            return std::nullopt;
    }
}

std::optional<int> StorageSize(FieldType type, std::uint8_t size) {
    const auto exactly = [size](int expected) -> std::optional<int> {
        if (size == expected) {
            return expected;
        }
        return std::nullopt;
    };
    switch (type) {
        case FieldType::Alpha:
        case FieldType::Bytes:
            if (size >= 1) {
                return size;
            }
            return std::nullopt;
        case FieldType::Date:
        case FieldType::Long:
        case FieldType::Time:
        case FieldType::AutoIncrement:
            return exactly(4);
        case FieldType::Short:
            return exactly(2);
        case FieldType::Money:
        case FieldType::Number:
        case FieldType::Timestamp:
            return exactly(8);
        case FieldType::Logical:
            return exactly(1);
        case FieldType::Memo:
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
        case FieldType::Graphic:
            if (size >= kBlobTrailer) {
                return size;
            }
            return std::nullopt;
        case FieldType::Bcd:
            if (size <= 32) {
                return kBcdStorage;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

bool IsBlobType(FieldType type) {
    switch (type) {
        case FieldType::Memo:
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
        case FieldType::Graphic:
            return true;
        default:
            return false;
    }
}

const char* FieldLetter(FieldType type) {
    switch (type) {
        case FieldType::Alpha:
            return "A";
        case FieldType::Date:
            return "D";
        case FieldType::Short:
            return "S";
        case FieldType::Long:
            return "I";
        case FieldType::Money:
            return "$";
        case FieldType::Number:
            return "N";
        case FieldType::Logical:
            return "L";
        case FieldType::Memo:
            return "M";
        case FieldType::Blob:
            return "B";
        case FieldType::FormattedMemo:
            return "F";
        case FieldType::Ole:
            return "O";
        case FieldType::Graphic:
            return "G";
        case FieldType::Time:
            return "T";
        case FieldType::Timestamp:
            return "@";
        case FieldType::AutoIncrement:
            return "+";
        case FieldType::Bcd:
            return "#";
        case FieldType::Bytes:
            return "Y";
    }
    return "?";
}

const char* FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::Alpha:
            return "ALPHA";
        case FieldType::Date:
            return "DATE";
        case FieldType::Short:
            return "SHORT";
        case FieldType::Long:
            return "LONG";
        case FieldType::Money:
            return "MONEY";
        case FieldType::Number:
            return "NUMBER";
        case FieldType::Logical:
            return "LOGICAL";
        case FieldType::Memo:
            return "MEMO";
        case FieldType::Blob:
            return "BLOB";
        case FieldType::FormattedMemo:
            return "FMTMEMO";
        case FieldType::Ole:
            return "OLE";
        case FieldType::Graphic:
            return "GRAPHIC";
        case FieldType::Time:
            return "TIME";
        case FieldType::Timestamp:
            return "TIMESTAMP";
        case FieldType::AutoIncrement:
            return "AUTOINC";
        case FieldType::Bcd:
            return "BCD";
        case FieldType::Bytes:
            return "BYTES";
    }
    return "UNKNOWN";
}

}  // namespace quorvex::paradox
