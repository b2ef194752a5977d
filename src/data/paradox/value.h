#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quorvex::paradox {

// A day number: 1 is 0001-01-01 of the proleptic Gregorian calendar.
struct DayNumber {
    std::int32_t day = 0;
    friend bool operator==(const DayNumber&, const DayNumber&) = default;
};

// Milliseconds after midnight, 0 to 86399999.
struct TimeOfDay {
    std::int32_t milliseconds = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Milliseconds since the start of day 0 (so day 1 starts at 86400000).
struct Timestamp {
    std::int64_t milliseconds = 0;
    friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

// A BCD value as its decimal digits ("-1.23", "0", "0.122999999999999998").
struct Decimal {
    std::string digits;
    friend bool operator==(const Decimal&, const Decimal&) = default;
};

using ByteVector = std::vector<std::uint8_t>;

// One decoded field value. Text is UTF-8.
class Value {
  public:
    enum class Kind { Null, Logical, Integer, Number, Date, Time, Timestamp, Text, Decimal, Bytes };

    Value() = default;  // Null
    static Value Logical(bool v) { return Value(Payload(std::in_place_index<1>, v)); }
    static Value Integer(std::int32_t v) { return Value(Payload(std::in_place_index<2>, v)); }
    static Value Number(double v) { return Value(Payload(std::in_place_index<3>, v)); }
    static Value Date(DayNumber v) { return Value(Payload(std::in_place_index<4>, v)); }
    static Value Time(TimeOfDay v) { return Value(Payload(std::in_place_index<5>, v)); }
    static Value Stamp(Timestamp v) { return Value(Payload(std::in_place_index<6>, v)); }
    static Value Text(std::string v) {
        return Value(Payload(std::in_place_index<7>, std::move(v)));
    }
    static Value Dec(Decimal v) { return Value(Payload(std::in_place_index<8>, std::move(v))); }
    static Value Raw(ByteVector v) { return Value(Payload(std::in_place_index<9>, std::move(v))); }

    Kind kind() const { return static_cast<Kind>(payload_.index()); }
    bool isNull() const { return payload_.index() == 0; }

    // Each accessor expects the matching kind (std::bad_variant_access otherwise).
    bool logical() const { return std::get<1>(payload_); }
    std::int32_t integer() const { return std::get<2>(payload_); }
    double number() const { return std::get<3>(payload_); }
    DayNumber date() const { return std::get<4>(payload_); }
    TimeOfDay time() const { return std::get<5>(payload_); }
    Timestamp timestamp() const { return std::get<6>(payload_); }
    const std::string& text() const { return std::get<7>(payload_); }
    const Decimal& decimal() const { return std::get<8>(payload_); }
    const ByteVector& bytes() const { return std::get<9>(payload_); }

    friend bool operator==(const Value&, const Value&) = default;

  private:
    using Payload = std::variant<std::monostate, bool, std::int32_t, double, DayNumber, TimeOfDay,
                                 Timestamp, std::string, Decimal, ByteVector>;
    explicit Value(Payload p) : payload_(std::move(p)) {}

    Payload payload_;
};

}  // namespace quorvex::paradox
