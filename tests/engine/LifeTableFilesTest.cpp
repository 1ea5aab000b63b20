#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "LifeTableSources.h"
#include "TempDir.h"
#include "engine/LifeTables.h"

namespace finplan {
namespace {

const std::filesystem::path kData = FINPLAN_DATA_DIR;

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double number(const std::string& text) {
    return std::stod(text);
}

TEST(LifeTableFiles, TheShippedFilesAreWhatTheGeneratorMakes) {
    test::TempDir dir;
    data::writeLifeTableFiles(kData / "sources", dir.path());
    for (const char* name : {"mort.dat", "jointtab.dat"})
        EXPECT_EQ(readText(dir.path() / name), readText(kData / name)) << name;
}

TEST(LifeTableFiles, TheEngineReadsThePublishedValues) {
    LifeTableFiles files(kData);
    const LifeTableData& d = files.data();
    const data::PublishedTable q =
        data::readPublishedTable(kData / "sources/mortality_1.401a9-9e.csv");
    const data::PublishedTable single =
        data::readPublishedTable(kData / "sources/single_life_2022.csv");
    const data::PublishedTable uniform =
        data::readPublishedTable(kData / "sources/uniform_lifetime_2022.csv");
    const data::PublishedTable joint =
        data::readPublishedTable(kData / "sources/joint_last_survivor_2022.csv");
    for (int age = 0; age < LifeTableData::kMortalityAges; ++age)
        EXPECT_FLOAT_EQ(d.mortality[age], number(q.byAge.at(age))) << age;
    for (int age = 0; age < LifeTableData::kTable0Ages; ++age)
        EXPECT_FLOAT_EQ(d.table0[age], number(single.byAge.at(age))) << age;
    for (int age = 10; age < 116; ++age)
        EXPECT_FLOAT_EQ(d.table1[age - 10], number(uniform.byAge.at(age))) << age;
    for (const auto& [ages, value] : joint.byAges)
        ASSERT_FLOAT_EQ(d.jointExpectancy(ages.first, ages.second), number(value));
    EXPECT_FLOAT_EQ(d.jointExpectancy(40, 70), d.jointExpectancy(70, 40));
    EXPECT_EQ(d.jointExpectancy(121, 0), 0);
}

// Survival chances from age x, t = 1, 2, ..., with nobody alive past 120.
std::vector<double> survival(const std::vector<double>& q, int x) {
    std::vector<double> p;
    double alive = 1;
    for (int t = 1; x + t <= 120; ++t) {
        alive *= 1 - q[x + t - 1];
        p.push_back(alive);
    }
    return p;
}

double published(double expectancy) {
    return std::max(1.0, std::floor(expectancy * 10 + 0.5 + 1e-9) / 10);
}

TEST(LifeTableFiles, EveryPublishedExpectancyFollowsFromTheMortalityRates) {
    const data::PublishedTable rates =
        data::readPublishedTable(kData / "sources/mortality_1.401a9-9e.csv");
    std::vector<double> q;
    for (int age = 0; age <= 120; ++age)
        q.push_back(number(rates.byAge.at(age)));
    std::vector<std::vector<double>> p;
    for (int x = 0; x <= 120; ++x)
        p.push_back(survival(q, x));

    const data::PublishedTable single =
        data::readPublishedTable(kData / "sources/single_life_2022.csv");
    for (int x = 0; x <= 120; ++x) {
        double sum = 0;
        for (double chance : p[x])
            sum += chance;
        EXPECT_DOUBLE_EQ(published(sum + 11.0 / 24), number(single.byAge.at(x))) << "age " << x;
    }

    auto jointExpectancy = [&](int x, int y) {
        double sum = 0;
        for (std::size_t t = 0; t < std::max(p[x].size(), p[y].size()); ++t) {
            const double a = t < p[x].size() ? p[x][t] : 0;
            const double b = t < p[y].size() ? p[y][t] : 0;
            sum += a + b - a * b;
        }
        return published(sum + 11.0 / 24);
    };
    const data::PublishedTable joint =
        data::readPublishedTable(kData / "sources/joint_last_survivor_2022.csv");
    int mismatches = 0;
    for (const auto& [ages, value] : joint.byAges)
        mismatches += jointExpectancy(ages.first, ages.second) != number(value);
    EXPECT_EQ(mismatches, 0);

    const data::PublishedTable uniform =
        data::readPublishedTable(kData / "sources/uniform_lifetime_2022.csv");
    for (const auto& [age, value] : uniform.byAge)
        EXPECT_DOUBLE_EQ(jointExpectancy(age, age - 10), number(value)) << "age " << age;
}

TEST(LifeTableFiles, ABadSourceIsNamed) {
    test::TempDir dir;
    std::ofstream(dir.file("bad.csv")) << "age,qx\n0,0.1\nnonsense\n";
    try {
        data::readPublishedTable(dir.file("bad.csv"));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("bad.csv:3"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace finplan
