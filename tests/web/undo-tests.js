// Undo and redo on the page, in every engine: Ctrl+Z takes edits by keys and by the mouse back,
// one by one, to the table, the view and the picture before each, the start's last; Ctrl+Y and
// Ctrl+Shift+Z make them again; the live status tells what was undone.
'use strict';
const crypto = require('crypto');
const d = require('./page-driver');
const { tableOf } = require('./access-tests');

const sha = bytes => crypto.createHash('sha256').update(bytes).digest('hex').slice(0, 16);

async function undoAndRedo(browser, url, t) {
  const p = await d.open(browser, url, 547, 492), page = p.page, l = d.layout(547, 492);
  const state = async () => [await tableOf(page), await d.buttonShown(page), sha(await d.pictureBytes(p))].join('|');
  const press = async k => { await page.keyboard.press(k); };
  const components = () => page.evaluate(() => document.getElementById('Kl_A').click());
  // Each edit after what brings its view: the button's click before the third is no edit.
  const none = async () => {};
  const edits = [
    [none, async () => { for (const k of ['Tab', 'ArrowDown', 'PageUp']) await press(k); }],  // from the components view
    [none, async () => d.drag(page, l.x(5), l.stripTop(3) + 18, l.x(5), l.stripTop(3) + 8)],  // the mouse, data view
    [components, async () => d.drag(page, l.x(9), l.stripTop(7) + 18, l.x(9), l.stripTop(7) + 30)],
    [none, async () => press('Shift+PageDown')],  // the chart kept the focus: the first point
  ];
  const before = [], after = [];
  for (const [view, edit] of edits) {
    await view();
    before.push(await state());
    await edit();
    after.push(await state());
  }
  const table = s => s.split('|')[0];
  t.check('each of the edits changed the table', before.every((b, i) => table(b) !== table(after[i])), '');
  const undone = [];
  for (let e = edits.length; e-- > 0;) {
    await press('Control+z');
    undone.unshift(await state());
  }
  t.check('Ctrl+Z: each edit taken back to the table, the view and the picture before it, the start last',
          undone.join() === before.join(), undone.map((u, i) => u === before[i]).join());
  const said = await page.evaluate(() => document.getElementById('chart-status').textContent);
  t.check('the status tells what was undone, then the view',
          /^Cofnięto: Zmienna 1, obserwacja 1: -?\d,\d\d\. Wykres składowych głównych\. Składowa 1: 59% wariancji/.test(said), said);
  const redone = [];
  for (const k of ['Control+y', 'Control+Shift+z', 'Control+y', 'Control+Shift+z']) {
    await press(k);
    redone.push(await state());
  }
  t.check('Ctrl+Y and Ctrl+Shift+Z: the edits made again', redone.join() === after.join(), redone.map((r, i) => r === after[i]).join());
  await t.noProblems('undo and redo', p);
  await p.context.close();
}

module.exports = { undoAndRedo };
