#include "LifeTableSources.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace finplan::data {

namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ','))
        cells.push_back(cell);
    return cells;
}

// The values of `table` for ages first..last, each of which must be present.
std::vector<std::string> agesOf(const PublishedTable& table, int first, int last,
                                const std::string& name) {
    std::vector<std::string> values;
    for (int age = first; age <= last; ++age) {
        const auto it = table.byAge.find(age);
        if (it == table.byAge.end())
            throw std::runtime_error(name + ": no value for age " + std::to_string(age));
        values.push_back(it->second);
    }
    return values;
}

void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines)
        out << line << '\n';
    if (!out)
        throw std::runtime_error(path.string() + ": cannot be written");
}

} // namespace

PublishedTable readPublishedTable(const std::filesystem::path& csv) {
    std::ifstream in(csv);
    if (!in)
        throw std::runtime_error(csv.string() + ": cannot be read");
    PublishedTable table;
    std::string line;
    std::getline(in, line); // header
    for (int number = 2; std::getline(in, line); ++number) {
        const std::vector<std::string> cells = split(line);
        try {
            if (cells.size() == 2)
                table.byAge[std::stoi(cells[0])] = cells[1];
            else if (cells.size() == 3)
                table.byAges[{std::stoi(cells[0]), std::stoi(cells[1])}] = cells[2];
            else
                throw std::invalid_argument("cells");
        } catch (const std::exception&) {
            throw std::runtime_error(csv.string() + ":" + std::to_string(number) +
                                     ": not a table row: " + line);
        }
    }
    return table;
}

void writeLifeTableFiles(const std::filesystem::path& sourceDir,
                         const std::filesystem::path& outDir) {
    const PublishedTable mortality = readPublishedTable(sourceDir / "mortality_1.401a9-9e.csv");
    const PublishedTable single = readPublishedTable(sourceDir / "single_life_2022.csv");
    const PublishedTable uniform = readPublishedTable(sourceDir / "uniform_lifetime_2022.csv");
    const PublishedTable joint = readPublishedTable(sourceDir / "joint_last_survivor_2022.csv");

    std::vector<std::string> mort = agesOf(mortality, 0, 115, "mortality rates");
    for (const std::string& v : agesOf(single, 0, 111, "single life table"))
        mort.push_back(v);
    for (const std::string& v : agesOf(uniform, 10, 115, "uniform lifetime table"))
        mort.push_back(v);
    writeLines(outDir / "mort.dat", mort);

    // Row x holds x + 1 values: the pairs (x, 0) .. (x, x).
    std::vector<std::string> lines;
    for (int x = 0;; ++x) {
        if (joint.byAges.find({x, 0}) == joint.byAges.end())
            break;
        for (int y = 0; y <= x; ++y) {
            const auto it = joint.byAges.find({x, y});
            if (it == joint.byAges.end())
                throw std::runtime_error("joint table: no value for ages " + std::to_string(x) +
                                         " and " + std::to_string(y));
            lines.push_back(it->second);
        }
    }
    writeLines(outDir / "jointtab.dat", lines);
}

} // namespace finplan::data
