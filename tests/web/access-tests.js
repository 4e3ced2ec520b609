// The page with the keyboard, a screen reader's tree and a finger, in every engine: Tab order and
// the focus ring, key edits that equal mouse edits (the clamps at both edges of a strip among
// them), the elements over the parts they name, and a touch edit on a phone's viewport. In
// chromium also the accessibility tree as the browser gives it to a reader (DevTools protocol).
'use strict';
const crypto = require('crypto');
const d = require('./page-driver');

const sha = bytes => crypto.createHash('sha256').update(bytes).digest('hex').slice(0, 16);

// Every value of the table, as the sliders carry them (each a double, exactly).
function tableOf(page) {
  return page.evaluate(() => [...document.querySelectorAll('#Ramka-chart [role=slider]')]
    .map(s => s.getAttribute('aria-valuenow')).join(' '));
}

// What has the keyboard focus: 'chart', a slider's name, an element's id or tag.
function focusOf(page) {
  return page.evaluate(() => {
    const a = document.activeElement;
    if (!a || a === document.body) return 'body';
    if (a.id === 'Ramka-chart') return 'chart';
    return a.getAttribute('aria-label') || a.id || a.tagName;
  });
}

async function keys(page, list) {
  for (const k of list) await page.keyboard.press(k);
}

// The screen once `shows(screen)` holds, or after 5 s the last one taken: an engine may show a
// frame from before the last event (WebKit, under load), and the ring is hidden only in a task
// after the focus leaves.
async function screenWhen(p, shows, timeout = 5000) {
  const end = Date.now() + timeout;
  for (;;) {
    const s = await d.screen(p);
    if (await shows(s) || Date.now() > end) return s;
  }
}

