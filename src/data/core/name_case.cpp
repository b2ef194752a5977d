#include "data/core/name_case.h"

namespace quorvex {

QString UpperCaseName(QStringView name) {
    QString upper;
    upper.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        const char32_t upperCode = QChar::toUpper(code);  // the simple, one-character mapping
        if (QChar::requiresSurrogates(upperCode)) {
            upper.append(QChar(QChar::highSurrogate(upperCode)));
            upper.append(QChar(QChar::lowSurrogate(upperCode)));
        } else {
            upper.append(QChar(static_cast<char16_t>(upperCode)));
        }
    }
    return upper;
}

}  // namespace quorvex
