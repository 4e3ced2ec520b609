// The page's table dialog, in every engine: the table's 200 values as the chart words them, with
// headed rows and columns; a value typed into a cell shows on the chart and in the reader's tree,
// and is undone by Ctrl+Z; a bad one changes nothing but the dialog's message; Enter on the
// chosen point opens its cell for typing; Escape closes the dialog and the focus goes back.
'use strict';
const d = require('./page-driver');
const { tableOf } = require('./access-tests');

function tableState(page) {
  return page.evaluate(() => {
    const box = document.getElementById('pca-table'), a = document.activeElement;
    const rows = box ? [...box.querySelectorAll('tbody tr')] : [];
    return {
      open: !!box && box.open,
      name: box && document.getElementById(box.getAttribute('aria-labelledby')).textContent,
      columns: box ? [...box.querySelectorAll('thead th[scope=col]')].map(th => th.textContent) : [],
      rows: rows.map(r => r.querySelector('th[scope=row]').textContent),
      cells: rows.map(r => [...r.querySelectorAll('td')].map(td => td.textContent)),
      message: box ? box.querySelector('#pca-table-message').textContent : '',
      focus: a ? a.tagName + ' ' + (a.getAttribute('aria-label') || a.textContent.slice(0, 20)) : 'none',
    };
  });
}

// The value texts of the chart's points, [observation][variable] from 0.
function chartValues(page) {
  return page.evaluate(() => {
    const values = [];
    for (const s of document.querySelectorAll('#Ramka-chart [role=slider]')) {
      const m = /^Zmienna (\d+), obserwacja (\d+): /.exec(s.getAttribute('aria-label'));
      if (!m) continue;
      (values[m[2] - 1] = values[m[2] - 1] || [])[m[1] - 1] = s.getAttribute('aria-valuetext');
    }
    return values;
  });
}

async function type(page, keys) {
  for (const k of keys) await page.keyboard.press(k);
}

async function tableAndTypedValues(browser, url, t) {
  const p = await d.open(browser, url, 547, 492), page = p.page;
  await type(page, ['t']);
  let s = await tableState(page);
  const values = await chartValues(page);
  t.check('T opens the dialog Tabela danych: 20 observations by 10 variables, the scores and the loadings',
          s.open && s.name === 'Tabela danych' && s.columns.length === 12 && s.columns[2] === 'Zmienna 3' &&
          s.columns[10] === 'Wynik 1' && s.rows.length === 22 && s.rows[4] === 'Obserwacja 5' &&
          s.rows[21] === 'Ładunki składowej 2', JSON.stringify([s.columns, s.rows]));
  t.check('its 200 values are the chart\'s, as worded', values.length === 20 &&
          values.every((row, i) => row.length === 10 && row.every((v, k) => s.cells[i][k] === v)), JSON.stringify(s.cells[0]));

  // Observation 5 of variable 3: four rows down, two columns right; typing starts editing.
  await type(page, ['ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', '0', ',', '3', 'Enter']);
  s = await tableState(page);
  const typed = await chartValues(page);
  const marker = await page.evaluate(() => {
    const el = [...document.querySelectorAll('#Ramka-chart [role=slider]')]
      .find(e => e.getAttribute('aria-label').startsWith('Zmienna 3, obserwacja 5: '));
    const r = el.getBoundingClientRect(), area = document.getElementById('Ramka').getBoundingClientRect();
    return [Math.round(r.left + r.width / 2 - area.left), Math.round(r.top + r.height / 2 - area.top)];
  });
  const fill = await (await d.picture(p)).pixel(marker[0] - 1, marker[1] - 1);
  t.check('0,3 typed: the point in the table, in the reader\'s tree and on the picture, the data view',
          s.cells[4][2] === '0,30' && typed[4][2] === '0,30' && s.columns.length === 10 && s.message === '' &&
          fill === 'FFFF00' && await d.buttonShown(page),
          JSON.stringify([s.cells[4][2], typed[4][2], fill, s.focus]));

  const before = await tableOf(page);
  const bad = ['', 'abc', '1e400', 'nan', '0,9', '0,1234567890123456789012345678901'];
  const refused = [];
  for (const text of bad) {
    await type(page, ['Enter', 'Control+a', 'Backspace', ...text.split(''), 'Enter']);
    await d.until(page, () => document.getElementById('pca-table-message').textContent !== '', 2000);
    const now = await tableState(page);
    refused.push(now.message.includes('Wpisz liczbę od -0,5 do 0,5') && now.focus.startsWith('INPUT') &&
                 await tableOf(page) === before && (await d.openBoxes(page)).length === 0);
    await type(page, ['Escape']);  // gives the editing up, the dialog stays
  }
  s = await tableState(page);
  t.check('each bad value: the table unchanged, the message naming the range, no box', refused.every(Boolean) &&
          s.open && s.cells[4][2] === '0,30', refused.join());

  await type(page, ['Control+z']);
  s = await tableState(page);
  t.check('Ctrl+Z in the dialog takes the typed value back: the components view again',
          s.cells[4][2] === '0,12' && s.columns.length === 12 && s.focus.startsWith('TD'), JSON.stringify([s.cells[4], s.focus]));
  await type(page, ['Escape']);
  s = await tableState(page);
  t.check('Escape closes the dialog', !s.open, s.focus);

  // Enter on the chart's chosen point: its cell, open for typing.
  const point = () => page.evaluate(() => document.activeElement.closest('#Ramka-chart') && document.activeElement.getAttribute('aria-label'));
  for (let i = 0; i < 3 && !await point(); ++i) await type(page, ['Tab']);
  await type(page, ['ArrowDown', 'ArrowRight']);
  const chosen = /^Zmienna (\d+), obserwacja (\d+): /.exec(await point() || '');
  await type(page, ['Enter']);
  s = await tableState(page);
  t.check('Enter on the chosen point opens its cell for typing',
          !!chosen && s.open && s.focus === `INPUT Obserwacja ${chosen[2]}, Zmienna ${chosen[1]}`, s.focus);
  await type(page, ['Escape', 'Escape']);
  const back = await point();
  t.check('the focus goes back to the point', !!chosen && (back || '').startsWith(chosen[0]), back);
  await t.noProblems('the table', p);
  await p.context.close();
}

module.exports = { tableAndTypedValues };
