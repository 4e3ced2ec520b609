// The browser version's figures: the page's size (pca.wasm + pca.js, gzipped), the time from
// navigation to the first picture on localhost, and one paint of the components view at
// 1920 x 1080 after a warm-up.
// Usage: node figures.js BUILD_WEB_FOLDER
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const d = require('./page-driver');

function median(values) {
  const v = [...values].sort((a, b) => a - b);
  return v[Math.floor(v.length / 2)];
}

(async () => {
  const folder = path.resolve(process.argv[2] || 'build/web');
  let raw = 0, gzipped = 0;
  for (const name of ['pca.wasm', 'pca.js']) {
    const bytes = fs.readFileSync(path.join(folder, name));
    raw += bytes.length;
    gzipped += zlib.gzipSync(bytes, { level: 9 }).length;
    console.log(`${name}: ${(bytes.length / 1024).toFixed(1)} KB, gzipped ${(zlib.gzipSync(bytes, { level: 9 }).length / 1024).toFixed(1)} KB`);
  }
  console.log(`page size (pca.wasm + pca.js): ${(raw / 1024).toFixed(1)} KB, gzipped ${(gzipped / 1024).toFixed(1)} KB`);

  const server = await d.serve(folder);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await d.launch();
  try {
    // Each load in a fresh context: nothing cached, the wasm compiled anew.
    const firsts = [];
    for (let run = 0; run < 7; ++run) {
      const p = await d.open(browser, url, 547, 492);
      firsts.push(await p.page.evaluate(() => performance.getEntriesByName('pca-first-picture')[0].startTime));
      await p.context.close();
    }
    console.log(`navigation to first picture: median ${median(firsts).toFixed(0)} ms of ${firsts.length} loads ` +
                `(${firsts.map(t => t.toFixed(0)).join(', ')})`);

    const p = await d.open(browser, url, 1920, 1080);
    const times = await p.page.evaluate(() => {
      const paint = () => Module._pca_repaint(PcaPage.form);  // erase, Rysuj, putImageData
      for (let i = 0; i < 100; ++i) paint();  // warm-up: V8 starts with a baseline compiler
      const t = [];
      for (let i = 0; i < 200; ++i) {
        const start = performance.now();
        paint();
        t.push(performance.now() - start);
      }
      return t;
    });
    const shares = await p.page.textContent('#chart-status');
    console.log(`one paint of the components view at 1920 x 1080: median ${median(times).toFixed(2)} ms ` +
                `of ${times.length} after 100 warm-up paints (${shares.trim()})`);
    await p.context.close();
  } finally {
    await browser.close();
    server.close();
  }
})();
