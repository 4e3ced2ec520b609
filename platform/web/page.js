// The page side of the browser platform: the elements of the form's controls, the events that
// reach the program, the picture shown with putImageData, the program's text and the error box.
// Bundled into pca.js before the program; the C++ side calls it through PageBridge.cpp.
var PcaPage = {
  elements: [],  // handle - 1 -> element (a paint box's canvas)
  areas: [],     // handle - 1 -> a paint box's area: its canvas and the elements over it
  objects: [],   // handle - 1 -> the program's object its events go to
  pointer: null, // the pointer a paint box has captured: {element, id}
  errors: [],    // error boxes waiting for the one shown to close

  // Strings in the program's memory are UTF-8 ending in a zero byte. They are converted here, on
  // nothing but the memory and the exported malloc: the compiler's own string helpers are not
  // linked by default in every release, nor named alike.
  decoder: new TextDecoder(),
  string: function (address) {
    var heap = HEAPU8, end = heap.indexOf(0, address);
    return this.decoder.decode(heap.subarray(address, end < 0 ? heap.length : end));
  },
  // A copy in memory from the program's malloc, which the program frees; 0 when there is none.
  newString: function (text) {
    var bytes = new TextEncoder().encode(text), address = _malloc(bytes.length + 1);
    if (!address) return 0;
    var heap = HEAPU8;  // read after malloc, which may have grown the memory
    heap.set(bytes, address);
    heap[address + bytes.length] = 0;
    return address;
  },

  decodeBase64: function (text) {
    var raw = atob(text), bytes = new Uint8Array(raw.length);
    for (var i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
    return bytes;
  },
  decodeHex: function (text) {
    var bytes = new Uint8Array(text.length >> 1), digit = function (c) { return c < 58 ? c - 48 : c - 87; };
    for (var i = 0; i < bytes.length; ++i) bytes[i] = digit(text.charCodeAt(2 * i)) << 4 | digit(text.charCodeAt(2 * i + 1));
    return bytes;
  },

  // Everything the program shows lies in the page's main landmark.
  main: function () { return document.querySelector('main') || document.body; },

  createElement: function (kind) {
    var tag = kind === 'paintbox' ? 'canvas' : kind === 'button' ? 'button' : 'div';
    var el = document.createElement(tag);
    el.className = 'pca-' + kind;
    el.style.position = 'absolute';
    var area = el;
    if (kind === 'paintbox') {  // the canvas, and the chart's elements that lie over it
      area = document.createElement('div');
      area.className = 'pca-area';
      area.style.position = 'absolute';
      area.appendChild(el);
    }
    this.main().appendChild(area);  // later controls lie above earlier ones
    this.elements.push(el);
    this.areas.push(area);
    var handle = this.elements.length;
    if (kind === 'paintbox') this.listenToPaintBox(area, handle);
    if (kind === 'button') {
      el.type = 'button';
      var page = this;
      el.addEventListener('click', function () { _pca_click(page.objects[handle - 1]); });
      this.listenToAccessKeys();
    }
    return handle;
  },
  element: function (handle) { return this.elements[handle - 1]; },
  area: function (handle) { return this.areas[handle - 1]; },
  bind: function (handle, object) { this.objects[handle - 1] = object; },
  setId: function (handle, id) { this.element(handle).id = id; },

  // A paint box's area is placed; its canvas takes its size from its picture.
  place: function (handle, left, top, width, height, visible) {
    var s = this.area(handle).style;
    s.left = left + 'px';
    s.top = top + 'px';
    s.width = width + 'px';
    s.height = height + 'px';
    s.display = visible ? '' : 'none';
  },

  fontFamily: function (name) { return '"' + name + '", "Liberation Sans", sans-serif'; },
  setFont: function (handle, name, pixels) {
    var s = this.element(handle).style;
    s.fontFamily = this.fontFamily(name);
    s.fontSize = pixels + 'px';
  },
  setText: function (handle, text) { this.element(handle).textContent = text; },
  setHint: function (handle, text) { this.element(handle).title = text; },
  // The window's caption: the tab's title and the page's heading.
  setTitle: function (text) {
    document.title = text;
    var heading = document.getElementById('pca-caption');
    if (heading) heading.textContent = text;
  },
  // "&" marks the access key: underlined, and announced to screen readers as Alt + that key. No
  // accesskey attribute: browsers that honour it themselves (WebKit) would also give the button
  // the focus, which Alt + the key does not do on the desktop.
  setCaption: function (handle, text) {
    var el = this.element(handle), at = text.indexOf('&');
    el.textContent = '';
    if (at < 0 || at + 1 >= text.length) {
      el.textContent = text.replace('&', '');
      delete el.dataset.accessKey;
      el.removeAttribute('aria-keyshortcuts');
      return;
    }
    var key = document.createElement('u');
    key.textContent = text.charAt(at + 1);
    el.append(text.slice(0, at), key, text.slice(at + 2));
    el.dataset.accessKey = text.charAt(at + 1).toLowerCase();
    el.setAttribute('aria-keyshortcuts', 'Alt+' + text.charAt(at + 1).toUpperCase());
  },
  // Alt + the access key clicks a shown button, as on the desktop; the key is matched by its
  // place too, where Alt changes the character it types (a Mac's Option).
  accessKeysHeard: false,
  listenToAccessKeys: function () {
    if (this.accessKeysHeard) return;
    this.accessKeysHeard = true;
    document.addEventListener('keydown', function (e) {
      if (e.defaultPrevented || !e.altKey || e.ctrlKey || e.metaKey) return;
      var buttons = document.querySelectorAll('button[data-access-key]');
      for (var i = 0; i < buttons.length; ++i) {
        var b = buttons[i], key = b.dataset.accessKey;
        var matches = e.key.toLowerCase() === key || e.code === 'Key' + key.toUpperCase();
        if (matches && b.offsetParent !== null && !b.closest('dialog') && !PcaPage.helpOpen()) {
          e.preventDefault();
          b.click();
          return;
        }
      }
    });
  },
  setCursor: function (handle, cross) { this.area(handle).style.cursor = cross ? 'crosshair' : 'default'; },
  cssColour: function (rgb) {  // 0x00BBGGRR
    return 'rgb(' + (rgb & 255) + ',' + ((rgb >> 8) & 255) + ',' + ((rgb >> 16) & 255) + ')';
  },
  setBackground: function (rgb) { document.documentElement.style.background = this.cssColour(rgb); },

  // Presses and releases of every button (and of a finger), with the pointer captured from the
  // press on, so that a release outside the paint box still reaches it. A second button pressed
  // while one is down arrives as a pointermove that names the button. A press never moves the
  // keyboard focus (the chart's cells take it only from the keyboard), and a finger neither
  // scrolls nor zooms the page.
  buttonBits: [1, 4, 2, 8, 16],  // event.buttons bit of event.button 0..4
  listenToPaintBox: function (el, handle) {
    var page = this;
    el.style.touchAction = 'none';
    el.addEventListener('pointerdown', function (e) {
      e.preventDefault();
      el.setPointerCapture(e.pointerId);
      page.pointer = {element: el, id: e.pointerId};
      page.mouse(handle, true, e);
    });
    el.addEventListener('pointerup', function (e) { page.mouse(handle, false, e); });
    el.addEventListener('pointermove', function (e) {
      if (e.button < 0) return;
      var bit = page.buttonBits[e.button] || 0;
      page.mouse(handle, (e.buttons & bit) !== 0, e);
    });
    el.addEventListener('mousedown', function (e) { e.preventDefault(); });
    el.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    // Nothing on the page is dragged: a drag would take the pointer from the paint box.
    document.addEventListener('dragstart', function (e) { e.preventDefault(); });
  },
  mouse: function (handle, down, e) {
    var box = this.area(handle).getBoundingClientRect();
    var shift = (e.shiftKey ? 1 : 0) | (e.altKey ? 2 : 0) | (e.ctrlKey ? 4 : 0) |
                (e.buttons & 1 ? 8 : 0) | (e.buttons & 2 ? 16 : 0) | (e.buttons & 4 ? 32 : 0);
    _pca_pointer(this.objects[handle - 1], down ? 1 : 0, e.button, shift,
                 e.clientX - box.left, e.clientY - box.top);
  },
  releasePointer: function () {
    var p = this.pointer;
    this.pointer = null;
    if (p && p.element.hasPointerCapture(p.id)) p.element.releasePointerCapture(p.id);
  },

  viewportWidth: function () { return window.innerWidth; },
  viewportHeight: function () { return window.innerHeight; },
  form: 0,  // the main form, for measuring its paint (figures.js)
  listenToViewport: function (form) {
    this.form = form;
    this.listenToHelpKeys(form);
    this.listenToUndoKeys(form);
    var changed = function () { _pca_viewport_changed(form); };
    window.addEventListener('resize', changed);
    // A change of device pixel ratio alone (a move to another screen) fires no resize.
    var watchRatio = function () {
      var query = window.matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)');
      query.addEventListener('change', function () { changed(); watchRatio(); }, {once: true});
    };
    watchRatio();
  },

  // The picture: device pixels from the program's memory, its CSS size the logical one.
  showPicture: function (handle, pixels, width, height) {
    var el = this.element(handle), ratio = window.devicePixelRatio || 1;
    if (el.width !== width) el.width = width;
    if (el.height !== height) el.height = height;
    el.style.width = width / ratio + 'px';
    el.style.height = height / ratio + 'px';
    if (width > 0 && height > 0) {
      var data = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
      el.getContext('2d').putImageData(new ImageData(data, width, height), 0, 0);
    }
    if (this.seen[handle]) return;
    var first = !Object.keys(this.seen).length, page = this;
    this.seen[handle] = true;
    if (first) performance.mark('pca-first-picture');
    this.afterNextFrame(function () {
      _pca_picture_seen(page.objects[handle - 1]);
      if (first) performance.mark('pca-described');
    });
  },
  // A paint box's first picture goes to the screen before its reader's elements are built (some
  // 230 of them, and their styles): the browser draws the frame, then the program describes
  // the chart, a few milliseconds later. A page drawing no frames (a hidden tab) waits 100 ms.
  seen: {},
  afterNextFrame: function (run) {
    var done = false, once = function () { if (!done) { done = true; run(); } };
    requestAnimationFrame(function () { setTimeout(once, 0); });
    setTimeout(once, 100);
  },

  // Text: measured and drawn by the browser in the program's font, the glyphs blended into the
  // picture's pixels.
  scratch: null,
  context: function () {
    if (!this.scratch) this.scratch = document.createElement('canvas');
    return this.scratch.getContext('2d', {willReadFrequently: true});
  },
  font: function (name, pixels) { return pixels + 'px ' + this.fontFamily(name); },
  prepareFont: function (name) {
    var ctx = this.context();
    ctx.font = this.font(name, 1000);
    ctx.measureText('');
  },
  textWidth: function (name, pixels, text) {
    var ctx = this.context();
    ctx.font = this.font(name, pixels);
    return Math.round(ctx.measureText(text).width);
  },
  // The font's ascent and descent in whole pixels, from the face's own proportions: the browser's
  // rounded figures at a small size depend on the screen's device pixel ratio.
  metrics: {},
  fontMetrics: function (name, pixels) {
    var key = this.font(name, pixels);
    if (!this.metrics[key]) {
      var ctx = this.context();
      ctx.font = this.font(name, 1000);
      var m = ctx.measureText('');
      this.metrics[key] = {ascent: Math.round(m.fontBoundingBoxAscent * pixels / 1000),
                           descent: Math.round(m.fontBoundingBoxDescent * pixels / 1000)};
    }
    return this.metrics[key];
  },
  drawText: function (pixels, width, height, x, y, ratio, name, size, text, rgb) {
    var ctx = this.context();
    var font = this.font(name, size * ratio);
    ctx.font = font;
    var m = ctx.measureText(text);
    var left = Math.max(0, Math.floor(x - m.actualBoundingBoxLeft) - 1);
    var right = Math.min(width, Math.ceil(x + m.actualBoundingBoxRight) + 1);
    var top = Math.max(0, Math.floor(y - m.actualBoundingBoxAscent) - 1);
    var bottom = Math.min(height, Math.ceil(y + m.actualBoundingBoxDescent) + 1);
    if (right <= left || bottom <= top) return;
    var w = right - left, h = bottom - top;
    if (this.scratch.width < w) this.scratch.width = w;
    if (this.scratch.height < h) this.scratch.height = h;
    ctx = this.context();
    ctx.font = font;  // resizing the canvas resets its state
    ctx.clearRect(0, 0, w, h);
    ctx.fillStyle = '#000';
    ctx.textBaseline = 'alphabetic';
    ctx.fillText(text, x - left, y - top);
    var glyphs = ctx.getImageData(0, 0, w, h).data;
    var r = rgb & 255, g = (rgb >> 8) & 255, b = (rgb >> 16) & 255;
    var heap = HEAPU8;
    for (var j = 0; j < h; ++j) {
      var row = pixels + ((top + j) * width + left) * 4;
      for (var i = 0; i < w; ++i) {
        var a = glyphs[(j * w + i) * 4 + 3];
        if (a === 0) continue;
        var p = row + i * 4;
        heap[p] = (r * a + heap[p] * (255 - a) + 127) / 255;
        heap[p + 1] = (g * a + heap[p + 1] * (255 - a) + 127) / 255;
        heap[p + 2] = (b * a + heap[p + 2] * (255 - a) + 127) / 255;
      }
    }
  },

  // F1 (where the browser lets the page have it) and "?" open the help, wherever the focus is,
  // unless a box is open already.
  listenToHelpKeys: function (form) {
    document.addEventListener('keydown', function (e) {
      if (e.defaultPrevented || e.ctrlKey || e.altKey || e.metaKey) return;
      var table = e.key === 't' || e.key === 'T';
      if (e.key !== 'F1' && e.key !== '?' && !table) return;
      var at = document.activeElement;
      if (document.querySelector('dialog[open]') || (at && (at.tagName === 'INPUT' || at.isContentEditable))) return;
      e.preventDefault();
      if (table) _pca_table(form);
      else _pca_help(form);
    });
  },

  // Ctrl+Z undoes the latest edit, Ctrl+Shift+Z or Ctrl+Y redoes it (Cmd on a Mac), wherever the
  // focus is but in a box or a text field, which keep the keys for themselves. The letter is the
  // key's own, or its place on the keyboard where the layout types none of these letters.
  listenToUndoKeys: function (form) {
    document.addEventListener('keydown', function (e) {
      if (e.defaultPrevented || e.altKey || !(e.ctrlKey || e.metaKey)) return;
      var letter = /^[a-z]$/i.test(e.key) ? e.key.toLowerCase() :
                   e.code === 'KeyZ' ? 'z' : e.code === 'KeyY' ? 'y' : '';
      var undo = letter === 'z' && !e.shiftKey, redo = (letter === 'z' && e.shiftKey) || (letter === 'y' && !e.shiftKey);
      if (!undo && !redo) return;
      var at = document.activeElement;
      // The table's dialog follows an undo; a box or the help would tell of what it undid.
      if (document.querySelector('dialog[open]:not(#pca-table)') || (at && (at.tagName === 'INPUT' || at.isContentEditable))) return;
      e.preventDefault();
      if (undo) _pca_undo(form);
      else _pca_redo(form);
    });
  },

  // The help: a modal dialog of the program's text, its title its name and its first sentence its
  // description, the text a region the keys scroll. Escape or its button closes it, and the focus
  // goes back where it was.
  helpOpen: function () {
    var box = document.getElementById('pca-help');
    return !!box && box.open;
  },
  focusBeforeHelp: null,
  showHelp: function (json) {
    var help = JSON.parse(json), box = this.helpBox();
    if (box.open) return;
    box.querySelector('#pca-help-title').textContent = help.title;
    box.querySelector('.pca-help-close').textContent = help.close;
    box.querySelector('.pca-help-table').textContent = help.table;
    box.returnValue = '';
    var body = box.querySelector('.pca-help-body');
    body.textContent = '';
    for (var i = 0; i < help.sections.length; ++i) {
      var s = help.sections[i], heading = document.createElement('h3');
      heading.textContent = s.heading;
      body.appendChild(heading);
      for (var j = 0; j < s.paragraphs.length; ++j) {
        var p = document.createElement('p');
        p.textContent = s.paragraphs[j];
        if (i === 0 && j === 0) p.id = 'pca-help-lead';
        body.appendChild(p);
      }
      if (!s.items.length) continue;
      var list = document.createElement('ul');
      for (var k = 0; k < s.items.length; ++k) {
        var item = document.createElement('li');
        item.textContent = s.items[k];
        list.appendChild(item);
      }
      body.appendChild(list);
    }
    this.focusBeforeHelp = document.activeElement;
    box.showModal();
    body.scrollTop = 0;
    // The dialog itself takes the focus: Orca 43 then speaks its title and its text (focused on
    // its text region, no title; on its button, nothing). Orca 48 speaks neither, so the dialog's
    // own live region also tells its title and first sentence, once it is shown. Tab reaches the
    // text, which the keys scroll, and the button.
    box.focus({preventScroll: true});
    var said = box.querySelector('.pca-help-said');
    said.textContent = '';
    setTimeout(function () {
      if (box.open) said.textContent = help.title + '. ' + help.sections[0].paragraphs[0];
    }, 150);
  },
  helpBox: function () {
    var box = document.getElementById('pca-help');
    if (box) return box;
    var page = this;
    box = this.dialog('pca-help', 'pca-help-title', 'pca-help-lead',
        '<h2 id="pca-help-title"></h2>' +
        '<div class="pca-help-said visually-hidden" role="status" aria-live="polite" aria-atomic="true"></div>' +
        '<div class="pca-help-body" tabindex="0"></div>' +
        '<form method="dialog" class="pca-help-buttons"><button class="pca-help-table" value="table"></button>' +
        '<button class="pca-help-close" value="close"></button></form>',
        function () {
          page.focusBack(page.focusBeforeHelp);
          page.focusBeforeHelp = null;
          if (box.returnValue === 'table') _pca_table(page.form);  // the help's button "Tabela danych"
        });
    box.tabIndex = -1;
    return box;
  },

  showTable: function (form, json, row, column, edit) { PcaTable.show(form, json, row, column, edit); },
  updateTable: function (json) { PcaTable.update(json); },

  // A modal box of the page's, named and described by two of its elements, in the main landmark.
  dialog: function (id, labelledBy, describedBy, html, onClose) {
    var box = document.createElement('dialog');
    box.id = id;
    box.setAttribute('aria-labelledby', labelledBy);
    box.setAttribute('aria-describedby', describedBy);
    box.innerHTML = html;
    box.addEventListener('close', onClose);
    this.main().appendChild(box);
    return box;
  },
  // The keyboard goes back where it was before a box opened, if that is still there.
  focusBack: function (before) {
    if (before && before.isConnected && before !== document.activeElement) before.focus({preventScroll: true});
  },

  // Error boxes: modal, one at a time, each failure its own box.
  showError: function (caption, message) {
    this.errors.push({caption: caption, message: message});
    var box = this.errorBox();
    if (!box.open) this.nextError();
  },
  focusBeforeError: null,  // where the keyboard was before the first of the boxes opened
  nextError: function () {
    var next = this.errors.shift();
    var box = this.errorBox();
    if (!next) {  // the last box closed: the keyboard goes back where it was
      this.focusBack(this.focusBeforeError);
      this.focusBeforeError = null;
      return;
    }
    if (!this.focusBeforeError) this.focusBeforeError = document.activeElement;
    box.querySelector('.pca-error-caption').textContent = next.caption;
    box.querySelector('.pca-error-message').textContent = next.message;
    box.showModal();
    box.querySelector('button').focus();
  },
  errorBox: function () {
    var box = document.getElementById('pca-error');
    if (box) return box;
    var page = this;
    box = this.dialog('pca-error', 'pca-error-caption', 'pca-error-message',
        '<div class="pca-error-caption" id="pca-error-caption"></div>' +
        '<div class="pca-error-body">' +
        '<svg class="pca-error-icon" viewBox="0 0 32 32" width="32" height="32" role="img" aria-label="Stop">' +
        '<circle cx="16" cy="16" r="15" fill="#d32f2f"/>' +
        '<path d="M10 10 L22 22 M22 10 L10 22" stroke="#fff" stroke-width="3.5" stroke-linecap="round"/></svg>' +
        '<p class="pca-error-message" id="pca-error-message"></p></div>' +
        '<form method="dialog" class="pca-error-buttons"><button value="ok">OK</button></form>',
        function () { page.nextError(); });
    box.setAttribute('role', 'alertdialog');
    return box;
  },
};

