// Chromium through playwright-core, with Debian's /usr/bin/chromium: any device pixel ratio,
// the pointer anywhere, even outside the viewport.
'use strict';
const { chromium } = require('playwright-core');

async function launch() {
  const browser = await chromium.launch({
    executablePath: process.env.PCA_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {
    name: 'chromium', ratios: [1, 1.5, 2], outside: true, raw: browser,
    async open(url, width, height, ratio) {
      const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: ratio });
      const page = await context.newPage();
      const problems = [];
      page.on('pageerror', e => problems.push('script error: ' + e.message));
      page.on('console', m => {
        if (m.type() === 'error' && !/favicon|Failed to load resource/.test(m.text())) problems.push('console: ' + m.text());
      });
      await page.goto(url);
      return { context, page, problems, problemList: async () => problems };
    },
    close: () => browser.close(),
  };
}

module.exports = { launch };
