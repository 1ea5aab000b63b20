#pragma once

#include <QString>

class QTextStream;

namespace finplan {

// `finplan --pdf WHAT OUT.pdf [FILE.ret]`: the sheets of WHAT written to OUT.pdf without the
// window. WHAT is "scenario", "results", "report:K" (K 1 to 12), "all-reports" or "graph:K"
// (K 1 to 7 or "summary"). Messages go to `err`; gives the exit status, 0 when the file was
// written whole.
int printToPdf(const QString& what, const QString& outPath, const QString& scenarioPath,
               QTextStream& err);

} // namespace finplan
