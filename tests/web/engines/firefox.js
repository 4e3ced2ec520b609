// Debian's Firefox ESR through puppeteer-core over WebDriver BiDi.
'use strict';
const puppeteer = require('puppeteer-core');
const { DrivenPage } = require('./driven-page');

class FirefoxPage extends DrivenPage {
  constructor(raw, width, height, ratio) {
    super(width, height);
    this.raw = raw;
    this.ratio = ratio;
  }
  evaluate(fn, arg) { return this.raw.evaluate(fn, arg); }
  pointerMove(x, y) { return this.raw.mouse.move(x, y); }
  pointerButton(down, button) { return down ? this.raw.mouse.down({ button }) : this.raw.mouse.up({ button }); }
  async keys(names) {
    const key = names.pop().replace(/^Space$/, ' ');  // BiDi's name for it
    for (const m of names) await this.raw.keyboard.down(m);
    await this.raw.keyboard.press(key);
    for (const m of names.reverse()) await this.raw.keyboard.up(m);
  }
  async screenshot() { return Buffer.from(await this.raw.screenshot()); }
  async setViewportSize({ width, height }) {
    await this.raw.setViewport({ width, height, deviceScaleFactor: this.ratio });
    this.width = width;
    this.height = height;
  }
}

async function launch() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.PCA_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
  });
  return {
    name: 'firefox', ratios: [1, 2], outside: false,
    async open(url, width, height, ratio) {
      const context = await browser.createBrowserContext();
      const raw = await context.newPage();
      await raw.setViewport({ width, height, deviceScaleFactor: ratio });
      const problems = [];
      raw.on('pageerror', e => problems.push('script error: ' + e.message));
      raw.on('console', m => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
      await raw.goto(url);
      const page = new FirefoxPage(raw, width, height, ratio);
      return { context, page, problems, problemList: async () => problems };
    },
    // A phone: a touch viewport at ratio 3, a finger's press, move and release.
    touch: true,
    async openPhone(url, width, height) {
      const context = await browser.createBrowserContext();
      const raw = await context.newPage();
      await raw.setViewport({ width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
      const problems = [];
      raw.on('pageerror', e => problems.push('script error: ' + e.message));
      await raw.goto(url);
      const touchDrag = async (x, y, rx, ry) => {
        await raw.touchscreen.touchStart(x, y);
        await raw.touchscreen.touchMove(rx, ry);
        await raw.touchscreen.touchEnd();
      };
      return { context, page: new FirefoxPage(raw, width, height, 3), problems, problemList: async () => problems, touchDrag };
    },
    close: () => browser.close(),
  };
}

module.exports = { launch };
