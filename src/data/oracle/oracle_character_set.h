#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvex {

// An Oracle database character set, by the name NLS_CHARACTERSET gives it, and what the
// statement builders need of it. Oracle converts every literal and every name of a statement
// into this set, and a character the set does not hold becomes a replacement character without
// any error, so the builders ask here which characters arrive and how long a name is.
//
// AL32UTF8 and UTF8 are Unicode. The common single- and multi-byte sets (the WE8, EE8, CL8, EL8
// ... Windows and ISO 8859 sets, US7ASCII, JA16SJISTILDE, ZHS16GBK, KO16MSWIN949, ZHT16MSWIN950
// and their kin) are checked through iconv, and a character counts as held only when it comes
// back from the set as itself. JA16SJIS, whose mapping no table here matches, holds only ASCII
// as far as this program can tell (onlyAsciiKnown). Any other name is a set this program cannot
// check: it counts as not Unicode, and its characters are left to the server.
class OracleCharacterSet {
  public:
    // AL32UTF8, which is what a database says when nothing else is known.
    OracleCharacterSet();
    explicit OracleCharacterSet(const QString& oracleName);

    const QString& name() const { return name_; }
    bool isUnicode() const { return kind_ == Kind::Utf8 || kind_ == Kind::Cesu8; }
    // True when the set's characters can be checked (Unicode, or a set iconv knows).
    bool isKnown() const { return kind_ != Kind::Unknown; }
    // True for a set known to differ from every table here beyond ASCII: every other character
    // counts as outside it.
    bool onlyAsciiKnown() const { return kind_ == Kind::AsciiOnly; }

    // The first character of `text` the set cannot hold, or would read back as another, as a
    // code point; nothing when it holds them all, or when the set is not known.
    std::optional<char32_t> firstCharacterOutside(const QString& text) const;

    // The bytes `text` takes in the set. UTF8 is Oracle's CESU-8: a character outside the Basic
    // Multilingual Plane takes six bytes there, four in AL32UTF8. A character the set does not
    // hold, and every character of a set that is not known, counts as in UTF-8 (at most four).
    qsizetype byteCount(const QString& text) const;

  private:
    enum class Kind { Utf8, Cesu8, Iconv, AsciiOnly, Unknown };
    class Converter;  // the iconv conversions into the set and back

    // The bytes one character takes (its UTF-16 code units in `units`), or nothing when the set
    // does not hold it. `converter` converts into the set when it is one iconv knows.
    std::optional<qsizetype> CharacterBytes(QStringView units, Converter& converter) const;

    QString name_;
    Kind kind_ = Kind::Utf8;
    QByteArray iconvName_;
};

// "日" (U+65E5): how a report names a character.
QString DescribeCharacter(char32_t character);

}  // namespace quorvex
