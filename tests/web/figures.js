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
    } finally {
      await browser.close();
    }
  }
})();
