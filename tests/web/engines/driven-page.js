// What the tests ask of a page, built on three primitives an engine's driver gives (evaluate,
// pointer actions, key actions), in the shape of playwright's page, which chromium's tests use
// as it is. Engines whose drivers cannot move the pointer outside the viewport get their
// positions clamped to its edge (`outside` is false for them).
'use strict';

class DrivenPage {
  constructor(width, height) {
    this.width = width;
    this.height = height;
    const page = this;
    this.mouse = {
      move: (x, y) => page.pointerMove(page.clampX(x), page.clampY(y)),
      down: (o = {}) => page.pointerButton(true, o.button || 'left'),
      up: (o = {}) => page.pointerButton(false, o.button || 'left'),
      click: async (x, y) => { await page.mouse.move(x, y); await page.mouse.down(); await page.mouse.up(); },
    };
    this.keyboard = { press: combo => page.keys(combo.split('+')) };
  }
  clampX(x) { return Math.min(Math.max(Math.floor(x), 0), this.width - 1); }
  clampY(y) { return Math.min(Math.max(Math.floor(y), 0), this.height - 1); }
  async title() { return this.evaluate(() => document.title); }
  async textContent(selector) { return this.evaluate(s => document.querySelector(s).textContent, selector); }
  locator(selector) {
    return {
      boundingBox: () => this.evaluate(s => {
        const e = document.querySelector(s);
        if (!e || getComputedStyle(e).display === 'none') return null;
        const r = e.getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height };
      }, selector),
    };
  }
  async click(selector) {
    const b = await this.locator(selector).boundingBox();
    if (!b) throw new Error(`nothing to click at ${selector}`);
    await this.mouse.click(b.x + b.width / 2, b.y + b.height / 2);
  }
  waitForTimeout(ms) { return new Promise(resolve => setTimeout(resolve, ms)); }
  async waitForFunction(fn, timeout = 30000) {
    const end = Date.now() + timeout;
    while (!(await this.evaluate(fn))) {
      if (Date.now() > end) throw new Error('timed out waiting for ' + fn);
      await this.waitForTimeout(25);
    }
  }
  // Script errors after the load, collected in the page itself where the driver hears none.
  async listenForErrors() {
    await this.evaluate(() => {
      window.__pcaProblems = [];
      addEventListener('error', e => __pcaProblems.push('script error: ' + e.message));
      addEventListener('unhandledrejection', e => __pcaProblems.push('unhandled: ' + e.reason));
      addEventListener('securitypolicyviolation', e => __pcaProblems.push('blocked by the policy: ' + e.blockedURI));
    });
  }
  async pageProblems() { return this.evaluate(() => window.__pcaProblems || []); }
}

module.exports = { DrivenPage };
