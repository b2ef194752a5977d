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

}  // namespace quorvex
