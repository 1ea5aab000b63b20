#pragma once

#include <functional>

#include "ui/printing/PrintJob.h"

class QDialogButtonBox;

namespace finplan {

// "Print", "Preview" and "Export PDF" on a window's button row; each asks `request` for its
// output.
void addPrintButtons(QDialogButtonBox* buttons, const std::function<void(PrintOutput)>& request);

} // namespace finplan