// Home / End and Ctrl+Home / Ctrl+End choose along and across the variables; Shift+Page Up / Down
// give the table and the picture of the mouse edit released ten rows off.
async function jumpsAndTenPixelEdits(browser, url, t) {
  const p = await d.open(browser, url, 547, 492), page = p.page, l = d.layout(547, 492);
  await keys(page, ['Tab', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight']);
  const chosen = [];
  for (const k of ['End', 'Control+End', 'Home', 'Control+Home']) {
    await keys(page, [k]);
    chosen.push((await focusOf(page)).replace(/: .*/, ''));
  }
  t.check('End, Ctrl+End, Home, Ctrl+Home: the last and first observation and variable',
          chosen.join(' | ') === 'Zmienna 3, obserwacja 20 | Zmienna 10, obserwacja 20 | Zmienna 10, obserwacja 1 | Zmienna 1, obserwacja 1',
          chosen.join(' | '));
  await keys(page, ['ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight']);
  const at = await page.evaluate(() => {
    const r = document.activeElement.getBoundingClientRect();
    return [Math.round((r.left + r.right) / 2), Math.floor((r.top + r.bottom) / 2)];
  });
  await keys(page, ['Shift+PageUp']);
  const keyed = [await tableOf(page), sha(await d.pictureBytes(p))];
  await p.context.close();
  const q = await d.open(browser, url, 547, 492);
  await d.drag(q.page, at[0], at[1], at[0], at[1] - 10);
  const dragged = [await tableOf(q.page), sha(await d.pictureBytes(q))];
  t.check('Shift+Page Up: the table and the picture of a drag ten rows up', keyed[0] === dragged[0] && keyed[1] === dragged[1],
          'they differ');
  await t.noProblems('the jumps', q);
  await q.context.close();
}

// Tab order, the chosen cell, the ring on the screen and never in the picture; the mouse never
// gives the chart the focus; the elements lie over the parts they name.
async function tabAndFocus(browser, url, t) {
  const p = await d.open(browser, url, 547, 492);
  const l = d.layout(547, 492), page = p.page;
  t.check('nothing has the focus at start', await focusOf(page) === 'body', await focusOf(page));
  await d.drag(page, l.x(5), l.stripTop(3) + 10, l.x(5), l.stripTop(3) + 12);
  t.check('a press and release does not give the chart the focus', await focusOf(page) === 'body', await focusOf(page));
  await keys(page, ['Tab']);
  t.check('Tab: the button first (data view)', await focusOf(page) === 'Kl_A', await focusOf(page));
  const picture = sha(await d.pictureBytes(p));
  await keys(page, ['Tab']);
  const entered = await page.evaluate(() => [document.activeElement.getAttribute('aria-label'),
                                               document.activeElement.closest('#Ramka-chart') !== null]);
  t.check('Tab: then the chart, at its first point', /^Zmienna 1, obserwacja 1: /.test(entered[0]) && entered[1],
          JSON.stringify(entered));
  await keys(page, ['ArrowDown']);
  const first = await focusOf(page);
  t.check('the first key chooses variable 1, observation 1, and the focus is on it',
          /^Zmienna 1, obserwacja 1: -?\d+,\d\d$/.test(first), first);
  t.check('choosing draws nothing into the picture', sha(await d.pictureBytes(p)) === picture, 'the picture changed');
  // The ring: two pixels wide, three pixels out from the marker's box, on the screen only.
  const box = await page.evaluate(() => {
    const r = document.activeElement.getBoundingClientRect();
    return [r.left, r.top, r.right, r.bottom];
  });
  const midY = Math.floor((box[1] + box[3]) / 2);
  const ring = '308CC6';  // rgb(48, 140, 198), the desktop's highlight
  const ringSides = async s => [await s.pixel(box[0] - 3, midY), await s.pixel(box[2] + 2, midY)];
  const s = await screenWhen(p, async s => (await ringSides(s)).every(c => c === ring)), pic = await d.picture(p);
  const [left, right] = await ringSides(s);
  t.check('the focus ring surrounds the chosen marker on the screen', left === ring && right === ring,
          `left ${left}, right ${right}`);
  t.check('and is not in the picture', (await pic.pixel(box[0] - 3, midY)) !== ring, 'ring colour in the canvas');
  await keys(page, ['Shift+Tab']);
  t.check('Shift+Tab: back to the button', await focusOf(page) === 'Kl_A', await focusOf(page));
  const gone = await screenWhen(p, async s => (await s.pixel(box[0] - 3, midY)) !== ring);
  t.check('the ring goes with the focus', (await gone.pixel(box[0] - 3, midY)) !== ring, 'still drawn');
  await page.mouse.click(104, l.buttonY);
  t.check('a click of the button hides it; the focus does not fall to the chart',
          !(await d.buttonShown(page)) && await focusOf(page) !== 'chart' && !/^Zmienna/.test(await focusOf(page)),
          await focusOf(page));

  // Each part's element lies over it, for a finger exploring the screen or a magnifier.
  const x = Math.floor((l.x(5) + l.x(6)) / 2), y3 = l.stripTop(3) + 3;
  const over = await page.evaluate(([x, y, cx, cy]) => {
    const named = (e, role) => { const g = e && e.closest(`[role=${role}]`); return g && g.getAttribute('aria-label'); };
    const cell = document.getElementById('Ramka-chart').querySelectorAll('[role=group]')[2].querySelectorAll('[role=slider]')[4];
    const r = cell.getBoundingClientRect();
    return [named(document.elementFromPoint(x, y), 'group'),
            named(document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2), 'slider')];
  }, [x, y3]);
  t.check('strip 3\'s element lies over strip 3', over[0] === 'Zmienna 3', JSON.stringify(over));
  t.check('the cell\'s element lies over its marker', /^Zmienna 3, obserwacja 5: /.test(over[1] || ''), JSON.stringify(over));
  await t.noProblems('Tab and focus', p);
  await p.context.close();
}

// Key edits against mouse edits: both pages set observation 5 of variable 3 to the same height
// with the mouse, then one edits it by a key and the other by the mouse edit that the key stands
// for (a press on the point, or on the strip's nearest row, released one row off). The tables
// and pictures must be the same after each, and after the button.
async function keyEditsEqualMouseEdits(browser, url, t) {
  const l = d.layout(547, 492);  // RowHeight 37: strip 3's rows 84..120
  const x5 = l.x(5), top = l.stripTop(3) + 1, bottom = l.stripTop(3) + l.row;
  // offset: the point is drawn `offset` rows below the strip's first inner row
  const cases = [[16, 'PageUp', -1], [16, 'Shift+ArrowDown', 1], [0, 'PageUp', -1], [0, 'Shift+ArrowUp', -1],
                 [36, 'PageDown', 1], [37, 'PageDown', 1], [37, 'Shift+ArrowUp', -1]];
  const runs = {};
  for (const how of ['keys', 'mouse']) {  // one page at a time: WebKit's driver has one session
    const p = await d.open(browser, url, 547, 492), page = p.page, seen = [];
    if (how === 'keys') {
      await keys(page, ['Tab', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight']);
      const chosen = await focusOf(page);
      t.check('the arrows reach variable 3, observation 5', chosen === 'Zmienna 3, obserwacja 5: 0,12', chosen);
    }
    for (const [offset, key, dir] of cases) {
      const drawn = top + offset;
      await d.drag(page, x5, l.stripTop(3) + 10, x5, drawn);
      if (how === 'keys') {
        const before = await focusOf(page);
        await keys(page, [key]);
        const after = await focusOf(page);
        seen.push(`${key} from ${offset}: ${before} -> ${after}`);
      } else {
        await d.drag(page, x5, Math.min(Math.max(drawn, top), bottom), x5, drawn + dir);
      }
      const table = await tableOf(page), picture = sha(await d.pictureBytes(p)), shown = await d.buttonShown(page);
      if (how === 'keys') await keys(page, ['Alt+o']); else await page.mouse.click(104, l.buttonY);
      seen.push({ table, picture, shown, components: sha(await d.pictureBytes(p)) });
    }
    if (how === 'keys') t.check('the focus stays on the edited cell through edits and the access key',
                                await focusOf(page) !== 'body' && /^Zmienna 3, obserwacja 5/.test(await focusOf(page)), await focusOf(page));
    runs[how] = seen;
    await t.noProblems(`key edits (${how})`, p);
    await p.context.close();
  }
  const byKey = runs.keys.filter(s => typeof s === 'object'), byMouse = runs.mouse;
  cases.forEach(([offset, key], i) => {
    const a = byKey[i], b = byMouse[i];
    t.check(`${key} on a point ${offset} rows into the strip: the mouse edit's table, picture and view`,
            a.table === b.table && a.picture === b.picture && a.shown && b.shown, 'they differ');
    t.check(`${key} on a point ${offset} rows into the strip: the same components after`,
            a.components === b.components, 'they differ');
  });
  const spoken = runs.keys.filter(s => typeof s === 'string');
  const edited = spoken.filter(s => !/-> Zmienna 3, obserwacja 5: -?\d+,\d\d$/.test(s));
  t.check('each key edit leaves the focus on the cell, named with its value', edited.length === 0, edited.join('; '));
}

// The tree that chromium hands a screen reader, in both views, and after a key edit.
async function readerTree(browser, url, t) {
  const p = await d.open(browser, url, 547, 492), page = p.page;
  const cdp = await page.context().newCDPSession(page);
  const tree = async () => (await cdp.send('Accessibility.getFullAXTree')).nodes.filter(n => !n.ignored)
    .map(n => ({ role: n.role && n.role.value, name: n.name && n.name.value, value: n.value && n.value.value,
                 description: n.description && n.description.value,
                 focused: (n.properties || []).some(q => q.name === 'focused' && q.value.value) }));
  const has = (nodes, role, test) => nodes.some(n => n.role === role && (typeof test === 'string' ? n.name === test : test.test(n.name || '')));
  let nodes = await tree();
  const strips = [...Array(10)].map((_, k) => `Zmienna ${k + 1}`);
  t.check('components view: the chart by its name, the shares as its description',
          nodes.some(n => n.role === 'group' && n.name === 'Wykres składowych głównych' &&
                          d.startDescription(n.description)), 'not found');
  t.check('the ten strips, 200 sliders named with their values',
          strips.every(s => has(nodes, 'group', s)) &&
          nodes.filter(n => n.role === 'slider' && /^Zmienna \d+, obserwacja \d+: -?\d+,\d\d$/.test(n.name)).length === 200,
          nodes.filter(n => n.role === 'slider').length + ' sliders');
  t.check('the score strips, the loadings and the shares',
          has(nodes, 'group', 'Wyniki składowej 1') && has(nodes, 'group', 'Wyniki składowej 2') &&
          has(nodes, 'image', /^Ładunki składowej 1: -?\d+,\d\d(; -?\d+,\d\d){9}$/) && has(nodes, 'image', /^Ładunki składowej 2: /) &&
          nodes.some(n => n.name === 'Składowa 1: 59% wariancji') && nodes.some(n => n.name === 'Składowa 2: 10% wariancji'),
          JSON.stringify(nodes.filter(n => /Wyniki|Ładunki|Składowa/.test(n.name || '')).map(n => `${n.role} ${n.name}`)));
  await keys(page, ['Tab']);
  nodes = await tree();
  const entered = nodes.find(n => n.focused && n.role !== 'RootWebArea');
  t.check('Tab: the first point has the focus and, before a point is chosen, the shares as its description',
          !!entered && entered.role === 'slider' && /^Zmienna 1, obserwacja 1: /.test(entered.name) &&
          d.startDescription(entered.description), JSON.stringify(entered));
  await keys(page, ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'PageUp']);
  nodes = await tree();
  const moved = nodes.find(n => n.focused && n.role !== 'RootWebArea');
  t.check('a chosen point no longer tells the shares', !!moved && !moved.description, JSON.stringify(moved));
  const focused = nodes.find(n => n.focused && n.role === 'slider');
  const named = focused && /^Zmienna 3, obserwacja 5: (-?\d+,\d\d)$/.exec(focused.name);
  t.check('after a key edit the focused slider carries the new, higher value in its name and value',
          !!named && focused.value > 0.125 && named[1] === focused.value.toFixed(2).replace('.', ','),
          JSON.stringify(focused));
  t.check('the data view: the chart renamed, the components\' parts gone',
          has(nodes, 'group', 'Wykres danych') && !has(nodes, 'group', 'Wyniki składowej 1') &&
          !nodes.some(n => /^(Ładunki|Składowa)/.test(n.name || '')) && has(nodes, 'status', /.*/), 'not so');
  await p.context.close();
}

// A finger on a phone: a press on strip 3 released higher up edits as the mouse does, and the
// page neither scrolls nor zooms.
async function touchEdit(browser, url, t) {
  if (!browser.touch) { console.log(`skipped in ${browser.name}: touch (its driver sends a finger as the mouse)`); return; }
  const width = 390, height = 844, p = await browser.openPhone(url, width, height);
  await d.described(p.page);
  const l = d.layout(width, height), x5 = l.x(5);
  const pressY = l.stripTop(3) + l.row - 4, releaseY = l.stripTop(3) + 3;
  await p.touchDrag(x5, pressY, x5, releaseY);
  const shown = await d.buttonShown(p.page);
  const pic = await d.picture(p), r = await p.page.evaluate(() => devicePixelRatio);
  const markY = releaseY - (l.row % 2 === 0 ? 1 : 0);
  const at = await pic.pixel((x5 - l.m) * r, markY * r);
  const view = await p.page.evaluate(() => [scrollX, scrollY, visualViewport ? visualViewport.scale : 1]);
  t.check(`a touch edit at ${width} x ${height}, ratio ${r}: the data view and the point at the release`,
          shown && at === 'FF0000', `button shown ${shown}, pixel ${at}`);
  t.check('the page neither scrolled nor zoomed under the finger', view.join() === '0,0,1', view.join());
  await t.noProblems('touch', p);
  await p.context.close();
}

module.exports = { jumpsAndTenPixelEdits, tabAndFocus, keyEditsEqualMouseEdits, readerTree, touchEdit, focusOf, tableOf };
