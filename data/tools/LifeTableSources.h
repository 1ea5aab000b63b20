#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace finplan::data {

// A published table as text, so the data files keep the published digits.
struct PublishedTable {
    std::map<int, std::string> byAge;                  // single-age tables
    std::map<std::pair<int, int>, std::string> byAges; // the joint table, (older, younger)
};

// Reads "age,value" or "age1,age2,value" rows after a header row; throws std::runtime_error
// naming the file and line of anything else.
PublishedTable readPublishedTable(const std::filesystem::path& csv);

// Writes "mort.dat" and "jointtab.dat" into `outDir` from the CSV files in `sourceDir`.
void writeLifeTableFiles(const std::filesystem::path& sourceDir,
                         const std::filesystem::path& outDir);

} // namespace finplan::data
