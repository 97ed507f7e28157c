#include "matching.h"

#include <algorithm>
#include <climits>

namespace sokoban::solver {

int Matcher::solve(int rows, int cols, const std::vector<int>& cost) {
    // Shortest augmenting paths with potentials; arrays are 1-based, column
    // 0 is the virtual start.
    constexpr long long kInf = LLONG_MAX / 4;
    u_.assign(rows + 1, 0);
    v_.assign(cols + 1, 0);
    p_.assign(cols + 1, 0);
    way_.assign(cols + 1, 0);
    for (int i = 1; i <= rows; ++i) {
        p_[0] = i;
        int j0 = 0;
        minv_.assign(cols + 1, kInf);
        used_.assign(cols + 1, 0);
        do {
            used_[j0] = 1;
            int i0 = p_[j0], j1 = 0;
            long long delta = kInf;
            const int* row = &cost[(i0 - 1) * cols];
            for (int j = 1; j <= cols; ++j) {
                if (used_[j]) continue;
                long long cur = row[j - 1] - u_[i0] - v_[j];
                if (cur < minv_[j]) {
                    minv_[j] = cur;
                    way_[j] = j0;
                }
                if (minv_[j] < delta) {
                    delta = minv_[j];
                    j1 = j;
                }
            }
            for (int j = 0; j <= cols; ++j) {
                if (used_[j]) {
                    u_[p_[j]] += delta;
                    v_[j] -= delta;
                } else {
                    minv_[j] -= delta;
                }
            }
            j0 = j1;
        } while (p_[j0] != 0);
        do {
            int j1 = way_[j0];
            p_[j0] = p_[j1];
            j0 = j1;
        } while (j0 != 0);
    }
    long long total = 0;
    for (int j = 1; j <= cols; ++j)
        if (p_[j] != 0) total += cost[(p_[j] - 1) * cols + (j - 1)];
    return static_cast<int>(std::min<long long>(total, kNoPair));
}

} // namespace sokoban::solver
