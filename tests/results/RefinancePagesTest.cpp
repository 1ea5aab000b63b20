#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "results/ReportPages.h"

using namespace finplan;

namespace {

std::vector<std::string> fileLines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The refinance report: the rows alternate between the mortgage kept (O) and the refinanced one
// (R), and the age leads both column pages.
TEST(RefinancePages, RowsAlternateAndTheAgeLeadsEachColumnPage) {
    test::TempDir dir;
    {
        std::ofstream out(dir.file("refprt.tmp"));
        out << "Age\tNet Worth\tSavings\tEquity\t+Diff. in Mon. Pay.\t+Principal\t-Interest\t"
               "+Tax Savings\t-Savings Interest\t-Tax on Interest\n";
        for (const char* label : {" 45 O", " 45 R"}) {
            out << label << "\t";
            for (int k = 1; k <= 9; ++k)
                out << k * 100 << ".50\t";
            out << "\n";
        }
        out << "Dooone\nDooone\n";
    }
    const auto state = std::make_unique<RunState>();
    ReportContext c{*state, dir.path().string()};
    const Result<int> pages = writeRefinancePages(c);
    ASSERT_TRUE(pages.ok()) << pages.message().text;
    EXPECT_EQ(*pages, 2);
    const auto first = fileLines(dir.file("rpage1"));
    EXPECT_EQ(first[0], "Age\tNet Worth\tSavings\tEquity\t+Diff. in Mon. Pay.\t+Principal\t"
                        "-Interest\t");
    EXPECT_EQ(first[2].substr(0, 16), "        45.00 O\t");
    EXPECT_EQ(first[3].substr(0, 30), "        45.00 R\t       100.50\t");
    const auto second = fileLines(dir.file("rpage2"));
    EXPECT_EQ(second[0], "Age\t+Tax Savings\t-Savings Interest\t-Tax on Interest\t");
    EXPECT_EQ(second[2], "        45.00 O\t       700.50\t       800.50\t       900.50\t");
    EXPECT_EQ(reportTitle(kRefinanceReport), "Refinance Analysis Report");
}

} // namespace
