// The browser version's tests: the first picture's pixels by the rules scripts/e2e.sh checks on
// the desktop (at device pixel ratios 1 and 2), an edit on strip 3 and the button, the pointer
// capture and the access key, the keyboard, the reader's tree and a finger (access-tests.js), the
// all-zero table's one error box, axe-core's accessibility rules on both views and the box (in
// chromium), and a seeded storm of random pointer presses, releases, resizes and clicks.
// In chromium, firefox-esr and WebKitGTK (PCA_WEB_ENGINES names fewer, comma-separated), the page
// opened from the disk.
// Usage: node run-tests.js BUILD_WEB_FOLDER
// PCA_WEB_STORM_SEED and PCA_WEB_STORM_EVENTS choose the storm; a failure names the seed and the
// event. PCA_WEB_ONLY runs one part (first, desktop, keys, help, undo, table, tree, touch, zero, axe or storm);
// PCA_PICTURE_DUMP names the desktop's picture_dump, whose pictures the browser's are compared
// with; PCA_WEB_SHOTS names a folder for a picture of the error box.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { pathToFileURL } = require('url');
const d = require('./page-driver');
const { axeRun, describe } = require('./axe-rules');
const access = require('./access-tests');
const help = require('./help-tests');
const undo = require('./undo-tests');
const table = require('./table-tests');

let passed = 0, failed = 0, engine = '';
function check(what, ok, detail) {
  if (ok) { passed++; console.log(`ok: [${engine}] ${what}`); }
  else { failed++; console.log(`FAILED: [${engine}] ${what} (${detail})`); }
}
async function expect(what, s, x, y, colour) {
  const got = await s.pixel(x, y);
  check(what, got === colour, `(${x},${y}) is ${got}, not ${colour}`);
}
async function expectNot(what, s, x, y, colour) {
  const got = await s.pixel(x, y);
  check(what, got !== colour, `(${x},${y}) is still ${colour}`);
}
async function noProblems(what, p) {
  const problems = await p.problemList();
  check(what + ': no script errors', problems.length === 0, problems.join('; '));
}

const kMessages = ['Range check error.', 'Integer overflow.', 'Floating point division by zero.',
                   'Invalid floating point operation.', 'Floating point overflow.'];

// The rows of the two score strips of a picture, as bytes.
function scoreRows(bytes, width, l, ratio) {
  return bytes.subarray((10 * l.row + 19) * ratio * width * 4, (12 * l.row + 21) * ratio * width * 4);
}

