// Minimum-cost assignment of boxes to targets (Hungarian method), used as the
// search's lower bound on the pushes still needed.
#pragma once

#include <vector>

namespace sokoban::solver {

class Matcher {
  public:
    // Cost of a pair that cannot be matched; a total at or above it means
    // no assignment exists.
    static constexpr int kNoPair = 1 << 30;

    // Least total cost of giving each of `rows` boxes its own one of `cols`
    // targets (rows <= cols), cost[r * cols + c]; kNoPair or more when some
    // box cannot be given any.
    int solve(int rows, int cols, const std::vector<int>& cost);

  private:
    std::vector<long long> u_, v_, minv_;
    std::vector<int> p_, way_;
    std::vector<char> used_;
};

} // namespace sokoban::solver
