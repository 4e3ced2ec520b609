// axe-core's WCAG 2.2 A/AA and best-practice rules on the page as it stands. The page's policy
// lets no script in but its own; axe's source goes in through the driver's evaluate, which the
// policy does not bind.
'use strict';
const fs = require('fs');

const kTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const kSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

// The violations, each as {id, help, targets}, and how many rules applied to the page at all
// (none would mean nothing was checked).
async function axeRun(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.evaluate(kSource);
  return page.evaluate(async tags => {
    const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
    return {
      violations: result.violations.map(v => ({ id: v.id, help: v.help, targets: v.nodes.map(n => n.target.join(' ')) })),
      applied: result.passes.length + result.violations.length,
    };
  }, kTags);
}

function describe(violations) {
  return violations.map(v => `${v.id} (${v.help}) at ${v.targets.join(', ')}`).join('; ');
}

module.exports = { axeRun, describe };
