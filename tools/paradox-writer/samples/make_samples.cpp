// Writes the program's sample Paradox folder: make_samples FOLDER. The folder is made afresh in
// a sibling work folder and then put in place, so a failed run leaves the old samples whole.

#include "sample_tables.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_samples FOLDER\n";
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
