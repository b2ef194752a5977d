// pxdump FILE: prints a Paradox table file as JSON (fields, rows, header) so a table can be
// checked by hand or compared with a known-good dump. A table that cannot be read gives its
// error on standard error and exit status 1.

#include "table_json.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pxdump FILE\n";
        return 2;
    }
    try {
        quorvex::pxdump::DumpTableJson(argv[1], std::cout);
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "pxdump: " << error.what() << "\n";
        return 1;
    }
}
