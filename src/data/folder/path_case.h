#pragma once

#include <QString>
#include <QStringList>

namespace quorvex {

// File names are matched ignoring case, as on the platform the databases come from: when the
// path does not exist as spelled, each component that is missing is looked up ignoring case in
// its folder. Returns the path as it exists on disk, or the path unchanged when nothing matches
// (or more than one entry matches a component ambiguously, the exact spelling then winning).
QString ResolvePathIgnoringCase(const QString& path);

// The path as it exists on disk, found as ResolvePathIgnoringCase finds it; an empty text when
// nothing matches.
QString ExistingPathIgnoringCase(const QString& path);

// For a file about to be written: the existing entry the path names ignoring case, or, when there
// is none, the path with its folder part found ignoring case and its last name as spelled.
QString ResolveNewPathIgnoringCase(const QString& path);

// The names of the entries of the path's folder that equal its last name ignoring case, each as
// spelled on disk: more than one only where the file system tells letter case apart.
QStringList SpellingsIgnoringCase(const QString& path);

// While an object of this class lives, each folder that names are looked up in is read once and
// its names kept, so that looking up thousands of tables in one folder costs the same for each
// whatever the folder holds. The kept names answer for the folder, exact spellings included; the
// entries the program itself creates or deletes meanwhile are noted in them (NoteEntryChanged).
// Changes made by anyone else are seen by the next holder, since each new one reads every folder
// afresh. A command that looks up many files holds one for its whole run.
class FolderNamesKept {
  public:
    FolderNamesKept();
    ~FolderNamesKept();
    FolderNamesKept(const FolderNamesKept&) = delete;
    FolderNamesKept& operator=(const FolderNamesKept&) = delete;
};

// Tells the kept folder names that the program created (`exists`) or deleted the entry at `path`
// (spelled as on disk). Nothing to do while no names are kept.
void NoteEntryChanged(const QString& path, bool exists);

}  // namespace quorvex
