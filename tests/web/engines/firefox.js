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
    await setViewport(this.raw, { width, height, deviceScaleFactor: this.ratio });
    this.width = width;
    this.height = height;
  }
}

// puppeteer's setViewport also overrides the screen's orientation, a command Firefox knows from
// version 144 on; ESR 140 answers "unknown command", and puppeteer rejects before the viewport's
// own command has been answered. The page does not read the orientation: there the viewport is
// awaited until the page has its size and ratio.
async function setViewport(raw, viewport) {
  try {
    await raw.setViewport(viewport);
  } catch (e) {
    if (!/setScreenOrientationOverride/.test(e.message) || !/unknown command/.test(e.message)) throw e;
    // Polled with evaluate: puppeteer's waitForFunction builds its poller with eval, which the
    // page's policy forbids.
    const { width, height, deviceScaleFactor } = viewport;
    const taken = () => raw.evaluate((w, h, r) => innerWidth === w && innerHeight === h && devicePixelRatio === r,
                                     width, height, deviceScaleFactor);
    const end = Date.now() + 10000;
    while (!(await taken())) {
      if (Date.now() > end) throw new Error(`Firefox did not take the viewport ${width}x${height} at ratio ${deviceScaleFactor}`);
      await new Promise(resolve => setTimeout(resolve, 25));
    }
  }
}

async function launch() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.PCA_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
  });
  console.log(`firefox: ${await browser.version()}`);
  return {
    name: 'firefox', ratios: [1, 2], outside: false,
    async open(url, width, height, ratio) {
      const context = await browser.createBrowserContext();
      const raw = await context.newPage();
      await setViewport(raw, { width, height, deviceScaleFactor: ratio });
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
      await setViewport(raw, { width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
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
