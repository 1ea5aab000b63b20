#pragma once

#include <vector>

namespace finplan {

// The sheets a print job sends, in order, for the pages `first`..`last` and `copies` copies:
// collated, the whole range once per copy (2, 3, 2, 3); otherwise each page `copies` times
// before the next (2, 2, 3, 3). An empty range or no copies prints nothing.
std::vector<int> printOrder(int first, int last, int copies, bool collate);

} // namespace finplan
