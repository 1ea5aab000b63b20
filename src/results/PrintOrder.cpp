#include "results/PrintOrder.h"

namespace finplan {

std::vector<int> printOrder(int first, int last, int copies, bool collate) {
    std::vector<int> order;
    if (first > last || copies < 1)
        return order;
    const int outer = collate ? copies : 1;
    const int inner = collate ? 1 : copies;
    for (int round = 0; round < outer; ++round)
        for (int page = first; page <= last; ++page)
            for (int copy = 0; copy < inner; ++copy)
                order.push_back(page);
    return order;
}

} // namespace finplan
