// SPDX-License-Identifier: MIT
// Once visited, the page opens without a network: its service worker keeps its files.
//
//   node tests/web/offline.js SITE_FOLDER      (NODE_PATH as scripts/drive-web.sh sets it)
'use strict';
const path = require('path');
const {chromium} = require('playwright-core');
const {serveSite, origin} = require('site_server');

const window = '#qup-desk[data-state="open"] .qup-window';

(async () => {
  const server = await serveSite(path.resolve(process.argv[2]));
  const browser = await chromium.launch({
    executablePath: process.env.QUP_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(origin(server) + '/');
  await page.waitForSelector(window);
  await page.evaluate(() => navigator.serviceWorker.ready);
  // The worker has kept the files once it is active; then the network goes, server and all.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null ||
                                   caches.keys().then((keys) => keys.length > 0));
  await context.setOffline(true);
  server.close();
  await page.reload();
  const shown = await page.waitForSelector(window, {timeout: 10000}).then(() => true, () => false);
  await browser.close();
  console.log(shown ? '1 passed, 0 failed' : 'the page did not open offline\n0 passed, 1 failed');
  process.exitCode = shown ? 0 : 1;
})().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
