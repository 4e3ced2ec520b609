// Drives the page in a browser engine (engines/: chromium, firefox, webkit) with real pointer,
// keyboard and viewport events; pixels are read back from the screen (a screenshot) or from the
// paint box's canvas. serve() gives the page over HTTP as any web server would; the tests open
// it from the disk too.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { decodePng } = require('./png');

const kTypes = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Static files of one folder, as any web server would give them.
function serve(folder) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'pca.html' : name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const kEngines = ['chromium', 'firefox', 'webkit'];
function launch(engine = 'chromium') {
  if (!kEngines.includes(engine)) throw new Error(`no engine ${engine}; there are ${kEngines.join(', ')}`);
  return require('./engines/' + engine).launch();
}

// One page of the program at a viewport size and device pixel ratio, its first picture shown
// and the reader's elements built after it; problems (script errors, console errors) are listed
// by problemList().
const described = page => page.waitForFunction(() => performance.getEntriesByName('pca-described').length > 0);
async function open(browser, url, width, height, ratio = 1) {
  const p = await browser.open(url, width, height, ratio);
  await described(p.page);
  if (p.page.listenForErrors) await p.page.listenForErrors();
  return { ...p, ratio, engine: browser.name };
}

// The screen as the user sees it, in device pixels: pixel(x, y) is "RRGGBB".
async function screen(p) {
  const png = await p.page.screenshot();
  const image = decodePng(png);
  const pixel = async (x, y) => {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 'outside';
    const i = (y * image.width + x) * 4;
    return [0, 1, 2].map(c => image.data[i + c].toString(16).padStart(2, '0')).join('').toUpperCase();
  };
  return { width: image.width, height: image.height, png, data: image.data, pixel };
}

function readPixel(page, name, x, y) {
  return page.evaluate(([name, x, y]) => {
    const img = window[name];
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return 'outside';
    const i = (y * img.width + x) * 4, d = img.data;
    return [d[i], d[i + 1], d[i + 2]].map(v => v.toString(16).padStart(2, '0')).join('').toUpperCase();
  }, [name, x, y]);
}

// The paint box's own pixels (device pixels), unaffected by anything lying over it.
async function picture(p) {
  const size = await p.page.evaluate(() => {
    const c = document.getElementById('Ramka');
    window.__picture = c.getContext('2d').getImageData(0, 0, c.width, c.height);
    return [c.width, c.height];
  });
  return { width: size[0], height: size[1], pixel: (x, y) => readPixel(p.page, '__picture', x, y) };
}

// Every pixel of the paint box, as bytes, for exact comparisons.
async function pictureBytes(p) {
  const b64 = await p.page.evaluate(() => {
    const c = document.getElementById('Ramka');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}

// The layout of the paint box as the program computes it (the same integer rules as
// scripts/e2e.sh uses for the desktop).
function layout(width, height) {
  let q = Math.trunc(7 * width / 10);
  const t = 7 * width - 10 * q;
  if (t > 5 || (t === 5 && q % 2 === 1)) q += 1;
  const step = Math.trunc(q / 20), half = Math.trunc(step / 2), row = Math.trunc(height / 13);
  const chartWidth = 20 * step, column = Math.trunc((width - 10 - chartWidth) / 3);
  let m = Math.trunc(step / 6);
  if (Math.trunc(row / 6) < m) m = Math.trunc(row / 6);
  if (m < 2) m = 2;
  return {
    step, half, row, chartWidth, column, m,
    axis: chartWidth + 10 + column,
    x: i => 10 + half + (i - 1) * step,          // observation i, 1..20
    stripTop: k => (k - 1) * row + 9,            // variable strip k, 1..10
    buttonY: height - 4 - 33 + 16,               // the middle of the shown button
  };
}

// A press at (x, y) and a release at (rx, ry), as the user makes them with the left button.
async function drag(page, x, y, rx, ry) {
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(rx, ry);
  await page.mouse.up();
}

// Waits until `fn` holds in the page, for at most `timeout` ms; whether it came to hold. The
// checks after it say what did not.
async function until(page, fn, timeout = 5000) {
  const end = Date.now() + timeout;
  for (;;) {
    if (await page.evaluate(fn)) return true;
    if (Date.now() > end) return false;
    await new Promise(resolve => setTimeout(resolve, 20));
  }
}

async function buttonShown(page) {
  return page.evaluate(() => getComputedStyle(document.getElementById('Kl_A')).display !== 'none');
}

async function openBoxes(page) {
  return page.evaluate(() => [...document.querySelectorAll('dialog#pca-error')].filter(d => d.open).map(d => ({
    caption: d.querySelector('.pca-error-caption').textContent,
    message: d.querySelector('.pca-error-message').textContent,
    buttons: [...d.querySelectorAll('button')].map(b => b.textContent),
    icon: !!d.querySelector('.pca-error-icon'),
    modal: d.matches(':modal'),
  })));
}

// The open boxes, whether the button is shown, and any problem the page collected itself, in one
// round trip: the storm asks after every event.
async function pageState(page) {
  return page.evaluate(() => ({
    boxes: [...document.querySelectorAll('dialog#pca-error')].filter(d => d.open).map(d => ({
      caption: d.querySelector('.pca-error-caption').textContent,
      message: d.querySelector('.pca-error-message').textContent,
    })),
    shown: getComputedStyle(document.getElementById('Kl_A')).display !== 'none',
    problems: window.__pcaProblems || [],
  }));
}

// The chart's description at start: the shares, what the components are made of, where the help is.
function startDescription(text) {
  return typeof text === 'string' && text.startsWith('Składowa 1: 59% wariancji, składowa 2: 10% wariancji. Na składową 1 ') &&
         text.endsWith(' Klawisz F1 albo znak zapytania otwiera pomoc.');
}

module.exports = { kEngines, startDescription, serve, launch, open, described, screen, picture, pictureBytes, layout, drag, until, buttonShown, openBoxes,
                   pageState };
