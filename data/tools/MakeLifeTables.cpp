// Writes the life-table data files "mort.dat" and "jointtab.dat" from the published tables.
#include <iostream>

#include "LifeTableSources.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: finplan-lifetables SOURCE_DIR OUT_DIR\n";
        return 2;
    }
    try {
        finplan::data::writeLifeTableFiles(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "finplan-lifetables: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
