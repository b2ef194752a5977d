#pragma once

#include "data/connection_fields.h"
#include "data/table_list.h"

#include <QString>

#include <vector>

namespace quorvex {

// Clears `list` and fills it with the tables of the Oracle login's own schema, in the case the
// server reports them; the first entry becomes the current one. Failures raise Failure; entries
// added before a failure stay.
void LoadOracleTables(TableList& list, const ConnectionFields& fields);

// Adds the Paradox tables found in the Paradox folder and all its subfolders: each "*.db" file
// name (names starting with "~" left out) in upper case without its final ".DB". Nothing is
// cleared, sorted or made current; an empty folder field adds nothing. Failures raise Failure.
void LoadParadoxTables(TableList& list, const ConnectionFields& fields);

// One table file of a Paradox folder tree, as LoadParadoxTables lists it.
struct ParadoxTableFile {
    QString folder;  // the folder that holds it, as found on disk, ending in "/"
    QString file;    // the file's name in that folder
    QString name;    // the table name the lists show: upper case, without ".DB"
};

// The table files LoadParadoxTables lists for the folder, in the same order, each with the
// folder that holds it: the folder itself first, then its subfolders. An empty folder text
// finds none. Failures raise Failure.
std::vector<ParadoxTableFile> FindParadoxTableFiles(const QString& folderField);

}  // namespace quorvex
