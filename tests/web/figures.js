// The browser version's figures: the page's size (pca.html, gzipped), the time from navigation to
// the first picture with the page opened from the disk, and one paint of the components view at
// 1920 x 1080 after a warm-up, in each engine (PCA_WEB_ENGINES names fewer).
// Usage: node figures.js BUILD_WEB_FOLDER
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { pathToFileURL } = require('url');
const d = require('./page-driver');

function median(values) {
  const v = [...values].sort((a, b) => a - b);
  return v[Math.floor(v.length / 2)];
}

(async () => {
  const folder = path.resolve(process.argv[2] || 'build/web');
  const page = fs.readFileSync(path.join(folder, 'pca.html'));
  const gzipped = zlib.gzipSync(page, { level: 9 }).length;
  console.log(`page size (pca.html): ${(page.length / 1024).toFixed(1)} KB, gzipped ${(gzipped / 1024).toFixed(1)} KB`);
  const url = pathToFileURL(path.join(folder, 'pca.html')).href;

  for (const engine of (process.env.PCA_WEB_ENGINES || d.kEngines.join(',')).split(',')) {
    const browser = await d.launch(engine);
    try {
      // Each load in a fresh context: nothing cached, the wasm compiled anew.
      const firsts = [];
      for (let run = 0; run < 7; ++run) {
        const p = await d.open(browser, url, 547, 492);
        firsts.push(await p.page.evaluate(() => performance.getEntriesByName('pca-first-picture')[0].startTime));
        await p.context.close();
      }
      console.log(`${engine}: navigation to first picture from file://: median ${median(firsts).toFixed(0)} ms of ` +
                  `${firsts.length} loads (${firsts.map(t => t.toFixed(0)).join(', ')})`);

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
