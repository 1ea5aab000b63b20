#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace finplan {

// The life-table data files beside the program: "mort.dat" holds 116 mortality rates (ages
// 0..115), life table 0 (112 values, ages 0..111) and life table 1 (106 values, ages 10..115),
// one number a line; "jointtab.dat" holds the joint life expectancy of ages x >= y on line
// x (x + 1) / 2 + y. Values a short file does not hold count as 0; a file that cannot be read
// makes the data unusable.
struct LifeTableData {
    static constexpr int kMortalityAges = 116;
    static constexpr int kTable0Ages = 112;
    static constexpr int kTable1FirstAge = 10;
    static constexpr int kTable1Ages = 106;

    std::array<float, kMortalityAges> mortality{};
    std::array<float, kTable0Ages> table0{};
    std::array<float, kTable1Ages> table1{};
    std::vector<float> joint; // as many lines as the file holds
    // "cannot read <path>" for the first file that is missing or unreadable; empty when both
    // were read.
    std::string problem;

    // The joint life expectancy of two ages, or 0 when the file does not hold it.
    float jointExpectancy(int first, int second) const;
};

// Reads the two files, and keeps what it read only while neither file changes (by size and
// modification time), so an edited file is seen at the next look.
class LifeTableFiles {
  public:
    explicit LifeTableFiles(std::filesystem::path directory = ".");
    const LifeTableData& data();
    // What the last call of data() read, without looking at the files again.
    const LifeTableData& lastRead() { return m_loaded ? m_data : data(); }
    const std::filesystem::path& directory() const { return m_directory; }

  private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::filesystem::path& path);

    std::filesystem::path m_directory;
    std::array<Stamp, 2> m_stamps{};
    bool m_loaded = false;
    LifeTableData m_data;
};

} // namespace finplan
