#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace quorvex {

// The names of one folder's entries, found ignoring case. Read once, then told of the entries the
// program itself creates and deletes, so that looking up each of thousands of names costs the
// same whatever the folder holds.
class FolderNameIndex {
  public:
    // Reads the folder's entries now. A folder that cannot be read holds none; names that are
    // not valid text in the file system's encoding cannot be named by a path and are left out.
    explicit FolderNameIndex(const QString& folder);

    // The entry spelled exactly `name` when there is one, otherwise the one entry whose name
    // equals it ignoring case; empty when none does, or when several do and none exactly.
    QString Find(const QString& name) const;

    // Every entry whose name equals `name` ignoring case (more than one only where the file
    // system tells letter case apart).
    QStringList Spellings(const QString& name) const;

    // Records that the entry `name` now exists, or no longer does.
    void Note(const QString& name, bool exists);

  private:
    // Names that are equal ignoring case share their upper-case form (UpperCaseName).
    QHash<QString, QStringList> spellingsByUpperCase_;
};

}  // namespace quorvex
