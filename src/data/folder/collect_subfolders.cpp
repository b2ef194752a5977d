#include "data/folder/collect_subfolders.h"

#include "data/folder/directory_entries.h"
#include "data/core/event_pump.h"

#include <set>
#include <utility>

namespace quorvex {

namespace {

using FolderIdentity = std::pair<dev_t, ino_t>;

class SubfolderWalk {
  public:
    explicit SubfolderWalk(FolderReadObserver* observer) : observer_(observer) {}

    // Appends the entered subfolders of `folder` to `found`.
    void ListSubfolders(const QString& folder, QStringList& found) {
        pump_.Pump();
        DirectoryReader reader(EncodeFolderPath(folder));
        if (!reader.IsOpen() || !FirstVisit(reader)) {
            return;
        }
        if (observer_ != nullptr) {
            observer_->FolderRead(folder);
        }
        QString name;
        while (reader.Next()) {
            pump_.Pump();
            if (reader.Kind() != EntryKind::Folder) {
                // Links are never entered, whatever they lead to.
                if (observer_ != nullptr && reader.IsFileLike()) {
                    DecodeEntryName(reader.Name(), name);
                    observer_->FileInFolder(name);
                }
                continue;
            }
            const char* raw = reader.Name();
            if (raw[0] == '.') {
                continue;  // hidden (and "." and "..")
            }
            if (!DecodeEntryName(raw, name) || name.contains(QLatin1Char('?'))) {
                continue;
            }
            found.append(folder + name + QLatin1Char('/'));
        }
    }

    void Pump() { pump_.Pump(); }

  private:
    bool FirstVisit(const DirectoryReader& reader) {
        FolderIdentity identity;
        if (!reader.Identity(identity.first, identity.second)) {
            return true;
        }
        return visited_.insert(identity).second;
    }

    FolderReadObserver* observer_;
    EventPump pump_;
    std::set<FolderIdentity> visited_;
};

void Walk(QStringList& folders, bool recurse, FolderReadObserver* observer) {
    SubfolderWalk walk(observer);
    QStringList newFolders;
    QStringList level = folders;
    while (!level.isEmpty()) {
        QStringList nextLevel;
        for (const QString& folder : level) {
            walk.ListSubfolders(folder, nextLevel);
        }
        newFolders += nextLevel;
        if (!recurse) {
            break;
        }
        level = std::move(nextLevel);
    }
    for (const QString& folder : newFolders) {
        walk.Pump();
        folders.append(folder);
    }
}

}  // namespace

void CollectSubfolders(QStringList& folders, bool recurse) { Walk(folders, recurse, nullptr); }

void CollectSubfolders(QStringList& folders, bool recurse, FolderReadObserver& observer) {
    Walk(folders, recurse, &observer);
}

}  // namespace quorvex
