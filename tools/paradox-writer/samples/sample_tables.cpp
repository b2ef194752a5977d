#include "sample_tables.h"

#include "bitmap.h"
#include "table_writer.h"

#include "data/paradox/calendar.h"

#include <array>
#include <string>
#include <vector>

namespace quorvex::samples {

namespace {

using paradox::FieldType;
using paradox::Value;
using Row = std::vector<Value>;

// A small fixed-seed generator, so the samples are the same on every build.
class Dice {
  public:
    explicit Dice(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int upTo(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items) {
        return items[next() % N];
    }

  private:
    std::uint32_t state_;
};

const std::array<const char*, 24> kCompanies = {
    "Kauai Dive Shoppe",
    "Müller & Söhne GmbH",
    "Café Noël",
    "Unisco",
    "Sight Diver",
    "Cayman Divers",
    "Tom Sawyer Diving",
    "Blue Jack Aqua Center",
    "VIP Divers Club",
    "Ocean Paradise",
    "Fantastique Aquatica",
    "Marmot Divers Club",
    "The Depth Charge",
    "Blue Sports",
    "Makai SCUBA Club",
    "Action Club",
    "Jamaica SCUBA Centre",
    "Island Finders",
    "Adventure Undersea",
    "Señor Buceo",
    "Ålesund Dykk AS",
    "Þórshöfn Köfun",
    "Lötschental Tauchen",
    "Garçon Plongée SARL",
};
const std::array<const char*, 20> kFirstNames = {
    "Erica", "José",  "Zoë", "François", "Björn", "Åsa",    "Jürgen", "Inés",  "Siobhán", "Marco",
    "Nancy", "Peggy", "Tod", "Rick",     "Tara",  "Murray", "Søren",  "Dagný", "Chloé",   "Mikaël"};
const std::array<const char*, 20> kLastNames = {
    "Norman", "Peña",   "Müller",     "Brontë",    "Ødegård", "Gjerstad", "Lutz",
    "Teh",    "Wang",   "Borkes",     "O'Brien",   "Dealy",   "Cuenin",   "Minford",
    "Rioux",  "Klaner", "Sigurðsson", "Fernández", "Lefèvre", "Çelik"};
const std::array<const char*, 12> kCities = {
    "Kapaa Kauai", "Freeport", "Kato Paphos", "Grand Cayman", "München",   "Reykjavík",
    "São Paulo",   "Zürich",   "Bogotá",      "Ålesund",      "Marseille", "Christiansted"};
const std::array<const char*, 10> kCountries = {
    "US",          "Bahamas",  "Cyprus", "British West Indies", "Germany", "Iceland", "Brazil",
    "Switzerland", "Colombia", "Norway"};
const std::array<const char*, 6> kShipVia = {"UPS", "DHL", "FedEx", "US Mail", "Emery", "Post"};
const std::array<const char*, 16> kParts = {"Dive kayak",
                                            "Underwater diver vehicle",
                                            "Regulator system",
                                            "Second stage regulator",
                                            "Depth/pressure gauge",
                                            "Compass console",
                                            "Straps",
                                            "Wet suit",
                                            "Dry suit",
                                            "Fins, sizes S–XL",
                                            "Mask with purge",
                                            "Snorkel",
                                            "Tank (aluminium)",
                                            "Weight belt",
                                            "Dive light",
                                            "Knife & sheath"};
const std::array<const char*, 8> kVendors = {
    "Cacor Corporation",   "Underwater", "J.W. Luscher Mfg.", "Scuba Professionals",
    "Divers' Supply Shop", "Techniques", "Perry Scuba",       "Océan Équipement"};

Value Text(const std::string& text) { return Value::Text(text); }

Value DayOf(int year, int month, int day) {
    return Value::Date({paradox::DayNumberFromCivil(year, month, day)});
}

std::string Phone(Dice& dice) {
    return std::to_string(200 + dice.upTo(800)) + "-555-" + std::to_string(1000 + dice.upTo(9000));
}

void WriteCustomers(const std::filesystem::path& folder) {
    pxwriter::TableDesign design;
    design.version = pxwriter::Version::V7;
    design.codePage = 1252;
    design.blockSizeKib = 4;
    design.fields = {
        {"CustNo", FieldType::AutoIncrement}, {"Company", FieldType::Alpha, 30},
        {"Contact", FieldType::Alpha, 30},    {"Street", FieldType::Alpha, 30},
        {"City", FieldType::Alpha, 20},       {"Country", FieldType::Alpha, 20},
        {"Phone", FieldType::Alpha, 15},      {"Customer Since", FieldType::Date},
        {"Credit Limit", FieldType::Money},   {"Active", FieldType::Logical},
        {"Notes", FieldType::Memo, 60},
    };
    Dice dice(1221);
    pxwriter::TableWriter writer((folder / "CUSTOMER.DB").string(), design);
    for (int i = 1; i <= 250; ++i) {
        std::string notes;
        if (i % 7 == 0) {
            notes = "Prefers delivery before noon.";
        } else if (i % 11 == 0) {
            notes = "Long-standing customer since the first catalogue.\r\nAsk for Mr. " +
                    std::string(dice.pick(kLastNames)) + " about bulk orders; " +
                    "the warehouse gate closes at 17:00 and deliveries after that wait until the "
                    "next morning.\r\nInvoices go to the head office, not to the shop.";
        }
        writer.addRow({
            Value::Integer(1000 + i),
            Text(dice.pick(kCompanies)),
            Text(std::string(dice.pick(kFirstNames)) + " " + dice.pick(kLastNames)),
            Text(std::to_string(1 + dice.upTo(999)) + " " + dice.pick(kLastNames) + " Street"),
            Text(dice.pick(kCities)),
            Text(dice.pick(kCountries)),
            i % 9 == 0 ? Value() : Text(Phone(dice)),
            i % 13 == 0 ? Value()
                        : DayOf(1988 + dice.upTo(30), 1 + dice.upTo(12), 1 + dice.upTo(28)),
            Value::Number((500 + dice.upTo(20000)) * 1.0),
            Value::Logical(i % 5 != 0),
            notes.empty() ? Value() : Text(notes),
        });
    }
    writer.finish();
}

void WriteOrders(const std::filesystem::path& path, int first, int count, int startYear,
                 std::uint32_t seed, pxwriter::Version version, int codePage) {
    pxwriter::TableDesign design;
    design.version = version;
    design.codePage = codePage;
    design.blockSizeKib = 2;
    design.fields = {
        {"Order No", FieldType::Long},     {"CustNo", FieldType::Long},
        {"Sale Date", FieldType::Date},    {"Ship Time", FieldType::Time},
        {"Entered", FieldType::Timestamp}, {"Ship Via", FieldType::Alpha, 7},
        {"Total", FieldType::Money},       {"Discount", FieldType::Bcd, 2},
        {"Paid", FieldType::Logical},      {"Weight", FieldType::Number},
        {"Items", FieldType::Short},       {"Comment", FieldType::Alpha, 40},
    };
    Dice dice(seed);
    pxwriter::TableWriter writer(path.string(), design);
    for (int i = 0; i < count; ++i) {
        const int year = startYear + i * 3 / count;
        const std::int32_t day =
            paradox::DayNumberFromCivil(year, 1 + dice.upTo(12), 1 + dice.upTo(28));
        const int minutes = 8 * 60 + dice.upTo(10 * 60);
        const double total = (100 + dice.upTo(900000)) / 100.0;
        writer.addRow({
            Value::Integer(first + i),
            Value::Integer(1001 + dice.upTo(250)),
            Value::Date({day}),
            i % 17 == 0 ? Value() : Value::Time({minutes * 60000}),
            Value::Stamp(
                {std::int64_t{day} * paradox::kMillisecondsPerDay + dice.upTo(86400) * 1000LL}),
            Text(dice.pick(kShipVia)),
            Value::Number(total),
            i % 4 == 0 ? Value()
                       : Value::Dec({std::to_string(dice.upTo(30)) + "." +
                                     std::to_string(dice.upTo(10)) + "5"}),
            Value::Logical(dice.upTo(3) != 0),
            Value::Number(dice.upTo(50000) / 8.0),
            Value::Integer(1 + dice.upTo(40)),
            i % 10 == 0 ? Text("Rush order - call before shipping") : Value(),
        });
    }
    writer.finish();
}

void WriteParts(const std::filesystem::path& folder) {
    pxwriter::TableDesign design;
    design.version = pxwriter::Version::V4;
    design.codePage = 437;
    design.blockSizeKib = 4;
    design.fields = {
        {"PartNo", FieldType::Short},
        {"Description", FieldType::Alpha, 30},
        {"Vendor", FieldType::Alpha, 24},
        {"Cost", FieldType::Money},
        {"List Price", FieldType::Money},
        {"On Hand", FieldType::Short},
        {"On Order", FieldType::Short},
        {"Picture", FieldType::Graphic, 10},
        {"Specification", FieldType::FormattedMemo, 10},
        {"Datasheet", FieldType::Blob, 10},
    };
    Dice dice(900);
    pxwriter::TableWriter writer((folder / "parts.db").string(), design);
    for (int i = 0; i < 180; ++i) {
        const int part = 900 + i * 7;
        const double cost = (500 + dice.upTo(200000)) / 100.0;
        std::string description = dice.pick(kParts);
        std::string vendor = dice.pick(kVendors);
        // Code page 437 has no dash or accented capitals: keep to what it holds.
        for (const std::string from : {"–", "Océan Équipement"}) {
            const auto at = description.find(from);
            if (at != std::string::npos) {
                std::string replaced(description, 0, at);
                replaced.push_back('-');
                replaced.append(description, at + from.size());
                description = std::move(replaced);
            }
            if (vendor == from) {
                vendor = "Ocean Equipement";
            }
        }
        paradox::ByteVector specification;
        if (i % 6 == 0) {
            const std::string text = "Part " + std::to_string(part) + ": " + description +
                                     "\r\nTested to 40 m. Keep out of direct sunlight.";
            specification.assign(text.begin(), text.end());
        }
        paradox::ByteVector datasheet;
        if (i % 15 == 0) {
            datasheet.assign(3000 + static_cast<std::size_t>(i) * 11, 0);
            for (std::size_t b = 0; b < datasheet.size(); ++b) {
                datasheet[b] = static_cast<std::uint8_t>(dice.next());
            }
        }
        writer.addRow({
            Value::Integer(part),
            Text(description),
            Text(vendor),
            Value::Number(cost),
            Value::Number(cost * 1.6),
            Value::Integer(dice.upTo(500)),
            i % 8 == 0 ? Value() : Value::Integer(dice.upTo(100)),
            i % 4 == 0 ? Value::Raw(PartPicture(48 + i % 16, 36, i)) : Value(),
            specification.empty() ? Value() : Value::Raw(specification),
            datasheet.empty() ? Value() : Value::Raw(datasheet),
        });
    }
    writer.finish();
}

void WriteSuppliers(const std::filesystem::path& path) {
    pxwriter::TableDesign design;
    design.version = pxwriter::Version::V5;
    design.codePage = 850;
    design.blockSizeKib = 2;
    design.fields = {
        {"Supplier", FieldType::Alpha, 24}, {"Contact", FieldType::Alpha, 30},
        {"Phone", FieldType::Alpha, 15},    {"Address", FieldType::Memo, 40},
        {"Rating", FieldType::Short},
    };
    Dice dice(77);
    pxwriter::TableWriter writer(path.string(), design);
    for (std::size_t i = 0; i < kVendors.size() * 5; ++i) {
        const std::string address = std::to_string(1 + dice.upTo(300)) + " " +
                                    dice.pick(kLastNames) + " Road\r\n" + dice.pick(kCities) +
                                    "\r\n" + dice.pick(kCountries);
        std::string supplier = kVendors[i % kVendors.size()];
        if (i >= kVendors.size()) {
            supplier += ' ';
            supplier += std::to_string(i / kVendors.size() + 1);
        }
        writer.addRow({
            Text(supplier),
            Text(std::string(dice.pick(kFirstNames)) + " " + dice.pick(kLastNames)),
            i % 6 == 0 ? Value() : Text(Phone(dice)),
            Text(address),
            Value::Integer(1 + dice.upTo(5)),
        });
    }
    writer.finish();
}

}  // namespace

void WriteSampleFolder(const std::filesystem::path& folder) {
    // Only tables that can be sent, all in the folder itself: the odd cases (hidden files, work
    // files, subfolders) are the tests' business, not a newcomer's.
    std::filesystem::create_directories(folder);
    WriteCustomers(folder);
    WriteOrders(folder / "ORDERS.DB", 1001, 600, 2021, 4711, pxwriter::Version::V5, 850);
    WriteOrders(folder / "ORDERS98.DB", 501, 300, 1996, 1998, pxwriter::Version::V7, 1252);
    WriteParts(folder);
    WriteSuppliers(folder / "SUPPLIER.DB");
}

}  // namespace quorvex::samples