// The e2e steps of the desktop: the first picture, a press on strip 3 at observation 5 released
// higher up, a click of the button; the window's pixels checked after each step.
async function firstPictureAndEdit(browser, url, ratio) {
  const width = 547, height = 492, r = ratio, tag = ` (ratio ${ratio})`;
  const p = await d.open(browser, url, width, height, ratio);
  const l = d.layout(width, height);
  const x5 = l.x(5), strip3Top = l.stripTop(3);
  const pressY = strip3Top + l.row - 4, releaseY = strip3Top + 3;

  const s1 = await d.screen(p);
  check('the screen has the device pixels of the viewport' + tag, s1.width === width * r && s1.height === height * r, `${s1.width}x${s1.height}`);
  const face = await s1.pixel(0, (height - 1) * r);
  check('the window colour is the light button face' + tag, face === 'EFEFEF', face);
  await expect('components view at start: the loading axis' + tag, s1, l.axis * r, 10 * r, '808080');
  await expect('every device pixel of a logical pixel' + tag, s1, l.axis * r + r - 1, 10 * r + r - 1, '808080');
  // The screen shows the picture's device pixels as they are: nothing scaled or blended, at any
  // ratio (the label lies over the top-left corner).
  const own = await d.pictureBytes(p), canvas = await d.picture(p);
  let unlike = 0;
  for (let y = 0; y < canvas.height; ++y)
    for (let x = 0; x < canvas.width; ++x) {
      if (x < 121 * r && y < 16 * r) continue;
      const i = (y * canvas.width + x) * 4, j = (y * s1.width + x) * 4;
      if (own[i] !== s1.data[j] || own[i + 1] !== s1.data[j + 1] || own[i + 2] !== s1.data[j + 2]) ++unlike;
    }
  check('the screen shows the picture pixel for pixel' + tag, unlike === 0, `${unlike} pixels differ`);
  // The page allows only its own inline scripts and styles and its own WebAssembly: nothing from
  // any origin. A violation would show as a console error or a script error below.
  const policy = await p.page.evaluate(() => {
    const m = document.querySelector('meta[http-equiv="Content-Security-Policy"]');
    return m ? m.content : '';
  });
  check('the page loads nothing from elsewhere, by its policy' + tag,
        /^default-src 'none'; script-src ('sha256-[^']+' )+'wasm-unsafe-eval'; style-src 'sha256-[^']+'; base-uri 'none'$/.test(policy),
        policy);
  const title = await p.page.title();
  check('the document title is the caption' + tag, title === 'Analiza Składowych Głównych', title);
  const status = await p.page.textContent('#chart-status');
  check('the live region has said nothing: nothing has changed' + tag, status === '', status);
  const aria = await p.page.evaluate(() => {
    const c = document.getElementById('Ramka-chart'), about = c && document.getElementById(c.getAttribute('aria-describedby'));
    return c && [c.getAttribute('role'), c.getAttribute('aria-label'), about ? about.textContent : null];
  });
  check('the chart has a role, the components view\'s name and the shares as its description' + tag,
        !!aria && aria[0] === 'group' && aria[1] === 'Wykres składowych głównych' &&
        d.startDescription(aria[2]), JSON.stringify(aria));
  const before = await d.pictureBytes(p);

  // Released in the lower half of the release row's pixel (a device pixel of its own at ratio 2):
  // positions are floored to logical pixels, so that is still the release row.
  await d.drag(p.page, x5, pressY, x5, releaseY + 0.5);
  const s2 = await d.screen(p);
  await expect('the release wiped the components' + tag, s2, l.axis * r, 10 * r, face);
  const markY = releaseY - (l.row % 2 === 0 ? 1 : 0);
  await expect('the point moved up to the release' + tag, s2, (x5 - l.m) * r, markY * r, 'FF0000');
  await expectNot('the button is shown' + tag, s2, 30 * r, l.buttonY * r, face);
  const said = await p.page.textContent('#chart-status');
  check('the live region says the data view, the shares wiped' + tag, said === 'Wykres danych', said);

  await p.page.mouse.click(104, l.buttonY);
  const s3 = await d.screen(p);
  await expect('the button brought the components back' + tag, s3, l.axis * r, 10 * r, '808080');
  await expect('the button is hidden again' + tag, s3, 30 * r, l.buttonY * r, face);
  await expect('the edited point stays' + tag, s3, (x5 - l.m) * r, markY * r, 'FF0000');
  const after = await d.pictureBytes(p);
  check('the scores were recomputed' + tag,
        !scoreRows(before, width * r, l, r).equals(scoreRows(after, width * r, l, r)), 'same pixels');

  // Pointer capture: a press on strip 1 released over the label, which lies on the picture,
  // still reaches the paint box; so does one released beyond the page's bottom edge.
  await d.drag(p.page, l.x(2), l.stripTop(1) + l.row - 3, 60, 5);
  check('a release over the label reaches the paint box' + tag, await d.buttonShown(p.page), 'no data view');
  const s4 = await d.picture(p);
  // A release above the strip counts as 2 pixels below its first inner row.
  await expect('the released point went to the top of strip 1' + tag, s4, (l.x(2) - l.m) * r,
               (l.stripTop(1) + 3 - (l.row % 2 === 0 ? 1 : 0)) * r, 'FF0000');
  // The access key O brings the components view, as the button does.
  await p.page.keyboard.press('Alt+o');
  await p.page.keyboard.press('Alt+o');  // a second time the button is hidden: nothing happens
  check('the access key O clicks the button' + tag, !(await d.buttonShown(p.page)), 'the button is still shown');
  if (browser.outside) {
    await d.drag(p.page, l.x(7), l.stripTop(2) + 3, l.x(7), height + 50);
    check('a release below the page reaches the paint box' + tag, await d.buttonShown(p.page), 'no data view');
  } else console.log(`skipped in ${browser.name}: a release below the page (its driver keeps the pointer inside)`);
  await noProblems('first picture and edit' + tag, p);
  await p.context.close();
}

// The browser's first picture against the desktop's (tests/PictureDump.cpp, on Qt's offscreen
// platform at the same scale): every device pixel the same, but for the two shares' texts, which
// each platform's text engine draws.
async function sameAsDesktop(browser, url, dumpTool, ratio) {
  const width = 547, height = 492, tag = ` (ratio ${ratio})`;
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'pca-web-')), 'desktop.rgb');
  const size = execFileSync(dumpTool, [String(width), String(height), file],
                            { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', QT_SCALE_FACTOR: String(ratio) },
                              stdio: ['ignore', 'pipe', 'ignore'] }).toString().trim().split(' ').map(Number);
  const desktop = fs.readFileSync(file);
  const p = await d.open(browser, url, width, height, ratio);
  // With a cell chosen by the keys: its ring lies over the picture, never in it.
  await p.page.keyboard.press('Tab');
  await p.page.keyboard.press('ArrowDown');
  const web = await d.pictureBytes(p);
  const pic = await d.picture(p);
  check('the browser picture has the desktop picture\'s device size' + tag,
        pic.width === size[0] && pic.height === size[1], `${pic.width}x${pic.height} and ${size.join('x')}`);
  const l = d.layout(width, height);
  const texts = [1, 2].map(c => ({ x: l.chartWidth + c * l.column - 10, y: (9 + c) * l.row + 19 }));
  const inText = (x, y) => texts.some(t => x >= t.x - 1 && x < t.x + 40 && y >= t.y - 1 && y < t.y + 20);
  let unlike = 0, compared = 0;
  for (let y = 0; y < size[1]; ++y)
    for (let x = 0; x < size[0]; ++x) {
      if (inText(Math.floor(x / ratio), Math.floor(y / ratio))) continue;
      const i = (y * size[0] + x) * 3, j = (y * size[0] + x) * 4;
      ++compared;
      if (desktop[i] !== web[j] || desktop[i + 1] !== web[j + 1] || desktop[i + 2] !== web[j + 2]) ++unlike;
    }
  check('every rectangle, line and hatch pixel is the desktop\'s' + tag, unlike === 0 && compared > 0.98 * size[0] * size[1],
        `${unlike} of ${compared} pixels differ`);
  await noProblems('same as the desktop' + tag, p);
  await p.context.close();
}

