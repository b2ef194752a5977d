#include "data/core/connection_strings.h"

#include "support/recording_ui.h"

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

FixedFields Fields(const QString& folder, const QString& sid, const QString& user,
                   const QString& password) {
    FixedFields fields;
    fields.folder = folder;
    fields.sid = sid;
    fields.user = user;
    fields.password = password;
    return fields;
}

TEST(OracleConnectionString, IsTheFixedPiecesWithTheThreeLoginFields) {
    EXPECT_EQ(
        OracleConnectionString(Fields(QStringLiteral("/p"), QStringLiteral("ORCL"),
                                      QStringLiteral("scott"), QStringLiteral("tiger"))),
        QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=ORCL;Uid=scott;Pwd=tiger;"));
}

TEST(OracleConnectionString, EmptyFieldsLeaveOnlyTheFixedPieces) {
    EXPECT_EQ(OracleConnectionString(Fields({}, {}, {}, {})),
              QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=;Uid=;Pwd=;"));
}

TEST(OracleConnectionString, FieldsGoInUnchangedWhateverTheyHold) {
    const QString sid = QStringLiteral(" orcl ");
    const QString user = QStringLiteral("a;b}c{d=e");
    const QString password = QStringLiteral("p\u00e4ss\u6771;Pwd=x}");
    EXPECT_EQ(OracleConnectionString(Fields({}, sid, user, password)),
              QStringLiteral("Driver={Microsoft ODBC for Oracle};Server=") + sid +
                  QStringLiteral(";Uid=") + user + QStringLiteral(";Pwd=") + password +
                  QStringLiteral(";"));
}

TEST(OracleConnectionString, TenThousandCharacterFieldsGoInWhole) {
    const QString longText(10000, u'x');
    const QString text = OracleConnectionString(Fields({}, longText, longText, longText));
    EXPECT_EQ(text.size(), 53 + 3 * 10000);
    EXPECT_TRUE(text.endsWith(QStringLiteral(";Pwd=") + longText + QStringLiteral(";")));
}

TEST(ParadoxConnectionString, GivesTheFolderTwiceWithTheFixedDriverSettings) {
    EXPECT_EQ(ParadoxConnectionString(Fields(QStringLiteral("/data/tables"), QStringLiteral("x"),
                                             QStringLiteral("y"), QStringLiteral("z"))),
              QStringLiteral("Driver={Microsoft Paradox Driver (*.db )};DriverID=538;"
                             "Fil=Paradox 5.X;DefaultDir=/data/tables;Dbq=/data/tables;"
                             "CollatingSequence=ASCII;"));
}

TEST(ParadoxConnectionString, OddFolderTextsGoInUnchanged) {
    for (const QString& folder : {QString(), QStringLiteral("/a;b}c"),
                                  QStringLiteral(" /t\u00f6 x "), QString(10000, u'd')}) {
        EXPECT_EQ(ParadoxConnectionString(Fields(folder, {}, {}, {})),
                  QStringLiteral("Driver={Microsoft Paradox Driver (*.db )};DriverID=538;"
                                 "Fil=Paradox 5.X;DefaultDir=") +
                      folder + QStringLiteral(";Dbq=") + folder +
                      QStringLiteral(";CollatingSequence=ASCII;"));
    }
}

}  // namespace
}  // namespace quorvex::test
