// Writes the program's sample Paradox folder: make_samples FOLDER. The folder is made afresh in
// a sibling work folder and then put in place, so a failed run leaves the old samples whole.

#include "sample_tables.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

const char kUsage[] =
    "Usage: make_samples FOLDER\n"
    "Writes the sample Paradox tables (and their Archive subfolder) into FOLDER, replacing\n"
    "what it held; FOLDER.new beside it is the work folder.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::string argument = argc == 2 ? argv[1] : "";
    if (argument == "--help" || argument == "-h") {
        std::cout << kUsage;
        return 0;
    }
    // A folder named like an option is a mistyped option, never a folder to replace.
    if (argc != 2 || argument.empty() || argument[0] == '-') {
        std::cerr << (argc == 2 && !argument.empty() && argument[0] == '-'
                          ? "make_samples: unknown option '" + argument + "'\n"
                          : std::string())
                  << kUsage;
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path target = fs::absolute(argv[1]);
    const fs::path work = target.parent_path() / (target.filename().string() + ".new");
    try {
        fs::remove_all(work);
        quorvex::samples::WriteSampleFolder(work);
        fs::remove_all(target);
        fs::rename(work, target);
    } catch (const std::exception& error) {
        std::cerr << "make_samples: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
