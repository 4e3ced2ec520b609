// WebKitGTK's MiniBrowser through Debian's WebKitWebDriver (classic W3C WebDriver over HTTP),
// on the X display in DISPLAY. A session is a fresh browser. The driver cannot set the device
// pixel ratio (ratio 1 only) nor move the pointer outside the viewport, and of its buttons only
// the left one works: after a press of the middle or right one the page hears no release and no
// other press (real X presses of those buttons reach the page as they should).
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const net = require('net');
const { DrivenPage } = require('./driven-page');

const kButtons = { left: 0, middle: 1, right: 2 };
const kKeys = { Alt: '\uE00A', Shift: '\uE008', Control: '\uE009', Tab: '\uE004', Enter: '\uE007',
                Escape: '\uE00C', Space: ' ', PageUp: '\uE00E', PageDown: '\uE00F', ArrowLeft: '\uE012',
                ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', F1: '\uE031', Home: '\uE011', End: '\uE010', Backspace: '\uE003' };

// Debian's MiniBrowser lies in the machine's multiarch library folder.
function miniBrowser() {
  if (process.env.PCA_MINIBROWSER) return process.env.PCA_MINIBROWSER;
  for (const folder of fs.readdirSync('/usr/lib')) {
    const file = `/usr/lib/${folder}/webkit2gtk-4.1/MiniBrowser`;
    if (fs.existsSync(file)) return file;
  }
  throw new Error('no WebKitGTK MiniBrowser in /usr/lib/*/webkit2gtk-4.1/');
}

function freePort() {
  return new Promise(resolve => {
    const s = net.createServer().listen(0, '127.0.0.1', () => { const p = s.address().port; s.close(() => resolve(p)); });
  });
}

// A browser that died (its display gone, a crash) leaves the driver's answer pending for ever:
// every request fails after this long instead.
const kAnswerTimeout = 60000;

class WebKitPage extends DrivenPage {
  constructor(base, id, width, height) {
    super(width, height);
    this.url = `${base}/session/${id}`;
  }
  async command(method, path, body) {
    const response = await fetch(this.url + path, {
      method, headers: { 'Content-Type': 'application/json' }, body: body === undefined ? undefined : JSON.stringify(body),
      signal: AbortSignal.timeout(kAnswerTimeout),
    }).catch(e => { throw new Error(`WebDriver ${path}: no answer (${e.message})`); });
    const reply = await response.json();
    if (reply.value && reply.value.error) throw new Error(`WebDriver ${path}: ${reply.value.error}: ${reply.value.message}`);
    return reply.value;
  }
  async evaluate(fn, arg) {
    const script = `const done = arguments[1];
      Promise.resolve().then(() => (${fn})(arguments[0]))
        .then(v => done({ value: v === undefined ? null : v }), e => done({ error: String(e && e.stack || e) }));`;
    const r = await this.command('POST', '/execute/async', { script, args: [arg === undefined ? null : arg] });
    if (r.error) throw new Error('in the page: ' + r.error);
    return r.value;
  }
  pointer(actions) {
    return this.command('POST', '/actions', { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
  }
  pointerMove(x, y) { return this.pointer([{ type: 'pointerMove', duration: 0, origin: 'viewport', x, y }]); }
  pointerButton(down, button) { return this.pointer([{ type: down ? 'pointerDown' : 'pointerUp', button: kButtons[button] }]); }
  keys(names) {
    const values = names.map(n => kKeys[n] || n);
    const actions = [...values.map(value => ({ type: 'keyDown', value })), ...values.reverse().map(value => ({ type: 'keyUp', value }))];
    return this.command('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
  }
  async screenshot() { return Buffer.from(await this.command('GET', '/screenshot'), 'base64'); }
  // The window's outer size is set; the viewport follows a moment later, a frame smaller. The
  // browser's window has a least width (its toolbar's): below it the viewport stays wider.
  async setViewportSize({ width, height }) {
    const inner = () => this.evaluate(() => [innerWidth, innerHeight]);
    let now = await inner();
    // A second try only where neither side came right (the frame was not yet known).
    for (let attempt = 0; attempt < 2 && (attempt === 0 ? now[0] !== width || now[1] !== height : now[0] !== width && now[1] !== height); ++attempt) {
      const outer = await this.command('GET', '/window/rect');
      await this.command('POST', '/window/rect', { width: outer.width + width - now[0], height: outer.height + height - now[1] });
      const started = Date.now();
      let last = now, steady = Date.now();
      for (;;) {
        await this.waitForTimeout(20);
        now = await inner();
        if (now[0] === width && now[1] === height) break;
        if (now[0] !== last[0] || now[1] !== last[1]) { last = now; steady = Date.now(); }
        if (Date.now() - started > 2000 || (Date.now() - started > 250 && Date.now() - steady > 150)) break;
      }
    }
    [this.width, this.height] = now;
  }
}

async function launch() {
  const port = await freePort();
  const driver = spawn(process.env.PCA_WEBKITDRIVER || '/usr/bin/WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  for (let i = 0; ; ++i) {
    try { if ((await (await fetch(base + '/status')).json()).value.ready) break; } catch (e) { /* not yet up */ }
    if (i > 200) throw new Error('WebKitWebDriver did not start');
    await new Promise(r => setTimeout(r, 50));
  }
  return {
    name: 'webkit', ratios: [1], outside: false, buttons: ['left'],
    async open(url, width, height, ratio) {
      if (ratio !== 1) throw new Error('WebKitWebDriver sets no device pixel ratio');
      const response = await fetch(base + '/session', {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, signal: AbortSignal.timeout(kAnswerTimeout),
        body: JSON.stringify({ capabilities: { alwaysMatch: {
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {
            binary: miniBrowser(),
            args: ['--automation'],
          },
        } } }),
      }).catch(e => { throw new Error(`no WebKit session: no answer from WebKitWebDriver (${e.message})`); });
      const reply = (await response.json()).value;
      if (!reply.sessionId) throw new Error('no WebKit session: ' + JSON.stringify(reply));
      const page = new WebKitPage(base, reply.sessionId, width, height);
      await page.command('POST', '/url', { url: 'about:blank' });
      await page.setViewportSize({ width, height });
      await page.command('POST', '/url', { url });
      const context = { close: () => page.command('DELETE', '') };
      return { context, page, problems: [], problemList: () => page.pageProblems() };
    },
    close: async () => { driver.kill(); },
  };
}

module.exports = { launch };
