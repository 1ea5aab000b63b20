#include "results/Pagination.h"

#include <filesystem>
#include <fstream>

namespace finplan {

namespace {

const char* const kDashes =
    "          --------------------------------------------------------------------------------"
    "--------------------------------\n";

int paginate(const std::string& workDir, Notifier& notifier, bool scenario) {
    const auto path = [&](const std::string& name) {
        return (std::filesystem::path(workDir) / name).string();
    };
    std::ifstream in(path("ptmpsch.dat"));
    if (!in) {
        notifier.notify({"ptmpsch.dat", "FILE OPEN ERROR", MessageKind::Error});
        return 0;
    }
    int pages = 0;
    std::ofstream out;
    auto openPage = [&] {
        out.close();
        const std::string name = "page" + std::to_string(pages + 1);
        out.open(path(name), std::ios::binary | std::ios::trunc);
        if (!out) {
            notifier.notify({name, "FILE OPEN ERROR", MessageKind::Error});
            return false;
        }
        ++pages;
        return true;
    };
    if (!openPage())
        return 0;
    int counter = 1;
    if (scenario) {
        out << "          Financial Scenario:\n";
        ++counter;
    }
    // Later sheets of the results repeat the column headings.
    auto newPage = [&] {
        out << "Dooooone\n";
        if (!openPage())
            return false;
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
        return true;
    };

    bool seenDashes = false;
    std::string line;
    while (std::getline(in, line)) {
        if (counter % 55 == 0 || counter > 54)
            if (!newPage())
                return 0;
        if (line.find("-----") != std::string::npos) {
            // The first one closes the description block's sheet; later ones keep a year's
            // summary with its table.
            if (!seenDashes || counter + 4 >= 60) {
                seenDashes = true;
                if (!newPage())
                    return 0;
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
    out.close();
    return out ? pages : 0;
}

} // namespace

int paginateResults(const std::string& workDir, Notifier& notifier) {
    return paginate(workDir, notifier, false);
}

int paginateScenario(const std::string& workDir, Notifier& notifier) {
    return paginate(workDir, notifier, true);
}

} // namespace finplan
