// The chart's meaning as elements over the paint box, for screen readers, touch exploration and
// magnifiers: the program describes the chart (names, values, boxes, the chosen cell, the status,
// all worded in C++) after every handler that changed it, and this maps the description to ARIA,
// changing only what changed. The keys that choose and edit a cell go back to the program.
// Bundled into pca.js before the program, after page.js.
var PcaAccess = {
  charts: {},  // paint box handle -> {root, about, ring, parts, last, tabStop, chosen}
  keys: {ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3, PageUp: 4, PageDown: 5, Home: 6, End: 7, Enter: 8},

  chart: function (handle) {
    var c = this.charts[handle];
    if (c) return c;
    var area = PcaPage.area(handle), canvas = PcaPage.element(handle), page = this;
    canvas.setAttribute('aria-hidden', 'true');  // the elements below tell what it shows
    c = {root: document.createElement('div'), about: document.createElement('div'),
         ring: document.createElement('div'), tag: document.createElement('div'),
         tip: document.createElement('div'), parts: [], last: null, tabStop: false, chosen: null,
         tipCell: null, tipTimer: 0};
    c.root.className = 'pca-access';
    c.root.id = (canvas.id || 'pca') + '-chart';
    c.root.setAttribute('role', 'group');
    c.root.tabIndex = -1;
    c.about.id = c.root.id + '-description';
    c.about.hidden = true;  // read as the chart's description, not as text of its own
    c.root.setAttribute('aria-describedby', c.about.id);
    c.ring.className = 'pca-focus-ring';
    // Seen, not read: a reader hears the chosen point as the focus, and each point by its name.
    c.tag.className = 'pca-value-tag';
    c.tip.className = 'pca-tooltip';
    c.tag.setAttribute('aria-hidden', 'true');
    c.tip.setAttribute('aria-hidden', 'true');
    area.append(c.root, c.about, c.ring, c.tag, c.tip);
    this.listenToPointerRest(area, c);
    area.addEventListener('keydown', function (e) { page.key(handle, e); });
    c.root.addEventListener('focusin', function () { page.placeRing(c); });
    c.root.addEventListener('focusout', function () { setTimeout(function () { page.placeRing(c); }); });
    this.charts[handle] = c;
    return c;
  },

  // The chart comes after the other controls in the keyboard's order: its elements go last.
  setTabStop: function (handle, on) {
    var c = this.chart(handle);
    c.tabStop = on;
    PcaPage.main().appendChild(PcaPage.area(handle));
    this.rove(c);
  },
  hasFocus: function (handle) {
    var c = this.charts[handle];
    return !!c && c.root.contains(document.activeElement);
  },

  key: function (handle, e) {
    var home = e.key === 'Home' || e.key === 'End';  // Ctrl goes with these alone
    if (!(e.key in this.keys) || (e.ctrlKey && !home) || e.altKey || e.metaKey) return;
    if (!this.hasFocus(handle)) return;
    e.preventDefault();  // the page does not scroll
    _pca_key(PcaPage.objects[handle - 1], this.keys[e.key], (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 4 : 0));
  },

  describe: function (handle, json) {
    var d = JSON.parse(json), c = this.chart(handle), was = c.last || {parts: []};
    var focused = this.hasFocus(handle);
    if (d.name !== was.name) c.root.setAttribute('aria-label', d.name);
    if (d.description !== was.description) c.about.textContent = d.description;
    for (var i = 0; i < d.parts.length; ++i) {
      var p = d.parts[i], q = was.parts[i], el = c.parts[i];
      if (!el || !q || q.role !== p.role || (q.cells.length > 0) !== (p.cells.length > 0)) {
        var made = this.makePart(p);
        if (el) c.root.replaceChild(made, el); else c.root.appendChild(made);
        c.parts[i] = el = made;
        q = null;
      }
      this.updatePart(el, p, q);
    }
    while (c.parts.length > d.parts.length) c.root.removeChild(c.parts.pop());
    c.last = d;
    this.hideTip(c);  // what it told may have changed
    var part = c.parts[d.focusPart];
    c.chosen = part && part.cells ? part.cells[d.focusCell] || null : null;
    this.rove(c);
    if (focused && c.chosen && document.activeElement !== c.chosen) c.chosen.focus({preventScroll: true});
    this.placeRing(c);
    // The live region speaks each change of the status; its first text tells of no change.
    var status = document.getElementById('chart-status');
    if (status && was.status && d.status !== was.status) status.textContent = d.status;
  },

  // One element in the keyboard's order: the chosen cell, or before one is chosen the first
  // (which the first key chooses), telling what the chart shows. A reader switches to its focus
  // mode, which hands the arrows to the page, on a slider; on the chart's group it keeps them.
  rove: function (c) {
    var first = c.parts[0] && c.parts[0].cells ? c.parts[0].cells[0] : null;
    var stop = c.tabStop ? c.chosen || first : null;
    c.root.tabIndex = -1;
    for (var i = 0; i < c.parts.length; ++i) {
      var cells = c.parts[i].cells || [];
      for (var j = 0; j < cells.length; ++j) cells[j].tabIndex = cells[j] === stop ? 0 : -1;
    }
    if (first && !c.chosen) first.setAttribute('aria-describedby', c.about.id);
    else if (first) first.removeAttribute('aria-describedby');
  },

  makePart: function (p) {
    var el = document.createElement('div');
    el.className = 'pca-part';
    if (p.role === 'bars') el.setAttribute('role', 'img');
    else if (p.role === 'series') el.setAttribute('role', 'group');
    if (p.cells.length > 0) {
      el.cells = [];
      for (var i = 0; i < p.cells.length; ++i) {
        var cell = document.createElement('div');
        cell.className = 'pca-cell';
        cell.setAttribute('role', 'slider');
        cell.setAttribute('aria-orientation', 'vertical');
        cell.tabIndex = -1;
        el.appendChild(cell);
        el.cells.push(cell);
      }
    } else if (p.role === 'series') {
      el.values = document.createElement('div');  // the strip's values, as text to read
      el.appendChild(el.values);
    }
    return el;
  },

  updatePart: function (el, p, q) {
    if (p.role === 'label') {
      if (!q || p.name !== q.name) el.textContent = p.name;
    } else if (!q || p.name !== q.name) {
      el.setAttribute('aria-label', p.name);
    }
    if (el.values && (!q || p.text !== q.text)) el.values.textContent = p.text;
    var box = p.box.slice();
    if (p.drawnText) {  // a drawn label's box: its text measured as the canvas draws it
      var m = PcaPage.fontMetrics('Arial', p.drawnPixels);
      box[2] = box[0] + PcaPage.textWidth('Arial', p.drawnPixels, p.drawnText);
      box[3] = box[1] + m.ascent + m.descent;
    }
    var moved = !q || String(box) !== String(el.box);
    if (moved) {
      this.place(el, box, [0, 0]);
      el.box = box;
    }
    for (var i = 0; el.cells && i < p.cells.length; ++i) {
      var cell = el.cells[i], now = p.cells[i], before = q && q.cells[i];
      if (!before || now.name !== before.name) cell.setAttribute('aria-label', now.name);
      if (!before || now.valueText !== before.valueText) cell.setAttribute('aria-valuetext', now.valueText);
      // The range is the value alone: a reader that words a slider by a percentage of its range
      // (Orca 48: "12 percent." for 0,12) then has none to word, and speaks the value text only.
      // The range a release can give means nothing as a percentage, and the name tells the value.
      if (!before || now.value !== before.value) {
        cell.setAttribute('aria-valuenow', now.value);
        cell.setAttribute('aria-valuemin', now.value);
        cell.setAttribute('aria-valuemax', now.value);
      }
      if (moved || !before || String(now.box) !== String(before.box)) this.place(cell, now.box, box);
    }
  },

  // A box [left, top, right, bottom] in the paint box's pixels, placed inside a parent whose
  // top-left corner is `origin`.
  place: function (el, box, origin) {
    var s = el.style;
    s.left = box[0] - origin[0] + 'px';
    s.top = box[1] - origin[1] + 'px';
    s.width = Math.max(0, box[2] - box[0]) + 'px';
    s.height = Math.max(0, box[3] - box[1]) + 'px';
  },

  // The desktop's focus mark: a ring two pixels wide, two pixels outside the chosen cell's
  // marker (or around the strips before a cell is chosen), while the chart has the focus.
  placeRing: function (c) {
    var b = c.last && c.last.focusBox, s = c.ring.style;
    var shown = !!b && c.root.contains(document.activeElement) && b[2] > b[0] && b[3] > b[1];
    s.display = shown ? 'block' : 'none';
    if (shown) this.place(c.ring, [b[0] - 3, b[1] - 3, b[2] + 3, b[3] + 3], [0, 0]);
    this.placeTag(c, shown);
  },

  // The chosen point's name and value beside its ring, while the chart has the focus: right of
  // the ring where it fits, else left of it.
  cellOf: function (d, part, cell) {
    var p = d && d.parts[part];
    return p && p.cells[cell] || null;
  },
  placeTag: function (c, ringShown) {
    var cell = ringShown ? this.cellOf(c.last, c.last.focusPart, c.last.focusCell) : null, s = c.tag.style;
    if (!cell) {
      s.display = 'none';
      return;
    }
    if (c.tag.textContent !== cell.name) c.tag.textContent = cell.name;
    s.display = 'block';
    var b = c.last.focusBox, area = c.tag.parentNode;
    var left = b[2] + 6, width = c.tag.offsetWidth, height = c.tag.offsetHeight;
    if (left + width > area.clientWidth) left = Math.max(0, b[0] - 6 - width);
    s.left = left + 'px';
    s.top = Math.max(0, Math.min(Math.round((b[1] + b[3] - height) / 2), area.clientHeight - height)) + 'px';
  },

  // The point under a mouse pointer that rests on it tells its name and value, until the pointer
  // leaves it or presses.
  listenToPointerRest: function (area, c) {
    var page = this;
    area.addEventListener('pointermove', function (e) {
      if (e.pointerType !== 'mouse' || e.buttons) return page.hideTip(c);
      var box = area.getBoundingClientRect(), x = e.clientX - box.left, y = e.clientY - box.top;
      var cell = page.cellAt(c.last, x, y);
      if (cell && c.tipCell && cell.name === c.tipCell.name) return;
      page.hideTip(c);
      if (!cell) return;
      c.tipCell = cell;
      c.tipTimer = setTimeout(function () {
        c.tip.textContent = cell.name;
        var s = c.tip.style;
        s.display = 'block';
        s.left = Math.max(0, Math.min(x + 12, area.clientWidth - c.tip.offsetWidth)) + 'px';
        s.top = (y + 20 + c.tip.offsetHeight <= area.clientHeight ? y + 20 : Math.max(0, y - 8 - c.tip.offsetHeight)) + 'px';
      }, 600);
    });
    area.addEventListener('pointerdown', function () { page.hideTip(c); });
    area.addEventListener('pointerleave', function () { page.hideTip(c); });
  },
  hideTip: function (c) {
    clearTimeout(c.tipTimer);
    c.tipCell = null;
    c.tip.style.display = 'none';
  },
  // The cell whose marker (with a pixel around it) lies under (x, y), in the paint box's pixels.
  cellAt: function (d, x, y) {
    for (var i = 0; d && i < d.parts.length; ++i) {
      var cells = d.parts[i].cells;
      for (var j = 0; j < cells.length; ++j) {
        var b = cells[j].box;
        if (x >= b[0] - 1 && x < b[2] + 2 && y >= b[1] - 1 && y < b[3] + 2) return cells[j];
      }
    }
    return null;
  },
};