// Sets every cell of the table with pointer edits: cell (i, k) gets `offset(i, k)` pixels below
// the first inner row of its strip (its value is (RowHeight div 2 - offset) / RowHeight). The
// presses lie 10 pixels into the strip, below the label that covers the top of strip 1.
async function setEveryCell(page, l, offset) {
  for (let k = 1; k <= 10; ++k)
    for (let i = 1; i <= 20; ++i)
      await d.drag(page, l.x(i), l.stripTop(k) + 10, l.x(i), (k - 1) * l.row + 10 + offset(i, k));
}

async function allZeroTable(browser, url) {
  const width = 547, height = 492;
  const p = await d.open(browser, url, width, height);
  const l = d.layout(width, height);
  await setEveryCell(p.page, l, () => Math.trunc(l.row / 2));  // every value 0
  check('the edits leave the data view', await d.buttonShown(p.page), 'components view');
  check('no box while editing', (await d.openBoxes(p.page)).length === 0, 'a box');
  const zero = await d.picture(p);  // every strip a red line along its zero line
  for (let k = 1; k <= 10; ++k) {
    const mid = Math.trunc((2 * l.stripTop(k) + 1 + l.row) / 2);
    await expect(`strip ${k} lies on its zero line`, zero, Math.trunc((l.x(10) + l.x(11)) / 2), mid, 'FF0000');
  }
  await p.page.mouse.click(104, l.buttonY);
  let boxes = await d.openBoxes(p.page);
  check('the all-zero table shows one box', boxes.length === 1, JSON.stringify(boxes));
  const box = boxes[0] || {};
  check('its message has its full stop', box.message === 'Floating point division by zero.', box.message);
  check('its caption is the program file name by the title rule', box.caption === 'pca', box.caption);
  check('it has a stop icon, one OK button, and is modal', box.icon && box.modal && JSON.stringify(box.buttons) === '["OK"]', JSON.stringify(box));
  if (process.env.PCA_WEB_SHOTS) await p.page.screenshot({ path: path.join(process.env.PCA_WEB_SHOTS, 'error-box.png') });
  const said = await p.page.textContent('#chart-status');
  check('the live region says the components view, without shares', said === 'Wykres składowych głównych', said);
  const pic = await d.picture(p);
  await expect('the ten strips stayed', pic, 10, 20, '808080');
  await expect('nothing after the failure was drawn', pic, l.axis, 10, 'EFEFEF');
  await p.page.setViewportSize({ width: 600, height: 500 });
  await p.page.setViewportSize({ width, height });
  boxes = await d.openBoxes(p.page);
  check('repaints do not stack more boxes', boxes.length === 1, JSON.stringify(boxes));
  await p.page.click('#pca-error button');
  await d.until(p.page, () => !document.querySelector('dialog[open]'));
  check('OK closes the one box', (await d.openBoxes(p.page)).length === 0, 'still open');
  await d.drag(p.page, l.x(1), 20, l.x(1), 20);  // below the label
  check('the data view is reachable after the box', await d.buttonShown(p.page), 'no data view');
  check('and the live region says so', (await p.page.textContent('#chart-status')) === 'Wykres danych', 'not the data view');
  check('and raises no box', (await d.openBoxes(p.page)).length === 0, 'a box');
  await p.page.mouse.click(104, l.buttonY);
  check('asking again is a new failure with its one box', (await d.openBoxes(p.page)).length === 1, 'not one box');
  await p.page.click('#pca-error button');

  // With the keyboard alone: from the chart, Alt+O fails with a box whose OK has the focus;
  // Enter, Escape and Space each close it, and the focus goes back to the chart.
  for (const closer of ['Enter', 'Escape', 'Space']) {
    await d.drag(p.page, l.x(1), 20, l.x(1), 20);  // the data view again
    for (let i = 0; i < 3 && await access.focusOf(p.page) !== 'chart' && !/^Zmienna/.test(await access.focusOf(p.page)); ++i)
      await p.page.keyboard.press('Tab');
    const before = await access.focusOf(p.page);
    await p.page.keyboard.press('Alt+o');
    const onOk = await p.page.evaluate(() => document.activeElement.closest('#pca-error') !== null && document.activeElement.textContent);
    check(`from the chart (${before}), Alt+O: one box, OK has the focus`,
          (await d.openBoxes(p.page)).length === 1 && onOk === 'OK', `focus on ${onOk}`);
    await p.page.keyboard.press(closer);
    // The focus goes back when the box's close event has run.
    await d.until(p.page, () => !document.querySelector('dialog[open]') && document.activeElement !== document.body &&
                                !document.activeElement.closest('#pca-error'));
    check(`${closer} closes it and the focus goes back to the chart`,
          (await d.openBoxes(p.page)).length === 0 && await access.focusOf(p.page) === before,
          `boxes ${(await d.openBoxes(p.page)).length}, focus on ${await access.focusOf(p.page)}`);
  }
  await noProblems('all-zero table', p);
  await p.context.close();
}

