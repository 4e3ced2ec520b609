// The table dialog "Tabela danych": a modal dialog with the program's table as a real table (its
// headers <th> with their scope), the cells focusable one at a time, the arrows moving between
// them. Typing or Enter edits a cell that takes values, in a field named by its headers; Enter
// hands the text to the program, which takes it (the table then shows what the program has) or
// says why not (the field stays, with the message, which is announced). Escape gives the editing
// up, or closes the dialog; the focus then goes back where it was. The words are all the
// program's. Bundled into pca.js before the program, after page.js.
var PcaTable = {
  form: 0,
  data: null,
  at: [0, 0],      // the chosen cell: row, column, both from 0
  field: null,     // the open field, while a cell is edited
  before: null,    // what had the focus before the dialog opened

  show: function (form, json, row, column, edit) {
    this.form = form;
    this.data = JSON.parse(json);
    if (row >= 0 && column >= 0) this.at = [row, column];
    var box = this.box();
    this.render();
    if (!box.open) {
      this.before = document.activeElement;
      box.showModal();
    }
    this.focusCell();
    if (edit) this.edit(null);
  },
  update: function (json) {
    this.data = JSON.parse(json);
    this.render();
  },

  box: function () {
    var box = document.getElementById('pca-table');
    if (box) return box;
    var table = this;
    box = PcaPage.dialog('pca-table', 'pca-table-title', 'pca-table-note',
        '<h2 id="pca-table-title"></h2>' +
        '<div class="pca-table-scroll"><table role="grid" aria-labelledby="pca-table-title"></table></div>' +
        '<p id="pca-table-note"></p>' +
        '<p id="pca-table-message" role="alert"></p>' +
        '<form method="dialog" class="pca-help-buttons"><button class="pca-table-close" value="close">Zamknij</button></form>',
        function () {
          table.field = null;
          _pca_table_closed(table.form);
          PcaPage.focusBack(table.before);
          table.before = null;
        });
    box.querySelector('table').addEventListener('keydown', function (e) { table.key(e); });
    box.querySelector('table').addEventListener('click', function (e) {
      var cell = e.target.closest('td[data-r]');
      if (cell && !table.field) {
        table.at = [+cell.dataset.r, +cell.dataset.c];
        table.focusCell();
      }
    });
    box.querySelector('table').addEventListener('dblclick', function () { if (!table.field) table.edit(null); });
    return box;
  },

  // The table's shape is made anew when it changes (the views differ by the scores and the
  // loadings); the texts follow every change, but for the cell being edited.
  render: function () {
    var t = this.data, box = this.box(), table = box.querySelector('table'), focused = false;
    box.querySelector('#pca-table-title').textContent = t.title;
    var shape = t.rows.length + 'x' + t.columns.length;
    if (table.dataset.shape !== shape) {
      table.dataset.shape = shape;
      var html = '<thead><tr><td></td>';
      for (var c = 0; c < t.columns.length; ++c) html += '<th scope="col"></th>';
      html += '</tr></thead><tbody>';
      for (var r = 0; r < t.rows.length; ++r) {
        html += '<tr><th scope="row"></th>';
        for (var k = 0; k < t.columns.length; ++k) html += '<td tabindex="-1" data-r="' + r + '" data-c="' + k + '"></td>';
        html += '</tr>';
      }
      focused = table.contains(document.activeElement);
      table.innerHTML = html + '</tbody>';
      this.field = null;
      this.at = [Math.min(this.at[0], t.rows.length - 1), Math.min(this.at[1], t.columns.length - 1)];
    }
    var heads = table.querySelectorAll('thead th');
    for (var i = 0; i < heads.length; ++i) heads[i].textContent = t.columns[i];
    var rows = table.querySelectorAll('tbody tr');
    for (var j = 0; j < rows.length; ++j) {
      rows[j].firstChild.textContent = t.rows[j];
      var cells = rows[j].querySelectorAll('td');
      for (var m = 0; m < cells.length; ++m) {
        if (this.field && this.field.parentNode === cells[m]) continue;
        var text = t.cells[j][m] || '';
        if (cells[m].textContent !== text) cells[m].textContent = text;
        // A reader speaks a cell by its headers and its value: "Obserwacja 5, Zmienna 3, 0,12".
        cells[m].setAttribute('aria-label', t.rows[j] + ', ' + t.columns[m] + ', ' + text);
      }
    }
    if (focused) this.focusCell();  // the keyboard stays in a table made anew
    else this.rove();
    box.querySelector('#pca-table-note').textContent = t.note;
    if (!t.message) box.querySelector('#pca-table-message').textContent = '';
  },
  cell: function () {
    return this.box().querySelector('td[data-r="' + this.at[0] + '"][data-c="' + this.at[1] + '"]');
  },
  rove: function () {
    var cells = this.box().querySelectorAll('td[data-r]'), chosen = this.cell();
    for (var i = 0; i < cells.length; ++i) cells[i].tabIndex = cells[i] === chosen ? 0 : -1;
  },
  focusCell: function () {
    this.rove();
    var cell = this.cell();
    if (cell) cell.focus();
  },
  editable: function () {
    return this.at[0] < this.data.editableRows && this.at[1] < this.data.editableColumns;
  },

  key: function (e) {
    if (e.target.tagName === 'INPUT') {
      if (e.key === 'Enter') {
        e.preventDefault();
        this.commit();
      } else if (e.key === 'Escape') {  // the editing given up, the dialog stays
        e.preventDefault();
        e.stopPropagation();
        this.stopEditing();
      }
      return;
    }
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    var t = this.data, r = this.at[0], c = this.at[1];
    var moves = {ArrowUp: [r - 1, c], ArrowDown: [r + 1, c], ArrowLeft: [r, c - 1], ArrowRight: [r, c + 1],
                 Home: [r, 0], End: [r, t.columns.length - 1]};
    if (e.key in moves) {
      e.preventDefault();
      var to = moves[e.key];
      this.at = [Math.max(0, Math.min(to[0], t.rows.length - 1)), Math.max(0, Math.min(to[1], t.columns.length - 1))];
      this.focusCell();
    } else if ((e.key === 'Enter' || e.key === 'F2') && this.editable()) {
      e.preventDefault();
      this.edit(null);
    } else if (e.key.length === 1 && e.key !== ' ' && this.editable()) {  // typing starts editing
      e.preventDefault();
      this.edit(e.key);
    }
  },

  // A field in the chosen cell, with the cell's value, or with the first key typed.
  edit: function (typed) {
    if (!this.editable()) return;
    var cell = this.cell(), field = document.createElement('input');
    field.type = 'text';
    field.className = 'pca-table-field';
    field.setAttribute('inputmode', 'decimal');
    field.setAttribute('aria-label', this.data.rows[this.at[0]] + ', ' + this.data.columns[this.at[1]]);
    field.setAttribute('aria-describedby', 'pca-table-message');
    field.value = typed === null ? cell.textContent : typed;
    cell.textContent = '';
    cell.appendChild(field);
    this.field = field;
    field.focus();
    if (typed === null) field.select();
  },
  stopEditing: function () {
    var field = this.field;
    this.field = null;
    if (field && field.parentNode) field.parentNode.textContent = this.data.cells[this.at[0]][this.at[1]];
    this.box().querySelector('#pca-table-message').textContent = '';
    this.focusCell();
  },
  // The typed text goes to the program as UTF-8 in its memory; its table says whether it was taken.
  commit: function () {
    var bytes = new TextEncoder().encode(this.field.value), text = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, text);
    HEAPU8[text + bytes.length] = 0;
    _pca_cell_typed(this.form, this.at[0], this.at[1], text);
    _free(text);
    if (!this.data.message) {
      this.stopEditing();
      return;
    }
    // Refused: the field keeps the text, and the message is told anew even when it is the same.
    var field = this.field, said = this.box().querySelector('#pca-table-message'), message = this.data.message;
    field.setAttribute('aria-invalid', 'true');
    field.select();
    said.textContent = '';
    setTimeout(function () { if (PcaTable.field === field) said.textContent = message; }, 50);
  },
};
