#include "engine/LifeTables.h"

#include <fstream>

#include "model/TextNumbers.h"

namespace finplan {

namespace {

// One number a line; a line is read into a 30-character buffer, as the format allows. Returns
// false when the file cannot be read at all.
bool readNumbers(const std::filesystem::path& path, std::vector<float>& values) {
    values.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 29)
            line.resize(29);
        values.push_back(static_cast<float>(leadingNumber(line)));
    }
    return !in.bad();
}

} // namespace

float LifeTableData::jointExpectancy(int first, int second) const {
    if (first < 0 || second < 0)
        return 0;
    // The table holds each pair once, with the older age first.
    const long x = std::max(first, second);
    const long y = std::min(first, second);
    const long line = x * (x + 1) / 2 + y;
    return line < static_cast<long>(joint.size()) ? joint[static_cast<std::size_t>(line)] : 0;
}

LifeTableFiles::LifeTableFiles(std::filesystem::path directory)
    : m_directory(std::move(directory)) {}

LifeTableFiles::Stamp LifeTableFiles::stampOf(const std::filesystem::path& path) {
    std::error_code ec;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(path, ec);
    if (ec)
        return {};
    stamp.time = std::filesystem::last_write_time(path, ec);
    stamp.exists = !ec;
    return stamp;
}

const LifeTableData& LifeTableFiles::data() {
    const std::filesystem::path mort = m_directory / "mort.dat";
    const std::filesystem::path joint = m_directory / "jointtab.dat";
    const std::array<Stamp, 2> stamps = {stampOf(mort), stampOf(joint)};
    if (m_loaded && stamps == m_stamps)
        return m_data;

    m_data = {};
    std::vector<float> values;
    if (!readNumbers(mort, values))
        m_data.problem = "cannot read " + mort.string();
    std::size_t at = 0;
    auto take = [&](auto& table) {
        for (float& v : table)
            v = at < values.size() ? values[at++] : 0.0f;
    };
    take(m_data.mortality);
    take(m_data.table0);
    take(m_data.table1);
    if (!readNumbers(joint, m_data.joint) && m_data.problem.empty())
        m_data.problem = "cannot read " + joint.string();
    m_stamps = stamps;
    m_loaded = true;
    return m_data;
}

} // namespace finplan