// axe-core's rules on every state a user meets: the components view at start and with a point
// chosen by the keys, the data view after a mouse edit, the help, and the all-zero table's error box.
async function accessibilityRules(browser, url) {
  const width = 547, height = 492;
  const p = await d.open(browser, url, width, height);
  const l = d.layout(width, height);
  const rules = async what => {
    const { violations, applied } = await axeRun(p.page);
    check(`axe: no violation in ${what} (${applied} rules applied)`, violations.length === 0 && applied > 10,
          violations.length ? describe(violations) : `${applied} rules applied`);
  };
  await rules('the components view');
  await p.page.keyboard.press('Tab');
  await p.page.keyboard.press('ArrowDown');
  const chosen = await p.page.evaluate(() => document.activeElement.getAttribute('role'));
  check('axe: the keys chose a point', chosen === 'slider', `the focus is on ${chosen}`);
  await rules('the components view with a chosen point');
  await d.drag(p.page, l.x(5), l.stripTop(3) + l.row - 4, l.x(5), l.stripTop(3) + 3);
  check('axe: the edit left the data view', await d.buttonShown(p.page), 'components view');
  await rules('the data view');
  await p.page.keyboard.press('?');
  check('axe: "?" opened the help', await p.page.evaluate(() => document.getElementById('pca-help').open), 'closed');
  await rules('the help');
  await p.page.keyboard.press('Escape');
  await setEveryCell(p.page, l, () => Math.trunc(l.row / 2));
  await p.page.mouse.click(104, l.buttonY);
  check('axe: the all-zero table shows its box', (await d.openBoxes(p.page)).length === 1, 'no box');
  await rules('the error box');
  await noProblems('axe', p);
  await p.context.close();
}

