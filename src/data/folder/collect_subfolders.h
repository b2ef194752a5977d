#pragma once

#include <QStringList>

namespace quorvex {

// Appends to `folders` (each entry a folder path ending in "/") the subfolders of its entries,
// and with `recurse` their subfolders too, down to any depth: breadth-first by level, the
// folders of one level grouped by parent in directory order. Hidden folders (names starting
// with "."), names holding "?" or not valid text in the file system's encoding, and folders
// reached through symbolic links are not entered; a folder met twice (a bind mount inside its
// own tree) has its subfolders listed once. Pending window events run while it walks. A folder
// text the search cannot take raises Failure.
void CollectSubfolders(QStringList& folders, bool recurse);

// Told what the walk sees in each folder it reads, so that a caller who needs the files of
// every folder too does not read each folder a second time.
class FolderReadObserver {
  public:
    virtual ~FolderReadObserver() = default;
    // A folder is being read (its path as in the folder list); its files follow.
    virtual void FolderRead(const QString& folder) = 0;
    // An ordinary file, or a link to one, of that folder; hidden files included. Names that are
    // not valid text show their undecodable parts as "?".
    virtual void FileInFolder(const QString& fileName) = 0;
};

// The same walk, telling `observer` about every folder it reads and the files in it.
void CollectSubfolders(QStringList& folders, bool recurse, FolderReadObserver& observer);

}  // namespace quorvex
