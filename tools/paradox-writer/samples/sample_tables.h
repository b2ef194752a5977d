#pragma once

#include <filesystem>

namespace quorvex::samples {

// Writes the sample Paradox folder the program offers its users, every table of which can be
// sent as it is: customers, orders (of two table versions), parts and suppliers, with a few
// hundred rows, memos, pictures and other binary values, dates and times, money, Booleans, NULLs
// and names in several languages, and one table with a lower-case file name. All of them lie in
// the folder itself. Everything is made from fixed seeds, so every build makes the same files.
void WriteSampleFolder(const std::filesystem::path& folder);

}  // namespace quorvex::samples
