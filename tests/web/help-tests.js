// The page's help and the values it shows beside the picture, in every engine: "?" and F1 open the
// dialog "Pomoc" with what the chart shows now, Escape and its button close it and the focus goes
// back; the chosen point's value beside its ring, a resting pointer's point as a tooltip, the
// hint's tooltip; none of it in the picture. At a phone's 320 pixels the help reflows.
'use strict';
const crypto = require('crypto');
const d = require('./page-driver');

const sha = bytes => crypto.createHash('sha256').update(bytes).digest('hex').slice(0, 16);

function helpState(page) {
  return page.evaluate(() => {
    const box = document.getElementById('pca-help');
    const body = box && box.querySelector('.pca-help-body');
    const a = document.activeElement;
    return {
      open: !!box && box.open,
      modal: !!box && box.open && box.matches(':modal'),
      name: box && document.getElementById(box.getAttribute('aria-labelledby')).textContent,
      lead: box && box.open && document.getElementById(box.getAttribute('aria-describedby')).textContent,
      text: body ? body.textContent : '',
      close: box && box.querySelector('.pca-help-close').textContent,
      overflow: body ? body.scrollWidth - body.clientWidth : 0,
      width: box && box.open ? box.getBoundingClientRect().width : 0,
      focus: a ? a.getAttribute('aria-label') || a.className || a.tagName : 'none',
    };
  });
}

function shown(page, selector) {
  return page.evaluate(s => {
    const el = document.querySelector(s);
    if (!el || getComputedStyle(el).display === 'none') return null;
    const r = el.getBoundingClientRect();
    return { text: el.textContent, hidden: el.getAttribute('aria-hidden'), left: r.left, right: r.right };
  }, selector);
}

async function helpAndValues(browser, url, t) {
  const p = await d.open(browser, url, 547, 492), page = p.page, l = d.layout(547, 492);
  const picture = sha(await d.pictureBytes(p));
  const hint = await page.evaluate(() => document.getElementById('Label1').title);
  t.check('the hint tells where the help is', hint === 'Klawisz F1 albo znak zapytania otwiera pomoc.', hint);

  for (const k of ['Tab', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight'])
    await page.keyboard.press(k);
  const tag = await shown(page, '.pca-value-tag');
  const ring = await page.evaluate(() => document.activeElement.getBoundingClientRect().right);
  t.check('the chosen point\'s value beside its ring, seen and not read twice',
          !!tag && tag.text === 'Zmienna 3, obserwacja 5: 0,12' && tag.hidden === 'true' && tag.left > ring, JSON.stringify(tag));

  await page.keyboard.press('?');
  let h = await helpState(page);
  t.check('"?" opens the modal dialog Pomoc with its first sentence as its description',
          h.open && h.modal && h.name === 'Pomoc' &&
          h.lead === 'Ten program pokazuje, jak analiza składowych głównych streszcza tabelę liczb.', JSON.stringify(h).slice(0, 300));
  t.check('it tells what the chart shows now, and has the button Zamknij',
          h.text.includes('Na składową 1 najmocniej składają się zmienna 2 (ładunek 0,37)') && h.close === 'Zamknij' &&
          !/\d\.\d/.test(h.text), h.text.slice(-400));
  t.check('the focus is on the help', h.focus === 'DIALOG', h.focus);
  await page.keyboard.press('Escape');
  h = await helpState(page);
  t.check('Escape closes it and the focus is back on the chosen point',
          !h.open && h.focus === 'Zmienna 3, obserwacja 5: 0,12', JSON.stringify([h.open, h.focus]));

  await page.keyboard.press('PageUp');  // the data view: the help says how to get the components
  await page.keyboard.press('F1');
  h = await helpState(page);
  if (!h.open) {
    console.log(`note: [${browser.name}] the browser keeps F1 from the page; "?" opens the help there`);
    await page.keyboard.press('?');
    h = await helpState(page);
  }
  t.check('in the data view it says the components are not shown and how to get them',
          h.open && h.text.includes('składowe główne zmienionej tabeli nie są jeszcze policzone') &&
          !h.text.includes('Na składową 1 najmocniej'), h.text.slice(-300));
  await page.evaluate(() => document.querySelector('#pca-help .pca-help-close').click());
  h = await helpState(page);
  t.check('its button closes it, the focus back where it was', !h.open && /^Zmienna 3, obserwacja 5: /.test(h.focus), h.focus);

  // A resting pointer on observation 7 of variable 2 tells its value; off the points nothing.
  await page.keyboard.press('Shift+Tab');
  await page.mouse.move(l.x(7) + 40, l.stripTop(2) + 2);
  const marker = await page.evaluate(() => {
    const c = document.getElementById('Ramka-chart').querySelectorAll('[role=group]')[1].querySelectorAll('[role=slider]')[6];
    const r = c.getBoundingClientRect();
    return [Math.round((r.left + r.right) / 2), Math.round((r.top + r.bottom) / 2), c.getAttribute('aria-label')];
  });
  await page.mouse.move(marker[0], marker[1]);
  const tip = await d.until(page, () => {
    const el = document.querySelector('.pca-tooltip');
    return el && getComputedStyle(el).display !== 'none';
  }, 3000) && await shown(page, '.pca-tooltip');
  t.check('a resting pointer on a point shows its name and value', !!tip && tip.text === marker[2], JSON.stringify([tip, marker]));
  await page.mouse.move(marker[0] + 9, marker[1] + 15);
  t.check('and it goes when the pointer does', !(await shown(page, '.pca-tooltip')), 'still shown');
  await page.mouse.move(l.x(15), l.stripTop(8) + 3);

  // The picture is the data view of the key edit, as Page Up alone gives it on a fresh page (one
  // page at a time: WebKit's driver has one session).
  const edited = sha(await d.pictureBytes(p));
  await t.noProblems('the help', p);
  await p.context.close();
  const q = await d.open(browser, url, 547, 492);
  for (const k of ['Tab', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'PageUp'])
    await q.page.keyboard.press(k);
  await q.page.keyboard.press('Shift+Tab');
  t.check('the help, the values and the tooltip drew nothing into the picture',
          edited === sha(await d.pictureBytes(q)) && picture !== edited, 'pictures differ');
  await q.context.close();

  // A phone's 320 pixels: the help fits the width and wraps its text.
  const n = await d.open(browser, url, browser.name === 'webkit' ? 447 : 320, 560);
  await n.page.keyboard.press('?');
  h = await helpState(n.page);
  const width = await n.page.evaluate(() => window.innerWidth);
  t.check(`at ${width} pixels the help reflows: no wider than the page, nothing to scroll sideways`,
          h.open && h.width <= width && h.overflow <= 0, JSON.stringify([h.width, width, h.overflow]));
  await n.context.close();
}

module.exports = { helpAndValues };
