#include "data/folder/path_case.h"

#include "data/folder/directory_entries.h"
#include "data/core/failure.h"
#include "data/folder/folder_name_index.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <sys/stat.h>

#include <mutex>

namespace quorvex {

namespace {

// A folder as the file system knows it, whatever spelling of its path led there.
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

size_t qHash(const FolderIdentity& identity, size_t seed = 0) {
    return qHashMulti(seed, identity.device, identity.inode);
}

// What the current holder of FolderNamesKept learnt of a folder path.
struct KnownFolder {
    QString resolved;    // as it exists on disk
    bool found = false;  // it names an existing folder
    FolderIdentity identity;
};

struct KeptFolderNames {
    int holders = 0;
    QHash<QString, KnownFolder> foldersByText;
    QHash<FolderIdentity, FolderNameIndex> namesByFolder;

    void Forget() {
        foldersByText.clear();
        namesByFolder.clear();
    }
};

// The kept names belong to whichever command holds them. Other threads (the bulk copy's jobs,
// each with its own Paradox reader) find their tables meanwhile, so every use of the kept names
// holds this lock. Looking a name up resolves its folder through the same lookup, under the lock
// already held: hence a recursive one.
KeptFolderNames& Kept() {
    static KeptFolderNames kept;
    return kept;
}

std::recursive_mutex& KeptLock() {
    static std::recursive_mutex lock;
    return lock;
}

// Encoded as strictly as FolderNameIndex reads the folder: a text with no exact form in the file
// system's encoding is no folder, rather than the folder its substituted form happens to name.
bool IdentityOfFolder(const QString& folder, FolderIdentity& identity) {
    QByteArray bytes;
    try {
        bytes = EncodeFolderPath(folder);
    } catch (const Failure&) {
        return false;
    }
    struct stat info {};
    if (bytes.isEmpty() || ::stat(bytes.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    identity = {info.st_dev, info.st_ino};
    return true;
}

// The folder part of a path whose last "/" is at `slash`: the root, or "." for a bare name.
QString FolderPart(const QString& path, qsizetype slash) {
    return slash > 0 ? path.left(slash) : slash == 0 ? QStringLiteral("/") : QStringLiteral(".");
}

// A name that stands for an entry of its folder (not "", "." or "..").
bool IsEntryName(QStringView name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
}

KnownFolder Known(KeptFolderNames& kept, const QString& folder) {
    const auto known = kept.foldersByText.constFind(folder);
    if (known != kept.foldersByText.constEnd()) {
        return *known;
    }
    KnownFolder learnt;
    learnt.resolved = folder;
    learnt.found = IdentityOfFolder(folder, learnt.identity);
    if (!learnt.found) {
        learnt.resolved = ResolvePathIgnoringCase(folder);
        learnt.found = IdentityOfFolder(learnt.resolved, learnt.identity);
    }
    kept.foldersByText.insert(folder, learnt);
    return learnt;
}

// The kept names of a folder that exists, read now when they were not kept yet.
const FolderNameIndex& KeptNames(KeptFolderNames& kept, const KnownFolder& folder) {
    auto names = kept.namesByFolder.find(folder.identity);
    if (names == kept.namesByFolder.end()) {
        names = kept.namesByFolder.insert(folder.identity, FolderNameIndex(folder.resolved));
    }
    return *names;
}

// The last name of `path` looked up in the kept names of its folder, its exact spelling first
// like any other; empty when none matches. The names read are trusted for the whole command:
// asking the file system about each spelling first would cost a directory search for every
// spelling that does not exist, most of a delete's time.
QString FindInKeptFolder(KeptFolderNames& kept, const QString& path, qsizetype slash) {
    const KnownFolder folder = Known(kept, path.left(slash));
    if (!folder.found) {
        return QString();
    }
    const QString match = KeptNames(kept, folder).Find(path.mid(slash + 1));
    return match.isEmpty() ? QString() : folder.resolved + QLatin1Char('/') + match;
}

// Each component of the path in turn, its exact spelling first; empty when one matches nothing.
QString WalkIgnoringCase(const QString& path) {
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
        if (!IsEntryName(part)) {
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
        const QString match = FolderNameIndex(folder).Find(part);
        if (match.isEmpty()) {
            return QString();
        }
        resolved = prefix + match;
    }
    return resolved;
}

}  // namespace

FolderNamesKept::FolderNamesKept() {
    const std::lock_guard lock(KeptLock());
    KeptFolderNames& kept = Kept();
    ++kept.holders;
    kept.Forget();  // a new command reads every folder afresh
}

FolderNamesKept::~FolderNamesKept() {
    const std::lock_guard lock(KeptLock());
    KeptFolderNames& kept = Kept();
    if (--kept.holders == 0) {
        kept.Forget();
    }
}

QString ExistingPathIgnoringCase(const QString& path) {
    if (path.isEmpty()) {
        return QString();
    }
    {
        const std::lock_guard lock(KeptLock());
        KeptFolderNames& kept = Kept();
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        if (kept.holders > 0 && slash > 0 && IsEntryName(QStringView(path).mid(slash + 1))) {
            return FindInKeptFolder(kept, path, slash);
        }
    }
    if (QFileInfo::exists(path)) {
        return path;
    }
    return WalkIgnoringCase(path);
}

QString ResolvePathIgnoringCase(const QString& path) {
    const QString existing = ExistingPathIgnoringCase(path);
    return existing.isEmpty() ? path : existing;
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

QStringList SpellingsIgnoringCase(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (!IsEntryName(name)) {
        return {};
    }
    const QString folderText = FolderPart(path, slash);
    {
        const std::lock_guard lock(KeptLock());
        KeptFolderNames& kept = Kept();
        if (kept.holders > 0) {
            const KnownFolder folder = Known(kept, folderText);
            return folder.found ? KeptNames(kept, folder).Spellings(name) : QStringList();
        }
    }
    const QString folder = ExistingPathIgnoringCase(folderText);
    return folder.isEmpty() ? QStringList() : FolderNameIndex(folder).Spellings(name);
}

void NoteEntryChanged(const QString& path, bool exists) {
    const std::lock_guard lock(KeptLock());
    KeptFolderNames& kept = Kept();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (kept.holders == 0 || !IsEntryName(name)) {
        return;
    }
    const QString folderText = FolderPart(path, slash);
    const KnownFolder folder = Known(kept, folderText);
    const auto names = kept.namesByFolder.find(folder.identity);
    if (folder.found && names != kept.namesByFolder.end()) {
        names->Note(name, exists);
    }
    // A folder not read yet is read with the change in it.
}

}  // namespace quorvex
