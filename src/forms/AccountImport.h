#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Message.h"

// Accounts from the statements other programs export as tab- or comma-delimited text: a
// filter keeps the lines of a name and an amount and writes them to a fixed intermediate file
// ("tabout.tmp", "csvout.tmp") in the working folder; the account steps read that file to
// create the accounts of a new scenario or to update the amounts of existing ones.

namespace finplan {

struct Scenario;

// Commas dropped, parentheses made a minus sign, trailing non-digits cut; a text with any other
// character (a currency sign) becomes empty.
void cleanAmount(std::string& text);
// Quotes at the ends become blanks, trailing characters other than letters and digits and
// leading blanks go.
void cleanName(std::string& text);

enum class ImportUse { Create, Update };

// One line of the file and what becomes of it.
struct ImportLine {
    int number = 0;      // from 1
    std::string text;    // as read, in UTF-8
    std::string name;    // the account name (Latin-1) of a used line
    std::string amount;  // the cleaned amount of a used line
    std::string skipped; // why the line is left out; empty when it is used
    bool used() const { return skipped.empty(); }
};

struct ImportPlan {
    std::string path;
    bool isCsv = false;
    ImportUse use = ImportUse::Create;
    std::vector<ImportLine> lines;
    int usedCount() const;
};

// The filters: every line of `path` with its fate; the kept ones are written to "tabout.tmp"
// or "csvout.tmp" in `workDir`. The file may be UTF-8 (with or without a byte-order mark),
// UTF-16 with a mark, or any single-byte encoding, read as Latin-1.
Result<std::vector<ImportLine>> filterTabFile(const std::string& path, const std::string& workDir);
Result<std::vector<ImportLine>> filterCsvFile(const std::string& path, const std::string& workDir);

// The filter, then the account step's reading of the intermediate file: the plan to show before
// anything changes.
Result<ImportPlan> planAccountImport(const std::string& path, bool isCsv, ImportUse use,
                                     const std::string& workDir);

// The scenario a create starts from: no accounts, groups or slot settings, the life tables at
// age 70 named "IRA 1" to "IRA 3".
void startNewAccounts(Scenario& s);

// Opens the account dialog (import mode) on the prepared account at `position`; true for OK,
// which numbers and counts it. Cancel leaves the account out.
using EditImportedAccount = std::function<bool(Scenario& s, int position)>;

// Creates an account from each used line of `plan`, one dialog each.
void createAccountsFromFile(Scenario& s, const ImportPlan& plan, Notifier& notifier,
                            const EditImportedAccount& edit);
// Sets the initial amount of every account named on a used line, after the user agrees, and
// offers to add the names that match none. False when nothing was changed.
bool updateAccountsFromFile(Scenario& s, const ImportPlan& plan, Notifier& notifier,
                            const EditImportedAccount& edit);

} // namespace finplan
