#include "data/paradox/calendar.h"
#include "data/paradox/error.h"
#include "data/paradox/field_codec.h"
#include "data/paradox/table_impl.h"

#include <algorithm>
#include <cmath>

namespace quorvex::paradox {

namespace {

constexpr std::int64_t kFirstTimestamp = std::int64_t{kFirstDay} * kMillisecondsPerDay;
constexpr std::int64_t kEndOfTimestamps = (std::int64_t{kLastDay} + 1) * kMillisecondsPerDay;
constexpr std::size_t kGraphicPrefix = 8;

bool AllZero(const std::uint8_t* bytes, std::size_t size) {
    return std::all_of(bytes, bytes + size, [](std::uint8_t b) { return b == 0; });
}

}  // namespace

void Table::Impl::failValue(const Field& field, const std::string& fault) const {
    throw Error(source->name(),
                "row " + std::to_string(rowNumber) + ", field \"" + field.name + "\": " + fault);
}

std::vector<std::uint8_t> Table::Impl::readBlob(const Field& field, std::uint32_t pointer,
                                                std::uint32_t length) const {
    if (!blobs) {
        failValue(field, "the value is kept in the table's .MB memo file, but " + blobProblem);
    }
    try {
        return blobs->read(pointer, length);
    } catch (const Error& error) {
        throw Error(error.file(), "row " + std::to_string(rowNumber) + ", field \"" + field.name +
                                      "\": " + error.fault());
    }
}

Value Table::Impl::decodeField(std::size_t index) const {
    const Field& field = fields[index];
    const std::uint8_t* p = currentRecord() + field.offset;
    switch (field.type) {
        case FieldType::Alpha: {
            std::size_t length = field.storage;
            while (length > 0 && p[length - 1] == 0) {
                --length;
            }
            if (length == 0) {
                return Value();
            }
            return Value::Text(decoder->decode({p, length}));
        }
        case FieldType::Short:
        case FieldType::Long:
        case FieldType::AutoIncrement: {
            const auto number = DecodeSignFlippedInteger(p, field.storage);
            return number ? Value::Integer(*number) : Value();
        }
        case FieldType::Logical:
            if (p[0] == 0) {
                return Value();
            }
            return Value::Logical(p[0] != 0x80);
        case FieldType::Money:
        case FieldType::Number: {
            const auto number = DecodeSignFlippedDouble(p);
            if (!number || std::isnan(*number)) {
                return Value();
            }
            return Value::Number(*number);
        }
        case FieldType::Date: {
            const auto day = DecodeSignFlippedInteger(p, 4);
            if (!day) {
                return Value();
            }
            if (*day < kFirstDay || *day > kLastDay) {
                failValue(field, "the date " + std::to_string(*day) +
                                     " lies outside the years 1 to 9999 (damaged data)");
            }
            return Value::Date(DayNumber{*day});
        }
        case FieldType::Time: {
            const auto ms = DecodeSignFlippedInteger(p, 4);
            if (!ms) {
                return Value();
            }
            if (*ms < 0 || *ms >= kMillisecondsPerDay) {
                failValue(field, "the time " + std::to_string(*ms) +
                                     " ms is not a time of day (damaged data)");
            }
            return Value::Time(TimeOfDay{*ms});
        }
        case FieldType::Timestamp: {
            const auto ms = DecodeSignFlippedDouble(p);
            if (!ms || std::isnan(*ms)) {
                return Value();
            }
            if (!(*ms >= static_cast<double>(kFirstTimestamp) &&
                  *ms < static_cast<double>(kEndOfTimestamps))) {
                failValue(field, "the timestamp lies outside the years 1 to 9999 (damaged data)");
            }
            return Value::Stamp(Timestamp{static_cast<std::int64_t>(*ms)});
        }
        case FieldType::Bcd: {
            auto digits = DecodeBcd(p, field.size);
            return digits ? Value::Dec(Decimal{std::move(*digits)}) : Value();
        }
        case FieldType::Bytes:
            if (AllZero(p, field.storage)) {
                return Value();
            }
            return Value::Raw(ByteVector(p, p + field.storage));
        case FieldType::Memo:
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
        case FieldType::Graphic: {
            const BlobReference ref = ParseBlobReference(p, field.storage);
            if (ref.length == 0) {
                return Value();
            }
            std::vector<std::uint8_t> bytes;
            if (ref.length <= ref.leader.size()) {
                bytes.assign(ref.leader.begin(), ref.leader.begin() + ref.length);
            } else {
                bytes = readBlob(field, ref.pointer, ref.length);
            }
            if (field.type == FieldType::Memo) {
                return Value::Text(decoder->decode(bytes));
            }
            if (field.type == FieldType::Graphic) {
                // Paradox puts an 8-byte prefix before the image.
                if (bytes.size() < kGraphicPrefix) {
                    failValue(field, "the graphic value is shorter than its 8-byte prefix");
                }
                bytes.erase(bytes.begin(), bytes.begin() + kGraphicPrefix);
            }
            return Value::Raw(std::move(bytes));
        }
    }
    failValue(field, "the field type is not supported");
}

}  // namespace quorvex::paradox