// The keys of the storm: the focus moves, the chosen cell moves, its value is edited.
const kStormKeys = ['Tab', 'Shift+Tab', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp', 'PageDown',
                    'Shift+ArrowUp', 'Shift+ArrowDown'];

// The chart's elements as a reader and a finger find them: roles, names, values, boxes, the
// status. Which cell is chosen is left out: a fresh page has chosen none.
function readerView(page) {
  return page.evaluate(() => {
    const chart = document.getElementById('Ramka-chart');
    const walk = e => [e.getAttribute('role'), e.getAttribute('aria-label'), e.getAttribute('aria-valuetext'),
                       e.getAttribute('aria-valuenow'), e.getAttribute('aria-valuemin'), e.getAttribute('aria-valuemax'),
                       e.style.left, e.style.top, e.style.width, e.style.height,
                       e.children.length ? [...e.children].map(walk) : e.textContent];
    return JSON.stringify([walk(chart), document.getElementById(chart.getAttribute('aria-describedby')).textContent,
                           document.getElementById('chart-status').textContent]);
  });
}

// A seeded generator, so that a failing storm can be run again.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6D2B79F5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return { next, int: (lo, hi) => lo + Math.floor(next() * (hi - lo + 1)), chance: q => next() < q };
}

async function storm(browser, url) {
  const seed = Number(process.env.PCA_WEB_STORM_SEED || 20240607);
  // Each event is a few round trips to the browser; the WebDriver engines' are slower.
  const wanted = Number(process.env.PCA_WEB_STORM_EVENTS || (browser.name === 'chromium' ? 2000 : 500));
  const g = generator(seed);
  const p = await d.open(browser, url, 547, 492);
  let width = 547, height = 492;
  const counts = {};
  const count = what => { counts[what] = (counts[what] || 0) + 1; };
  const buttons = browser.buttons || ['left', 'right', 'middle'];
  const held = new Set();
  const coordinate = size => {
    const kind = g.int(0, 99);
    if (kind < 75) return g.int(0, Math.max(0, size - 1));
    if (kind < 85) return g.int(-1, 1) + (g.chance(0.5) ? 0 : size);
    return g.chance(0.5) ? size + g.int(0, 300) : g.int(-300, -1);
  };
  let ok = true, state = { boxes: [] };
  for (let event = 1; event <= wanted && ok; ++event) {
    const kind = g.int(0, 999);
    const started = Date.now();
    let what;
    if (state.boxes.length > 0 && kind < 500) {
      what = 'OK of the box';
      await p.page.click('#pca-error button');
    } else if (kind < 340) {
      const b = buttons[g.int(0, buttons.length - 1)];
      const x = coordinate(width), y = coordinate(height);
      what = `press ${b} at ${x},${y}`;
      await p.page.mouse.move(x, y);
      await p.page.mouse.down({ button: b });
      held.add(b);
    } else if (kind < 680) {
      const b = held.size && g.chance(0.8) ? [...held][g.int(0, held.size - 1)] : buttons[g.int(0, buttons.length - 1)];
      const x = coordinate(width), y = coordinate(height);
      what = `release ${b} at ${x},${y}`;
      await p.page.mouse.move(x, y);
      await p.page.mouse.up({ button: b });
      held.delete(b);
    } else if (kind < 770) {
      what = 'resize';
      // Now and then tiny: headless chromium takes up to a second for each input event at some
      // viewports below about 40 pixels, so these are rarer than in the desktop's storm.
      const tiny = g.chance(0.05);
      width = tiny ? g.int(1, 40) : g.int(41, 900);
      height = tiny ? g.int(1, 40) : g.int(41, 700);
      await p.page.setViewportSize({ width, height });
    } else if (kind < 850) {
      what = 'click of the button';
      const b = await p.page.locator('#Kl_A').boundingBox();
      if (!b) { what = 'no button to click'; }
      else await p.page.mouse.click(b.x + b.width / 2, b.y + b.height / 2);
    } else if (kind < 900) {
      what = 'access key';
      await p.page.keyboard.press('Alt+o');
    } else {
      const key = kStormKeys[g.int(0, kStormKeys.length - 1)];
      what = `key ${key}`;
      await p.page.keyboard.press(key);
    }
    count(what.split(' ')[0]);
    state = await d.pageState(p.page);
    const { boxes, shown } = state;
    if (boxes.length > 0) count('with a box open');
    if (shown) count('in the data view');
    if (process.env.PCA_WEB_TRACE) console.log(event, what, width, height, shown ? 'data view' : 'components view', [...held].join(','), Date.now() - started, 'ms');
    const problems = [...p.problems, ...state.problems];
    const sane = boxes.length <= 1 && boxes.every(b => kMessages.includes(b.message) && b.caption === 'pca') &&
                 problems.length === 0;
    if (!sane) {
      check(`storm seed ${seed}: event ${event} (${what}) leaves a sound page`, false,
            JSON.stringify(boxes) + ' ' + problems.join('; '));
      ok = false;
    }
  }
  for (const b of held) await p.page.mouse.up({ button: b });
  console.log(`storm of ${wanted} events, seed ${seed}: ` + Object.entries(counts).map(([k, v]) => `${k} ${v}`).join('; '));
  check(`storm seed ${seed}: every event left a sound page`, ok, 'see above');
  // The storm reached both views.
  if (wanted >= 300)
    check('the storm reached both views', counts['in the data view'] > 0 && counts['in the data view'] < wanted,
          `${counts['in the data view'] || 0} events in the data view`);

  // After the storm the page paints the components view of a table exactly as a fresh page does:
  // both get the same table by the same edits, at the same size.
  if ((await d.openBoxes(p.page)).length > 0) await p.page.click('#pca-error button');
  await p.page.setViewportSize({ width: 547, height: 492 });
  const l = d.layout(547, 492);
  const pattern = (i, k) => 1 + (i * 7 + k * 13) % (l.row - 4);
  // One page at a time: WebKit's driver has one session.
  const pictures = [];
  for (const fresh of [false, true]) {
    const q = fresh ? await d.open(browser, url, 547, 492) : p;
    await setEveryCell(q.page, l, pattern);
    await q.page.mouse.click(104, l.buttonY);
    check('the components view is shown', !(await d.buttonShown(q.page)) && (await d.openBoxes(q.page)).length === 0, 'data view or a box');
    pictures.push({ bytes: await d.pictureBytes(q), status: await q.page.textContent('#chart-status'),
                    reader: await readerView(q.page),
                    state: await q.page.evaluate(() => {
                      const c = document.getElementById('Ramka'), b = document.getElementById('Kl_A');
                      return `viewport ${innerWidth}x${innerHeight}, canvas ${c.width}x${c.height}, button top ${b.style.top}`;
                    }) });
    await noProblems(fresh ? 'a fresh page' : 'storm', q);
    await q.context.close();
  }
  check('after the storm the page is alive and paints the components view exactly',
        pictures[0].bytes.length === 547 * 492 * 4 && pictures[0].bytes.equals(pictures[1].bytes),
        `pictures differ: ${pictures[0].state} / ${pictures[1].state}`);
  check('and says the same shares', pictures[0].status === pictures[1].status, pictures[0].status + ' / ' + pictures[1].status);
  check('and its reader\'s elements are a fresh page\'s', pictures[0].reader === pictures[1].reader,
        `${pictures[0].reader.length} and ${pictures[1].reader.length} characters`);
}

