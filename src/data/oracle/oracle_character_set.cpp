#include "data/oracle/oracle_character_set.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace quorvex {

namespace {

struct KnownSet {
    const char* oracleName;
    const char* iconvName;
};

// Oracle's names of the character sets a database is commonly created with, and the names glibc's
// iconv gives the same code pages. JA16SJISTILDE is Microsoft's code page 932; JA16SJIS is not
// (it maps the wave dash and a few other characters as JIS does), see kAsciiOnlySets.
constexpr std::array kKnownSets = {
    KnownSet{"US7ASCII", "ASCII"},
    KnownSet{"WE8MSWIN1252", "CP1252"},
    KnownSet{"WE8ISO8859P1", "ISO-8859-1"},
    KnownSet{"WE8ISO8859P15", "ISO-8859-15"},
    KnownSet{"WE8ISO8859P9", "ISO-8859-9"},
    KnownSet{"WE8PC850", "CP850"},
    KnownSet{"US8PC437", "CP437"},
    KnownSet{"WE8ROMAN8", "HP-ROMAN8"},
    KnownSet{"WE8MACROMAN8", "MACINTOSH"},
    KnownSet{"EE8MSWIN1250", "CP1250"},
    KnownSet{"EE8ISO8859P2", "ISO-8859-2"},
    KnownSet{"EE8PC852", "CP852"},
    KnownSet{"CL8MSWIN1251", "CP1251"},
    KnownSet{"CL8ISO8859P5", "ISO-8859-5"},
    KnownSet{"CL8KOI8R", "KOI8-R"},
    KnownSet{"CL8KOI8U", "KOI8-U"},
    KnownSet{"RU8PC866", "CP866"},
    KnownSet{"EL8MSWIN1253", "CP1253"},
    KnownSet{"EL8ISO8859P7", "ISO-8859-7"},
    KnownSet{"TR8MSWIN1254", "CP1254"},
    KnownSet{"IW8MSWIN1255", "CP1255"},
    KnownSet{"IW8ISO8859P8", "ISO-8859-8"},
    KnownSet{"AR8MSWIN1256", "CP1256"},
    KnownSet{"AR8ISO8859P6", "ISO-8859-6"},
    KnownSet{"BLT8MSWIN1257", "CP1257"},
    KnownSet{"BLT8ISO8859P13", "ISO-8859-13"},
    KnownSet{"NEE8ISO8859P4", "ISO-8859-4"},
    KnownSet{"SE8ISO8859P3", "ISO-8859-3"},
    KnownSet{"NE8ISO8859P10", "ISO-8859-10"},
    KnownSet{"VN8MSWIN1258", "CP1258"},
    KnownSet{"TH8TISASCII", "TIS-620"},
    KnownSet{"JA16SJISTILDE", "CP932"},
    KnownSet{"JA16EUC", "EUC-JP"},
    KnownSet{"JA16EUCTILDE", "EUC-JP"},
    KnownSet{"ZHS16GBK", "GBK"},
    KnownSet{"ZHS16CGB231280", "GB2312"},
    KnownSet{"ZHS32GB18030", "GB18030"},
    KnownSet{"ZHT16MSWIN950", "CP950"},
    KnownSet{"ZHT16BIG5", "BIG5"},
    KnownSet{"ZHT16HKSCS", "BIG5-HKSCS"},
    KnownSet{"ZHT32EUC", "EUC-TW"},
    KnownSet{"KO16MSWIN949", "CP949"},
    KnownSet{"KO16KSC5601", "EUC-KR"},
};

// Sets whose mapping no iconv table here matches exactly: only ASCII is known to arrive as sent.
constexpr std::array kAsciiOnlySets = {"JA16SJIS"};

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Calls `visit` with each character of `text`, a surrogate pair as one, until it answers false.
template <typename Visit>
void ForEachCharacter(const QString& text, Visit visit) {
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype units =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2
                                                                                                : 1;
        if (!visit(QStringView(text).mid(at, units))) return;
        at += units;
    }
}

char32_t CodePoint(QStringView character) {
    return character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                 : character[0].unicode();
}

qsizetype Utf8Bytes(char32_t character) {
    return character < 0x80 ? 1 : character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
}

}  // namespace

