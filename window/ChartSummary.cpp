#include "window/ChartSummary.h"

#include <cmath>

#include "window/ComponentsPicture.h"

namespace {

std::string N(int i) { return std::to_string(i); }

std::string ComponentSentences(const ComponentPattern& p, int c) {
  return "Na składową " + N(c) + " najmocniej składają się zmienna " + N(p.Variables[0]) +
         " (ładunek " + PolishNumber(p.Loadings[0]) + ") i zmienna " + N(p.Variables[1]) +
         " (ładunek " + PolishNumber(p.Loadings[1]) + "). Najwyższy wynik na niej ma obserwacja " +
         N(p.Highest) + " (" + PolishNumber(p.HighestScore) + "), najniższy obserwacja " +
         N(p.Lowest) + " (" + PolishNumber(p.LowestScore) + ").";
}

}  // namespace

std::string ShareWords(double percent) {
  std::string share = PercentText(percent);
  share.erase(0, share.find_first_not_of(' '));
  return share + " wariancji";
}

ComponentPattern PatternOf(const ObservationTable& table, const DrawnComponents& drawn, int c) {
  ComponentPattern p;
  p.Share = drawn.Shares[c];
  for (int v = 1; v <= kVariables; ++v) {
    const double size = std::fabs(drawn.Loadings[v][c]);
    if (p.Variables[0] == 0 || size > std::fabs(p.Loadings[0])) {
      p.Variables[1] = p.Variables[0];
      p.Loadings[1] = p.Loadings[0];
      p.Variables[0] = v;
      p.Loadings[0] = drawn.Loadings[v][c];
    } else if (p.Variables[1] == 0 || size > std::fabs(p.Loadings[1])) {
      p.Variables[1] = v;
      p.Loadings[1] = drawn.Loadings[v][c];
    }
  }
  for (int i = 1; i <= kObservations; ++i) {
    const double score = table[i][10 + c];
    if (p.Highest == 0 || score > p.HighestScore) p.Highest = i, p.HighestScore = score;
    if (p.Lowest == 0 || score < p.LowestScore) p.Lowest = i, p.LowestScore = score;
  }
  return p;
}

std::string SharesSentence(const DrawnComponents& drawn) {
  return "Składowa 1: " + ShareWords(drawn.Shares[1]) + ", składowa 2: " +
         ShareWords(drawn.Shares[2]);
}

std::string ChartSummary(const ObservationTable& table, bool componentsView,
                         const DrawnComponents& drawn, bool painted) {
  if (!painted) return {};
  if (!componentsView)
    return "Wykres pokazuje same dane: składowe główne zmienionej tabeli nie są jeszcze "
           "policzone. Przycisk „Oblicz składowe główne” (Alt+O) je liczy.";
  if (!drawn.Drawn)
    return "Składowych głównych tej tabeli nie da się policzyć, na przykład gdy wszystkie jej "
           "wartości są równe. Zmień wartość na pasku zmiennej.";
  return SharesSentence(drawn) + ". " + ComponentSentences(PatternOf(table, drawn, 1), 1) + " " +
         ComponentSentences(PatternOf(table, drawn, 2), 2);
}
