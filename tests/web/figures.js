// The browser version's figures: the page's size (pca.html, gzipped), the time from navigation to
// the first picture with the page opened from the disk beside the engine's floor (a blank page,
// build/web/blank.html), in chromium also with the processor slowed 4 times, one paint of the
// components view at 1920 x 1080 after a warm-up, and the reader's elements updated after a key
// edit, in each engine (PCA_WEB_ENGINES names fewer; PCA_FIGURES_LOADS the loads, 7).
// Usage: node figures.js BUILD_WEB_FOLDER
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const crypto = require('crypto');
const { pathToFileURL } = require('url');
const d = require('./page-driver');

function median(values) {
  const v = [...values].sort((a, b) => a - b);
  return v[Math.floor(v.length / 2)];
}

// The engine's floor: one file opened from the disk that sizes a canvas to the viewport, fills
// it with putImageData from an inline script and sets the same mark, under a policy like the
// page's (its script and style by their digests, nothing loaded).
function writeBlankPage(folder) {
  const style = 'html, body { margin: 0; height: 100%; overflow: hidden; background: rgb(239, 239, 239); }' +
                ' canvas { display: block; }';
  const script = `
    var c = document.createElement('canvas'), r = window.devicePixelRatio || 1;
    c.width = Math.floor(innerWidth * r); c.height = Math.floor(innerHeight * r);
    c.style.width = innerWidth + 'px'; c.style.height = innerHeight + 'px';
    document.body.appendChild(c);
    var data = new Uint8ClampedArray(c.width * c.height * 4).fill(239);
    c.getContext('2d').putImageData(new ImageData(data, c.width, c.height), 0, 0);
    performance.mark('pca-first-picture');`;
  const digest = t => `'sha256-${crypto.createHash('sha256').update(t, 'utf8').digest('base64')}'`;
  const policy = `default-src 'none'; script-src ${digest(script)} 'wasm-unsafe-eval'; ` +
                 `style-src ${digest(style)}; base-uri 'none'`;
  const file = path.join(folder, 'blank.html');
  fs.writeFileSync(file, `<!DOCTYPE html>\n<html lang="pl">\n<head>\n<meta charset="utf-8">\n` +
    `<meta http-equiv="Content-Security-Policy" content="${policy}">\n<title>blank</title>\n` +
    `<style>${style}</style>\n</head>\n<body>\n<script>${script}</script>\n</body>\n</html>\n`);
  return pathToFileURL(file).href;
}

// A load's two times: the picture handed to the browser (the mark), and the browser's first
// contentful paint, when it is on the screen (the page's elements and styles drawn with it).
const firstPicture = page => page.evaluate(() => new Promise(resolve => {
  const started = performance.now();
  const poll = () => {
    const paint = performance.getEntriesByName('first-contentful-paint')[0];
    if (!paint && performance.now() - started < 3000) { setTimeout(poll, 10); return; }
    resolve({ mark: performance.getEntriesByName('pca-first-picture')[0].startTime,
              shown: paint ? paint.startTime : NaN });
  };
  poll();
}));

// Loads of the page and of the floor in turns, each in a fresh context (nothing cached, the wasm
// compiled anew); `load(url)` gives one load's time to the first picture.
async function inTurns(name, url, blankUrl, load) {
  const page = [], blank = [];
  for (let run = 0; run < kLoads; ++run) {
    page.push(await load(url));
    blank.push(await load(blankUrl));
  }
  const report = (what, key) => {
    const p = page.map(t => t[key]), b = blank.map(t => t[key]);
    if (p.some(t => isNaN(t))) return;  // an engine without paint timing
    const list = v => v.map(t => t.toFixed(0)).join(', ');
    console.log(`${name}: ${what}: pca.html ${median(p).toFixed(0)} ms (${list(p)}), ` +
                `blank page ${median(b).toFixed(0)} ms (${list(b)}), ratio ${(median(p) / median(b)).toFixed(2)}`);
  };
  report(`first picture from file://, median of ${kLoads} loads in turns`, 'mark');
  report('on the screen (first contentful paint)', 'shown');
}

