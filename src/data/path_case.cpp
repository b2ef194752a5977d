#include "data/path_case.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace quorvex {

namespace {

// The one entry of `folder` whose name equals `name` ignoring case, or an empty string.
QString FindEntryIgnoringCase(const QString& folder, const QString& name) {
    QDir dir(folder.isEmpty() ? QStringLiteral("/") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QString found;
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty()) {
                return QString();  // ambiguous: two spellings exist, none is exact
            }
            found = entry;
        }
    }
    return found;
}

}  // namespace

QString ResolvePathIgnoringCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'));
    QString resolved;
    bool first = true;
    for (const QString& part : parts) {
        if (first) {
            first = false;
            if (absolute) {
                continue;  // the empty part before the leading slash
            }
        }
        const QString prefix = resolved.isEmpty() ? (absolute ? QStringLiteral("/") : QString())
                                                  : resolved + QLatin1Char('/');
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            resolved = prefix + part;
            continue;
        }
        const QString exact = prefix + part;
        if (QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QString folder =
            resolved.isEmpty() ? (absolute ? QStringLiteral("/") : QStringLiteral(".")) : resolved;
        const QString match = FindEntryIgnoringCase(folder, part);
        if (match.isEmpty()) {
            return path;
        }
        resolved = prefix + match;
    }
    return resolved;
}

QString ResolveNewPathIgnoringCase(const QString& path) {
    const QString existing = ResolvePathIgnoringCase(path);
    if (QFileInfo::exists(existing)) {
        return existing;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0) {
        return path;  // no folder part, or the root
    }
    return ResolvePathIgnoringCase(path.left(slash)) + path.mid(slash);
}

}  // namespace quorvex
