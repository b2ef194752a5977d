#pragma once

#include "blob_writer.h"
#include "text_encoder.h"

#include "data/paradox/field.h"
#include "data/paradox/value.h"

#include <cstdint>

namespace quorvex::pxwriter {

// The size byte of a fixed-size type (4 for a date, 8 for money, ...); 0 for types that need
// one given (alpha, bytes, memo types; BCD takes 0 decimals).
std::uint8_t DefaultFieldSize(paradox::FieldType type);

// Writes one value into its place in a record (`out` has the field's storage size and is
// zero). Memo-type values longer than the leader go to `blobs`. Throws std::invalid_argument
// when the value does not suit the field.
void EncodeField(const paradox::Field& field, const paradox::Value& value, std::uint8_t* out,
                 const TextEncoder& encoder, BlobWriter* blobs);

}  // namespace quorvex::pxwriter