// The program's WebAssembly lies inlined: in pca.html in hexadecimal in a data block before this
// script, in pca.js alone in base64 in its data: address. It is decoded here at once: the runtime of
// Debian 12's emscripten would fetch() the address instead, whose answer a browser delivers
// only after the parser and a first frame (some 40 ms later in chromium), and which the page's
// policy forbids. It is compiled at once too, so that the program starts within this script and
// its first picture goes into the page's first frame: engines compile a module's functions on
// their first call, so the module itself is quick to make. Where an engine refuses to compile a
// module this large on the main thread, it is compiled in the background, and any failure is
// reported from there.
Module['instantiateWasm'] = function (imports, receive) {
  var block = document.getElementById('pca-program'), bytes;  // pca.html's (make_page.py)
  if (block) {
    var hex = block.textContent;
    bytes = Uint8Array.fromHex ? Uint8Array.fromHex(hex) : PcaPage.decodeHex(hex);
  } else {  // pca.js on its own
    var address = typeof wasmBinaryFile === 'string' ? wasmBinaryFile : findWasmBinary();
    var text = address.slice(address.indexOf(',') + 1);
    bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(text) : PcaPage.decodeBase64(text);
  }
  // The face of the picture's texts (Arial, as the reader's boxes of them measure it too): its
  // first look-up takes some milliseconds in each engine.
  PcaPage.prepareFont('Arial');
  try {
    var module = new WebAssembly.Module(bytes), instance = new WebAssembly.Instance(module, imports);
  } catch (e) {
    instance = null;
  }
  if (instance) {
    receive(instance, module);
    return instance.exports;  // the runtime keeps what this returns (Debian 13's does)
  }
  WebAssembly.instantiate(bytes, imports).then(function (result) {
    receive(result.instance, result.module);
  }, function (reason) {
    err('failed to prepare the WebAssembly: ' + reason);
    abort(reason);
  });
  return {};  // the exports come through receive
};
