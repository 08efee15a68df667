// SPDX-License-Identifier: MIT
// The page's accessibility audit: axe-core in headless Chromium over every state a visitor
// meets (each tab, the results of each Calculate, a message box open), in a desktop-sized and
// a phone-sized window. Every violation is printed; any one fails the audit.
//
//   node tests/web/audit.js SITE_FOLDER       (NODE_PATH as scripts/drive-web.sh sets it)
'use strict';
const path = require('path');
const {chromium} = require('playwright-core');
const {serveSite, origin} = require('site_server');

const axeSource = require.resolve('axe-core/axe.min.js');

// What a visitor does between two audits, as steps on the page.
const states = [
  ['the site page', async () => {}],
  ['the W2 page', async (page) => page.click('[role=tab] >> nth=1')],
  ['the W2 results', async (page) => {
    await page.fill('#w0-c1001', '50');
    await page.fill('#w0-c1002', '104000');
    await page.click('#w0-c1');
  }],
  ['a message box', async (page) => {
    await page.click('#w0-c1017');
    await page.click('#w0-c1');
    await page.waitForSelector('[role=alertdialog]');
  }],
  ['the 1099 page', async (page) => {
    await page.keyboard.press('Enter');
    await page.click('[role=tab] >> nth=2');
  }],
  ['the 1099 results', async (page) => {
    await page.fill('#w0-c1101', '50');
    await page.fill('#w0-c1116-input', '2080');
    await page.click('#w0-c1048');
    await page.click('#w0-c1416');
  }],
  ['the Help page', async (page) => page.click('[role=tab] >> nth=3')],
  ['the Suggestions page', async (page) => page.click('[role=tab] >> nth=4')],
  ['the About page', async (page) => page.click('[role=tab] >> nth=5')],
];

async function audit(browser, site, viewport) {
  const context = await browser.newContext({viewport, bypassCSP: true, serviceWorkers: 'block'});
  const page = await context.newPage();
  page.setDefaultTimeout(10000);
  await page.goto(site);
  await page.waitForSelector('#qup-desk[data-state="open"] .qup-window');
  let violations = 0;
  for (const [name, step] of states) {
    await step(page);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    await page.addScriptTag({path: axeSource});
    const result = await page.evaluate(() => axe.run(document, {resultTypes: ['violations']}));
    for (const violation of result.violations) {
      ++violations;
      const where = violation.nodes.map((node) => node.target.join(' ')).join(', ');
      console.log(`${viewport.width}px, ${name}: ${violation.id} (${violation.impact}): ` +
                  `${violation.help} at ${where}`);
    }
  }
  await context.close();
  return violations;
}

(async () => {
  const server = await serveSite(path.resolve(process.argv[2]));
  const browser = await chromium.launch({
    executablePath: process.env.QUP_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
  let failed = 0;
  let passed = 0;
  for (const viewport of [{width: 1100, height: 800}, {width: 360, height: 800}]) {
    const violations = await audit(browser, origin(server) + '/', viewport);
    if (violations === 0) ++passed; else ++failed;
  }
  await browser.close();
  server.close();
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
})().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
