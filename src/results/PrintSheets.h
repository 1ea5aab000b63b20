#pragma once

#include <string>
#include <vector>

#include "model/Message.h"
#include "results/ReportPages.h"

namespace finplan {

// One printed sheet's lines, as its page file holds them.
using SheetText = std::vector<std::string>;

// The page files `prefix`1 .. `prefix``count` of `workDir`, read whole before printing starts so
// that a later report's files cannot replace them mid-job. A file that cannot be read gives its
// name with "FILE OPEN ERROR".
Result<std::vector<SheetText>> readSheetFiles(const std::string& workDir, const std::string& prefix,
                                              int count);

// A report kind 1 to 8 written in print mode and read back; kinds 4 and 5 as one list of sheets.
// Kind 15, the asset allocation, is made at `age`.
Result<std::vector<SheetText>> reportSheets(const RunState& run, const std::string& workDir,
                                            int kind, int age = -1);

// Kinds 9 and 10: the accounts of the account-flow row labelled `rowLabel` (" 45.0-I"), by
// type and by group.
Result<std::vector<SheetText>> ageDetailSheets(const RunState& run, const std::string& workDir,
                                               std::string_view rowLabel);
// The budget report (kind 11) of `budget`.
Result<std::vector<SheetText>> budgetSheets(const RunState& run, const std::string& workDir,
                                            const Budget& budget);

// The payment schedule report (kind 12) from the "psched.tmp" of `workDir`.
Result<std::vector<SheetText>> paymentScheduleSheets(const RunState& run,
                                                     const std::string& workDir);
// The refinance analysis report (kind 14) from the "refprt.tmp" of `workDir`.
Result<std::vector<SheetText>> refinanceSheets(const RunState& run, const std::string& workDir);

} // namespace finplan
