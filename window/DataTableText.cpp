#include "window/DataTableText.h"

#include "window/ChartSummary.h"

namespace {

std::string N(int i) { return std::to_string(i); }

}  // namespace

TDataTable DataTableFor(const ObservationTable& table, bool componentsView, const DrawnComponents& drawn,
                        bool painted, const std::string& message) {
  TDataTable t;
  t.Title = "Tabela danych";
  t.Message = message;
  t.EditableRows = kObservations;
  t.EditableColumns = kVariables;
  const bool components = componentsView && drawn.Drawn;
  for (int k = 1; k <= kVariables; ++k) t.ColumnHeaders.push_back("Zmienna " + N(k));
  if (components)
    for (int c = 1; c <= 2; ++c) t.ColumnHeaders.push_back("Wynik " + N(c));
  for (int i = 1; i <= kObservations; ++i) {
    t.RowHeaders.push_back("Obserwacja " + N(i));
    std::vector<std::string> row;
    for (int k = 1; k <= kVariables; ++k) row.push_back(PolishNumber(table[i][k]));
    if (components)
      for (int c = 1; c <= 2; ++c) row.push_back(PolishNumber(table[i][10 + c]));
    t.Cells.push_back(row);
  }
  if (components) {
    for (int c = 1; c <= 2; ++c) {
      t.RowHeaders.push_back("Ładunki składowej " + N(c));
      std::vector<std::string> row;
      for (int k = 1; k <= kVariables; ++k) row.push_back(PolishNumber(drawn.Loadings[k][c]));
      row.resize(kVariables + 2);  // no loading under the scores
      t.Cells.push_back(row);
    }
    t.Note = SharesSentence(drawn) + ".";
  } else {
    t.Note = "Wyniki, ładunki i udziały wariancji nie są pokazane. " +
             ChartSummary(table, componentsView, drawn, painted);
  }
  return t;
}
