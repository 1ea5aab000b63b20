#include "results/Pagination.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/FileWriter.h"

namespace finplan {

namespace {

const char* const kDashes =
    "          --------------------------------------------------------------------------------"
    "--------------------------------\n";

Result<int> paginate(const std::string& workDir, bool scenario) {
    const auto path = [&](const std::string& name) {
        return (std::filesystem::path(workDir) / name).string();
    };
    std::ifstream in(path("ptmpsch.dat"));
    if (!in)
        return Status::error("ptmpsch.dat", "FILE OPEN ERROR");
    int pages = 0;
    // Each sheet is written whole when the next one starts; one that fails goes.
    FileWriter sheet(OnFailure::Remove);
    std::ostringstream out;
    auto closePage = [&]() -> Status {
        if (!sheet.isOpen())
            return {};
        sheet.write(out.str());
        out.str("");
        if (sheet.finish() == WriteOutcome::Written)
            return {};
        return Status::error("Cannot write " + path("page" + std::to_string(pages)) +
                                 "!\nThe disk may be full.",
                             "FILE ERROR");
    };
    auto openPage = [&]() -> Status {
        if (Status closed = closePage(); !closed)
            return closed;
        const std::string name = "page" + std::to_string(pages + 1);
        if (!sheet.open(path(name)))
            return Status::error(name, "FILE OPEN ERROR");
        ++pages;
        return {};
    };
    if (Status opened = openPage(); !opened)
        return opened;
    int counter = 1;
    if (scenario) {
        out << "          Financial Scenario:\n";
        ++counter;
    }
    // Later sheets of the results repeat the column headings.
    auto newPage = [&]() -> Status {
        out << "Dooooone\n";
        if (Status opened = openPage(); !opened)
            return opened;
        counter = 2;
        if (!scenario) {
            out << "?BO\n"
                << kDashes
                << "          \t      Investment\t       Tax-Free\t      Retirement\t           "
                   "Asset\t          Equity\n"
                << "          Age\t       Accounts\t       Accounts\t       Accounts\t       "
                   "Accounts\t       Accounts\t    Liabilities\t       Net Worth\n"
                << kDashes << "?Bo\n";
            counter += 4;
        }
        return {};
    };

    bool seenDashes = false;
    std::string line;
    while (std::getline(in, line)) {
        if (counter % 55 == 0 || counter > 54)
            if (Status opened = newPage(); !opened)
                return opened;
        if (line.find("-----") != std::string::npos) {
            // The first one closes the description block's sheet; later ones keep a year's
            // summary with its table.
            if (!seenDashes || counter + 4 >= 60) {
                seenDashes = true;
                if (Status opened = newPage(); !opened)
                    return opened;
            }
            continue;
        }
        if (line.starts_with("??"))
            break;
        out << "          " << line << '\n';
        if (!line.starts_with("?"))
            ++counter;
    }
    out << "Dooooone\n";
    if (Status closed = closePage(); !closed)
        return closed;
    return pages;
}

} // namespace

Result<int> paginateResults(const std::string& workDir) {
    return paginate(workDir, false);
}

Result<int> paginateScenario(const std::string& workDir) {
    return paginate(workDir, true);
}

} // namespace finplan
