#include "record_encoder.h"

#include "data/paradox/calendar.h"
#include "data/paradox/field_codec.h"
#include "data/paradox/little_endian.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace quorvex::pxwriter {

namespace {

using paradox::FieldType;
using paradox::Value;
using Kind = paradox::Value::Kind;

constexpr std::uint8_t kGraphicPrefix[] = {0x01, 0x00, 0x00, 0x01};

[[noreturn]] void Refuse(const paradox::Field& field, const std::string& why) {
    throw std::invalid_argument("field \"" + field.name + "\": " + why);
}

void Expect(const paradox::Field& field, const Value& value, Kind kind) {
    if (value.kind() != kind) {
        Refuse(field, "the value is of the wrong kind for a field of type " +
                          std::string(paradox::FieldLetter(field.type)));
    }
}

void EncodeInteger(const paradox::Field& field, std::int32_t v, std::uint8_t* out, int size) {
    const std::int64_t limit = (std::int64_t{1} << (8 * size - 1)) - 1;
    // The most negative number would be stored as all zeros, which reads back as NULL.
    if (v < -limit || v > limit) {
        Refuse(field, "the number " + std::to_string(v) + " does not fit");
    }
    paradox::EncodeSignFlippedInteger(v, out, size);
}

void EncodeBlob(const paradox::Field& field, std::vector<std::uint8_t> bytes, std::uint8_t* out,
                BlobWriter* blobs) {
    if (bytes.empty()) {
        return;  // NULL: length 0
    }
    if (bytes.size() > 0x7FFFFFFF) {
        Refuse(field, "the value is too large");
    }
    const std::size_t leader = field.storage - paradox::kBlobTrailer;
    const std::size_t inLeader = std::min(leader, bytes.size());
    std::memcpy(out, bytes.data(), inLeader);
    std::uint32_t pointer = 0;
    std::uint16_t modification = 0;
    if (bytes.size() > leader) {
        if (blobs == nullptr) {
            Refuse(field, "the table has no .MB file");
        }
        pointer = blobs->add(bytes);
        modification = 1;
    }
    paradox::WriteU32(out + leader, pointer);
    paradox::WriteU32(out + leader + 4, static_cast<std::uint32_t>(bytes.size()));
    paradox::WriteU16(out + leader + 8, modification);
}

}  // namespace

std::uint8_t DefaultFieldSize(FieldType type) {
    switch (type) {
        case FieldType::Date:
        case FieldType::Long:
        case FieldType::Time:
        case FieldType::AutoIncrement:
            return 4;
        case FieldType::Short:
            return 2;
        case FieldType::Money:
        case FieldType::Number:
        case FieldType::Timestamp:
            return 8;
        case FieldType::Logical:
            return 1;
        default:
            return 0;
    }
}

void EncodeField(const paradox::Field& field, const Value& value, std::uint8_t* out,
                 const TextEncoder& encoder, BlobWriter* blobs) {
    if (value.isNull()) {
        return;  // all zero
    }
    switch (field.type) {
        case FieldType::Alpha: {
            Expect(field, value, Kind::Text);
            const std::vector<std::uint8_t> bytes = encoder.encode(value.text());
            if (bytes.size() > field.storage) {
                Refuse(field,
                       "the text is longer than " + std::to_string(field.storage) + " bytes");
            }
            std::memcpy(out, bytes.data(), bytes.size());
            return;
        }
        case FieldType::Short:
            Expect(field, value, Kind::Integer);
            EncodeInteger(field, value.integer(), out, 2);
            return;
        case FieldType::Long:
        case FieldType::AutoIncrement:
            Expect(field, value, Kind::Integer);
            EncodeInteger(field, value.integer(), out, 4);
            return;
        case FieldType::Money:
        case FieldType::Number:
            Expect(field, value, Kind::Number);
            paradox::EncodeSignFlippedDouble(value.number(), out);
            return;
        case FieldType::Logical:
            Expect(field, value, Kind::Logical);
            out[0] = value.logical() ? 0x81 : 0x80;
            return;
        case FieldType::Date: {
            Expect(field, value, Kind::Date);
            const std::int32_t day = value.date().day;
            if (day < paradox::kFirstDay || day > paradox::kLastDay) {
                Refuse(field, "the date lies outside the years 1 to 9999");
            }
            paradox::EncodeSignFlippedInteger(day, out, 4);
            return;
        }
        case FieldType::Time: {
            Expect(field, value, Kind::Time);
            const std::int32_t ms = value.time().milliseconds;
            if (ms < 0 || ms >= paradox::kMillisecondsPerDay) {
                Refuse(field, "the time is not a time of day");
            }
            paradox::EncodeSignFlippedInteger(ms, out, 4);
            return;
        }
        case FieldType::Timestamp:
            Expect(field, value, Kind::Timestamp);
            paradox::EncodeSignFlippedDouble(static_cast<double>(value.timestamp().milliseconds),
                                             out);
            return;
        case FieldType::Bcd:
            Expect(field, value, Kind::Decimal);
            if (!paradox::EncodeBcd(value.decimal().digits, field.size, out)) {
                Refuse(field, "\"" + value.decimal().digits + "\" does not fit " +
                                  std::to_string(field.size) + " decimals in 32 digits");
            }
            return;
        case FieldType::Bytes: {
            Expect(field, value, Kind::Bytes);
            const paradox::ByteVector& bytes = value.bytes();
            if (bytes.size() > field.storage) {
                Refuse(field, "more than " + std::to_string(field.storage) + " bytes");
            }
            std::memcpy(out, bytes.data(), bytes.size());
            return;
        }
        case FieldType::Memo:
            Expect(field, value, Kind::Text);
            EncodeBlob(field, encoder.encode(value.text()), out, blobs);
            return;
        case FieldType::Blob:
        case FieldType::FormattedMemo:
        case FieldType::Ole:
            Expect(field, value, Kind::Bytes);
            EncodeBlob(field, value.bytes(), out, blobs);
            return;
        case FieldType::Graphic: {
            Expect(field, value, Kind::Bytes);
            const paradox::ByteVector& image = value.bytes();
            if (image.empty()) {
                return;
            }
            std::vector<std::uint8_t> stored(8 + image.size());
            std::memcpy(stored.data(), kGraphicPrefix, sizeof kGraphicPrefix);
            paradox::WriteU32(stored.data() + 4, static_cast<std::uint32_t>(image.size()));
            std::memcpy(stored.data() + 8, image.data(), image.size());
            EncodeBlob(field, std::move(stored), out, blobs);
            return;
        }
    }
    Refuse(field, "the type cannot be written");
}

}  // namespace quorvex::pxwriter
