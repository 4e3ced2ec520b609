// What the chart shows in words, against the analysis' own numbers: the largest loadings of each
// component and its extreme scores, for the start table and an edited one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <regex>

#include "analysis/Components.h"
#include "analysis/SyntheticData.h"
#include "window/ChartSummary.h"

namespace {

// The sentence about component c as the analysis' results give it, found here by sorting.
std::string Expected(const ObservationTable& t, const Matrix10& V, int c) {
  std::vector<int> v(kVariables);
  std::iota(v.begin(), v.end(), 1);
  std::stable_sort(v.begin(), v.end(),
                   [&](int a, int b) { return std::fabs(V[a][c]) > std::fabs(V[b][c]); });
  std::vector<int> o(kObservations);
  std::iota(o.begin(), o.end(), 1);
  std::stable_sort(o.begin(), o.end(), [&](int a, int b) { return t[a][10 + c] > t[b][10 + c]; });
  const int low = *std::min_element(o.begin(), o.end(), [&](int a, int b) {
    return t[a][10 + c] < t[b][10 + c] || (t[a][10 + c] == t[b][10 + c] && a < b);
  });
  const std::string n = std::to_string(c);
  return "Na składową " + n + " najmocniej składają się zmienna " + std::to_string(v[0]) +
         " (ładunek " + PolishNumber(V[v[0]][c]) + ") i zmienna " + std::to_string(v[1]) +
         " (ładunek " + PolishNumber(V[v[1]][c]) + "). Najwyższy wynik na niej ma obserwacja " +
         std::to_string(o[0]) + " (" + PolishNumber(t[o[0]][10 + c]) + "), najniższy obserwacja " +
         std::to_string(low) + " (" + PolishNumber(t[low][10 + c]) + ").";
}

void ExpectSummaryOf(ObservationTable& table) {
  DrawnComponents drawn;
  drawn.Drawn = true;
  ComputeComponents(table, drawn.Shares, drawn.Loadings);
  const std::string summary = ChartSummary(table, true, drawn, true);
  EXPECT_EQ(summary.rfind(SharesSentence(drawn) + ". ", 0), 0u) << summary;
  EXPECT_NE(summary.find(Expected(table, drawn.Loadings, 1)), std::string::npos) << summary;
  EXPECT_NE(summary.find(Expected(table, drawn.Loadings, 2)), std::string::npos) << summary;
  EXPECT_FALSE(std::regex_search(summary, std::regex("\\d\\.\\d"))) << "no decimal point";
}

TEST(ChartSummary, NamesTheLargestLoadingsAndTheExtremeScores) {
  ObservationTable table{};
  GenerateObservations(table);
  {
    SCOPED_TRACE("the start table");
    ExpectSummaryOf(table);
    DrawnComponents drawn{true, {}, {}};
    ComputeComponents(table, drawn.Shares, drawn.Loadings);
    // The start table's facts, read off its picture: variable 8 makes up component 2 most.
    const ComponentPattern p = PatternOf(table, drawn, 2);
    EXPECT_EQ(p.Variables[0], 8);
    EXPECT_EQ(std::max(std::fabs(p.HighestScore), std::fabs(p.LowestScore)), 0.3);
  }
  {
    SCOPED_TRACE("an edited table: one variable pulled far from the others");
    table[5][3] = 0.5;
    table[6][3] = -0.5;
    table[12][9] = 0.45;
    ExpectSummaryOf(table);
  }
}

TEST(ChartSummary, TellsTheDataViewAndAFailedComputation) {
  ObservationTable table{};
  GenerateObservations(table);
  const DrawnComponents none;
  EXPECT_EQ(ChartSummary(table, true, none, false), "") << "nothing before the first paint";
  EXPECT_NE(ChartSummary(table, false, none, true).find("„Oblicz składowe główne” (Alt+O)"),
            std::string::npos);
  EXPECT_NE(ChartSummary(table, true, none, true).find("nie da się policzyć"), std::string::npos);
}

}  // namespace
