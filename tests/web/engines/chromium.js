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
    // `before`: a function run in the page before its own scripts (chromium's own).
    async open(url, width, height, ratio, before) {
      const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: ratio });
      if (before) await context.addInitScript(before);
      const page = await context.newPage();
      const problems = [];
      page.on('pageerror', e => problems.push('script error: ' + e.message));
      page.on('console', m => {
        if (m.type() === 'error' && !/favicon|Failed to load resource/.test(m.text())) problems.push('console: ' + m.text());
      });
      await page.goto(url);
      return { context, page, problems, problemList: async () => problems };
    },
    // A phone: touch, a mobile viewport at ratio 3. A finger's press, move and release go
    // through the DevTools protocol, which playwright's touchscreen (a tap only) does not offer.
    touch: true,
    async openPhone(url, width, height) {
      const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
      const page = await context.newPage();
      const problems = [];
      page.on('pageerror', e => problems.push('script error: ' + e.message));
      await page.goto(url);
      const cdp = await context.newCDPSession(page);
      const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
      const touchDrag = async (x, y, rx, ry) => {
        await touch('touchStart', x, y);
        await touch('touchMove', rx, ry);
        await touch('touchEnd');
      };
      return { context, page, problems, problemList: async () => problems, touchDrag, ratio: 3 };
    },
    close: () => browser.close(),
  };
}

module.exports = { launch };
