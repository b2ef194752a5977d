#pragma once

#include <QString>
#include <QStringView>

namespace quorvex {

// A name in upper case one character at a time, as the platform the databases come from upper-
// cases file names: each character becomes its single upper-case form, or stays as it is when it
// has none ("ß", "ﬁ" and "İ" stay; "ı" becomes "I"). QString::toUpper may turn one letter into
// several ("ß" into "SS"), and that name would no longer lead back to its file.
//
// Two file names are the same ignoring case exactly when their upper-case forms are equal, so a
// table name listed in upper case always finds its file.
QString UpperCaseName(QStringView name);

}  // namespace quorvex