const kLoads = Number(process.env.PCA_FIGURES_LOADS || 7);

(async () => {
  const folder = path.resolve(process.argv[2] || 'build/web');
  const page = fs.readFileSync(path.join(folder, 'pca.html'));
  const gzipped = zlib.gzipSync(page, { level: 9 }).length;
  console.log(`page size (pca.html): ${(page.length / 1024).toFixed(1)} KB, gzipped ${(gzipped / 1024).toFixed(1)} KB`);
  const url = pathToFileURL(path.join(folder, 'pca.html')).href;
  const blankUrl = writeBlankPage(folder);

  for (const engine of (process.env.PCA_WEB_ENGINES || d.kEngines.join(',')).split(',')) {
    const browser = await d.launch(engine);
    try {
      await inTurns(engine, url, blankUrl, async u => {
        const p = await browser.open(u, 547, 492, 1);
        await p.page.waitForFunction(() => performance.getEntriesByName('pca-first-picture').length > 0);
        const t = await firstPicture(p.page);
        await p.context.close();
        return t;
      });
      if (engine === 'chromium') {
        // A slower processor: DevTools' CPU throttling, set before the navigation.
        await inTurns('chromium, processor slowed 4 times', url, blankUrl, async u => {
          const context = await browser.raw.newContext({ viewport: { width: 547, height: 492 } });
          const page = await context.newPage();
          const cdp = await context.newCDPSession(page);
          await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
          await page.goto(u);
          await page.waitForFunction(() => performance.getEntriesByName('pca-first-picture').length > 0);
          const t = await firstPicture(page);
          await context.close();
          return t;
        });
      }

      const p = await d.open(browser, url, 1920, 1080);
      const times = await p.page.evaluate(() => {
        const paint = () => Module._pca_repaint(PcaPage.form);  // erase, Rysuj, putImageData
        for (let i = 0; i < 100; ++i) paint();  // warm-up: engines start with a baseline compiler
        const t = [];
        for (let i = 0; i < 200; ++i) {
          const start = performance.now();
          paint();
          t.push(performance.now() - start);
        }
        return t;
      });
      console.log(`${engine}: one paint of the components view at 1920 x 1080: median ${median(times).toFixed(2)} ms ` +
                  `of ${times.length} after 100 warm-up paints`);
      await p.context.close();

      // The reader's elements brought up to date after a key edit: the page's share of the work
      // (parsing the program's description, changing what changed). The descriptions of 200 real
      // key edits are caught, then each edit is made again 10 times back and forth and timed as
      // a whole, since a browser's clock in a page is coarse (0.1 ms to 1 ms).
      const q = await d.open(browser, url, 547, 492);
      await q.page.evaluate(() => {
        const describe = PcaAccess.describe;
        window.__described = [];
        PcaAccess.describe = function (handle, json) {
          __described.push([handle, json]);
          describe.call(PcaAccess, handle, json);
        };
      });
      for (const k of ['Tab', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'ArrowRight']) await q.page.keyboard.press(k);
      for (let i = 0; i < 201; ++i) await q.page.keyboard.press(i % 2 ? 'PageDown' : 'PageUp');
      const updates = await q.page.evaluate(() => {
        const seen = __described.slice(-201), t = [];
        for (let i = 1; i < seen.length; ++i) {
          const start = performance.now();
          for (let r = 0; r < 10; ++r) {
            PcaAccess.describe(seen[i - 1][0], seen[i - 1][1]);
            PcaAccess.describe(seen[i][0], seen[i][1]);
          }
          t.push((performance.now() - start) / 20);
        }
        return t;
      });
      console.log(`${engine}: the reader's elements updated after a key edit: median ${median(updates).toFixed(3)} ms ` +
                  `of ${updates.length} edits`);
      await q.context.close();
    } finally {
      await browser.close();
    }
  }
})();
