#pragma once

#include <filesystem>

namespace quorvex::samples {

// Writes the sample Paradox folder the program offers its users: customers, orders and parts
// with a few hundred rows, memos, pictures, NULLs and names in several languages; a table with a
// lower-case file name, a subfolder with more tables, a hidden table file and a "~" work file.
// Everything is made from fixed seeds, so every build makes the same files.
void WriteSampleFolder(const std::filesystem::path& folder);

}  // namespace quorvex::samples
