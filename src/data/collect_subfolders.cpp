#include "data/collect_subfolders.h"

#include "data/directory_entries.h"
#include "data/event_pump.h"

#include <set>
#include <utility>

namespace quorvex {

namespace {

using FolderIdentity = std::pair<dev_t, ino_t>;

class SubfolderWalk {
  public:
    // Appends the entered subfolders of `folder` to `found`.
    void ListSubfolders(const QString& folder, QStringList& found) {
        pump_.Pump();
        DirectoryReader reader(EncodeFolderPath(folder));
        if (!reader.IsOpen() || !FirstVisit(reader)) {
            return;
        }
        QString name;
        while (reader.Next()) {
            pump_.Pump();
            const char* raw = reader.Name();
            if (raw[0] == '.') {
                continue;  // hidden (and "." and "..")
            }
            if (reader.Kind() != EntryKind::Folder) {
                continue;  // files, and links whatever they lead to
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

    EventPump pump_;
    std::set<FolderIdentity> visited_;
};

}  // namespace

void CollectSubfolders(QStringList& folders, bool recurse) {
    SubfolderWalk walk;
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

}  // namespace quorvex
