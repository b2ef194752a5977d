#pragma once

#include "data/access/connection.h"
#include "data/oracle/oracle_character_set.h"

#include <QString>

namespace quorvex {

// What the Oracle statement builders must know of the database they write for. Built as it is,
// it describes a database of Oracle 12.2 or later in AL32UTF8, which is what the program assumes
// of a server that says nothing.
struct OracleDatabaseRules {
    // NLS_CHARACTERSET: every literal and name of a statement is converted into it.
    OracleCharacterSet characterSet;
    // NLS_NCHAR_CHARACTERSET: the set of NVARCHAR2 columns and of bound wide texts.
    QString nationalCharacterSet = QStringLiteral("AL16UTF16");
    // The longest table and column names, in bytes of the database character set: 128 since
    // Oracle 12.2, 30 before it (and while the database's COMPATIBLE is below 12.2).
    int longestTableName = kLongestNameFallback;
    int longestColumnName = kLongestNameFallback;

    // A text holding anything but ASCII keeps its characters only as a bound wide value when the
    // database character set is not Unicode (one that is not known counts as not Unicode).
    bool bindsNonAsciiTexts() const { return !characterSet.isUnicode(); }

    // The bytes a text takes in the national character set, which NVARCHAR2 columns and bound
    // wide texts use: two a UTF-16 code unit in AL16UTF16, one to three a code unit in UTF8
    // (Oracle's CESU-8).
    qsizetype nationalBytes(const QString& text) const;
    // Why a text does not fit the program's NVARCHAR2(2000) columns, worded for a report, or
    // empty: more than 2,000 characters, or more than the 4,000 bytes an NVARCHAR2 holds in the
    // national character set (with UTF8, 1,334 CJK characters already).
    QString nationalTextRefusal(const QString& text) const;

    static constexpr int kLongestNameFallback = 128;
    static constexpr qsizetype kLongestNationalText = 2000;       // characters of NVARCHAR2(2000)
    static constexpr qsizetype kLongestNationalTextBytes = 4000;  // bytes of any NVARCHAR2
};

// The session setting under which the number texts read right whatever the client's or the
// server's language: "." as the decimal sign. Made by both copies right after they connect.
inline const QString kDecimalPointSession =
    QStringLiteral("ALTER SESSION SET NLS_NUMERIC_CHARACTERS = '.,'");

// The query for the two character sets. Oracle's NLS_DATABASE_PARAMETERS view is readable by
// every login.
inline const QString kCharacterSetQuery = QStringLiteral(
    "SELECT parameter, value FROM nls_database_parameters "
    "WHERE parameter IN ('NLS_CHARACTERSET', 'NLS_NCHAR_CHARACTERSET')");

// Reads into `rules` what the open Oracle connection tells: first the name limits its driver
// gives (a driver that does not say keeps 128 bytes), then the character sets. A server that
// refuses the query throws (the caller treats it as Unicode and goes on); the limits are in by
// then.
void ReadOracleDatabaseRules(Connection& connection, OracleDatabaseRules& rules);

}  // namespace quorvex
