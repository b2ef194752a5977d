#pragma once

#include "data/core/connection_fields.h"
#include "data/folder/paradox_table_walk.h"
#include "shell/table_list.h"

#include <QString>

#include <optional>

namespace quorvex {

// Clears `list` and fills it with the tables of the Oracle login's own schema, in the case the
// server reports them; the first entry becomes the current one. Failures raise Failure; entries
// added before a failure stay.
void LoadOracleTables(TableList& list, const ConnectionFields& fields);

// Adds the Paradox tables found in the Paradox folder and all its subfolders: each "*.db" file
// name (names starting with "~" left out) in upper case without its final ".DB". An entry found
// in a subfolder gets kListedFromSubfolder as its item data. Nothing is cleared, sorted or made
// current; an empty folder field adds nothing. Failures raise Failure.
void LoadParadoxTables(TableList& list, const ConnectionFields& fields);

// The item data of a Paradox list entry whose table file is in a subfolder. The commands act on
// the folder's own files only, so such an entry is never acted on, even where the folder itself
// holds a table of the same name (listed as an entry of its own).
constexpr int kListedFromSubfolder = 1;

// Whether entry `index` of a Paradox list was listed from a subfolder.
bool ListedFromSubfolder(const TableList& list, int index);

// Adds one table found by the walk, marked when `subfolder` is not empty, and otherwise with its
// TwinFileMark when `twinFile` names its file.
void AddParadoxTable(TableList& list, const QString& subfolder, const QString& table,
                     const QString& twinFile = QString());

// Where the folder itself holds a table under two spellings (T.DB and T.db: letter case tells
// them apart on this file system), the list shows it twice and each entry's item data marks its
// own file (TwinFileMark of the file's name), so that each acts on its own file only.
constexpr int kFirstTwinFileMark = 2;
int TwinFileMark(const QString& fileName);

// The file of such an entry, as spelled in `folder`; an empty text when it is no longer there.
// std::nullopt for any other entry, whose name finds its one file ignoring case.
std::optional<QString> TwinFileOfEntry(const TableList& list, int index, const QString& folder);

// Why nothing was done with such an entry whose file is gone, as a failure report says it.
QString TwinFileGoneText(const QString& table);

}  // namespace quorvex
