// The table window as the page's dialog "Tabela danych" (page.js): the form's table as JSON, sent
// as it opens and again after every event that changed it while it is open. A value typed into a
// cell comes back to the form, never straight into the page's table.
#include <emscripten/emscripten.h>

#include "platform/Application.h"
#include "platform/web/JsonWriter.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

namespace {

std::string TableJson(const TDataTable& t) {
  Json j;
  j.text += '{';
  j.Field("title", t.Title);
  j.Field("columns", t.ColumnHeaders);
  j.Field("rows", t.RowHeaders);
  j.Key("cells");
  j.text += '[';
  for (size_t r = 0; r < t.Cells.size(); ++r) {
    if (r > 0) j.text += ',';
    j.Strings(t.Cells[r]);
  }
  j.text += ']';
  j.Field("editableRows", t.EditableRows);
  j.Field("editableColumns", t.EditableColumns);
  j.Field("note", t.Note);
  j.Field("message", t.Message);
  j.text += '}';
  return j.text;
}

std::string CurrentJson(TForm& form) {
  return form.OnDescribeTable ? TableJson(form.OnDescribeTable(&form)) : std::string("{}");
}

}  // namespace

void TForm::ShowTable(const TTableCell& at) {
  window_->tableOpen = true;
  window_->tableSent = CurrentJson(*this);
  page::ShowTable(this, window_->tableSent.c_str(), at.Row, at.Column, at.Edit);
}

void TableMayHaveChanged(TForm& form) {
  if (!form.window().tableOpen) return;
  std::string now = CurrentJson(form);
  if (now == form.window().tableSent) return;
  form.window().tableSent = std::move(now);
  page::UpdateTable(form.window().tableSent.c_str());
}

extern "C" {

// T on the page, or the help's button "Tabela danych".
EMSCRIPTEN_KEEPALIVE void pca_table(TForm* form) { form->DoTable(); }

EMSCRIPTEN_KEEPALIVE void pca_table_closed(TForm* form) { form->window().tableOpen = false; }

// A value typed into cell (row, column) of the table, as UTF-8 the page wrote into the program's
// memory.
EMSCRIPTEN_KEEPALIVE void pca_cell_typed(TForm* form, int row, int column, const char* text) {
  form->DoCellTyped(row, column, text ? text : "");
}

}  // extern "C"