// The iconv conversions from UTF-8 into a set and back, opened when first needed (a text of plain
// ASCII never needs them) and closed when they go.
class OracleCharacterSet::Converter {
  public:
    explicit Converter(QByteArray set) : set_(std::move(set)) {}
    ~Converter() {
        if (toSet_ != kNoConverter) iconv_close(toSet_);
        if (fromSet_ != kNoConverter) iconv_close(fromSet_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Both conversions, or false when there are none for that set.
    bool ready() {
        if (toSet_ == kNoConverter && !set_.isEmpty()) {
            toSet_ = iconv_open(set_.constData(), "UTF-8");
            fromSet_ = iconv_open("UTF-8", set_.constData());
            if (toSet_ == kNoConverter || fromSet_ == kNoConverter) set_.clear();  // not again
        }
        return toSet_ != kNoConverter && fromSet_ != kNoConverter;
    }

    // `in` converted by `conversion`, or nothing when a character has no counterpart.
    static std::optional<QByteArray> Convert(iconv_t conversion, QByteArray in) {
        char* from = in.data();
        size_t fromLeft = static_cast<size_t>(in.size());
        char out[32];
        char* outAt = out;
        size_t outLeft = sizeof out;
        iconv(conversion, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state each time
        if (iconv(conversion, &from, &fromLeft, &outAt, &outLeft) == static_cast<size_t>(-1) ||
            fromLeft != 0) {
            return std::nullopt;
        }
        iconv(conversion, nullptr, nullptr, &outAt, &outLeft);  // a closing shift sequence, if any
        return QByteArray(out, outAt - out);
    }

    // The bytes of one character (UTF-8) in the set, or nothing when the set does not hold it or
    // reads those bytes back as another character (iconv maps some characters one way only: the
    // server would store one, and list and compare another).
    std::optional<qsizetype> BytesInSet(const QByteArray& utf8) {
        if (!ready()) return std::nullopt;
        const std::optional<QByteArray> inSet = Convert(toSet_, utf8);
        if (!inSet) return std::nullopt;
        const std::optional<QByteArray> back = Convert(fromSet_, *inSet);
        if (!back || *back != utf8) return std::nullopt;
        return inSet->size();
    }

  private:
    QByteArray set_;
    iconv_t toSet_ = kNoConverter;
    iconv_t fromSet_ = kNoConverter;
};

OracleCharacterSet::OracleCharacterSet() : OracleCharacterSet(QStringLiteral("AL32UTF8")) {}

OracleCharacterSet::OracleCharacterSet(const QString& oracleName)
    : name_(oracleName.trimmed().toUpper()), kind_(Kind::Unknown) {
    if (name_ == u"AL32UTF8") {
        kind_ = Kind::Utf8;
        return;
    }
    if (name_ == u"UTF8") {
        kind_ = Kind::Cesu8;
        return;
    }
    for (const KnownSet& known : kKnownSets) {
        if (name_ == QLatin1String(known.oracleName)) {
            iconvName_ = known.iconvName;
            // A C library without that conversion leaves the set unchecked rather than wrong.
            kind_ = Converter(iconvName_).ready() ? Kind::Iconv : Kind::Unknown;
            return;
        }
    }
    for (const char* asciiOnly : kAsciiOnlySets) {
        if (name_ == QLatin1String(asciiOnly)) kind_ = Kind::AsciiOnly;
    }
}

std::optional<qsizetype> OracleCharacterSet::CharacterBytes(QStringView units,
                                                            Converter& converter) const {
    const char32_t character = CodePoint(units);
    if (character < 0x80) return 1;  // every set here holds ASCII, one byte each
    switch (kind_) {
        case Kind::Utf8:
            return Utf8Bytes(character);
        case Kind::Cesu8:
            return units.size() == 2 ? 6 : Utf8Bytes(character);
        case Kind::Unknown:
        case Kind::AsciiOnly:
            return std::nullopt;
        case Kind::Iconv:
            break;
    }
    return converter.BytesInSet(units.toUtf8());
}

std::optional<char32_t> OracleCharacterSet::firstCharacterOutside(const QString& text) const {
    if (kind_ != Kind::Iconv && kind_ != Kind::AsciiOnly) return std::nullopt;
    Converter converter(iconvName_);
    std::optional<char32_t> outside;
    ForEachCharacter(text, [&](QStringView character) {
        if (!CharacterBytes(character, converter)) outside = CodePoint(character);
        return !outside;
    });
    return outside;
}

qsizetype OracleCharacterSet::byteCount(const QString& text) const {
    Converter converter(kind_ == Kind::Iconv ? iconvName_ : QByteArray());
    qsizetype bytes = 0;
    ForEachCharacter(text, [&](QStringView character) {
        const std::optional<qsizetype> held = CharacterBytes(character, converter);
        bytes += held ? *held : Utf8Bytes(CodePoint(character));
        return true;
    });
    return bytes;
}

QString DescribeCharacter(char32_t character) {
    const char32_t text[] = {character};
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(QString::fromUcs4(text, 1),
             QStringLiteral("%1")
                 .arg(static_cast<uint>(character), 4, 16, QLatin1Char('0'))
                 .toUpper());
}

}  // namespace quorvex