// An older engine: no Uint8Array.fromHex or fromBase64, and no compiling of a module this large on the main
// thread. The page decodes and compiles its WebAssembly its other ways, to the same picture.
async function olderEngine(browser, url) {
  const now = await d.open(browser, url, 547, 492);
  const expected = await d.pictureBytes(now);
  await now.context.close();
  const p = await browser.open(url, 547, 492, 1, () => {
    delete Uint8Array.fromHex;
    delete Uint8Array.fromBase64;
    WebAssembly.Module = function () { throw new RangeError('WebAssembly.Module(): too large for the main thread'); };
  });
  await d.described(p.page);
  const bytes = await d.pictureBytes(p);
  check('without fromHex or compiling on the main thread: the same first picture',
        bytes.length === expected.length && bytes.equals(expected), `${bytes.length} and ${expected.length} bytes, or they differ`);
  await noProblems('an older engine', p);
  await p.context.close();
}

async function runParts(browser, url) {
  const only = process.env.PCA_WEB_ONLY;  // one part: first, desktop, keys, help, undo, table, tree, touch, zero, axe or storm
  if (!only || only === 'first') {
    for (const r of [1, 2].filter(r => browser.ratios.includes(r))) await firstPictureAndEdit(browser, url, r);
    if (browser.name === 'chromium') await olderEngine(browser, url);
  }
  if (!only || only === 'desktop') {
    const dumpTool = process.env.PCA_PICTURE_DUMP;
    if (dumpTool) for (const r of browser.ratios) await sameAsDesktop(browser, url, dumpTool, r);
    else console.log('skipped: the comparison with the desktop picture (PCA_PICTURE_DUMP names no tool)');
  }
  const t = { check, noProblems };
  if (!only || only === 'keys') {
    await access.tabAndFocus(browser, url, t);
    await access.keyEditsEqualMouseEdits(browser, url, t);
    await access.jumpsAndTenPixelEdits(browser, url, t);
  }
  if (!only || only === 'help') await help.helpAndValues(browser, url, t);
  if (!only || only === 'undo') await undo.undoAndRedo(browser, url, t);
  if (!only || only === 'table') await table.tableAndTypedValues(browser, url, t);
  if ((!only || only === 'tree') && browser.name === 'chromium') await access.readerTree(browser, url, t);
  if (!only || only === 'touch') await access.touchEdit(browser, url, t);
  if (!only || only === 'zero') await allZeroTable(browser, url);
  // The rules need the page's DOM in the driver's hands: playwright's.
  if ((!only || only === 'axe') && browser.name === 'chromium') await accessibilityRules(browser, url);
  if (!only || only === 'storm') await storm(browser, url);
}

// Every part in every engine with the page opened from the disk, as a mailed or downloaded file
// is; in chromium the first part once more with the page served, as from a course's server.
(async () => {
  const folder = path.resolve(process.argv[2] || 'build/web');
  const fileUrl = pathToFileURL(path.join(folder, 'pca.html')).href;
  const engines = (process.env.PCA_WEB_ENGINES || d.kEngines.join(',')).split(',');
  for (const name of engines) {
    engine = name;
    const started = Date.now();
    let browser = null, server = null;
    try {
      browser = await d.launch(name);
      await runParts(browser, fileUrl);
      if (name === 'chromium' && !process.env.PCA_WEB_ONLY) {
        server = await d.serve(folder);
        engine = 'chromium, served';
        await firstPictureAndEdit(browser, `http://127.0.0.1:${server.address().port}/pca.html`, 1);
      }
    } catch (e) {
      check('the tests ran to their end', false, e.stack);
    } finally {
      if (browser) await browser.close();
      if (server) server.close();
    }
    console.log(`${name}: ${((Date.now() - started) / 1000).toFixed(0)} s`);
  }
  console.log(`web tests: ${passed} passed, ${failed} failed`);
  process.exit(failed === 0 && passed > 0 ? 0 : 1);
})();
