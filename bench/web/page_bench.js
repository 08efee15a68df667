// SPDX-License-Identifier: MIT
// The web page's weight and start, in headless Chromium on this machine: the bytes of a first
// visit compressed (gzip -9, as a web server compresses them), the time from navigation to the
// window being usable against a floor page of the same controls without WebAssembly (the page's
// own markup once started, with its scripts taken out), and the time of one Calculate.
//
//   NODE_PATH=tests/web/node_modules:app/drive/web node bench/web/page_bench.js SITE [RUNS]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const {chromium} = require('playwright-core');
const {serveSite, origin} = require('site_server');

const median = (values) => {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

(async () => {
  const site = path.resolve(process.argv[2]);
  const runs = Number(process.argv[3] || 15);
  // The floor: the started page's markup, without scripts, in a folder beside the site's files.
  const floor = fs.mkdtempSync(path.join(os.tmpdir(), 'qup-floor-'));
  for (const name of fs.readdirSync(site)) fs.copyFileSync(path.join(site, name), path.join(floor, name));
  const server = await serveSite(site);
  const floorServer = await serveSite(floor);
  const browser = await chromium.launch({
    executablePath: process.env.QUP_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });

  const first = await browser.newContext({serviceWorkers: 'block'});
  const page = await first.newPage();
  const fetched = new Set();
  page.on('request', (request) => fetched.add(new URL(request.url()).pathname));
  await page.goto(origin(server) + '/');
  await page.waitForSelector('#qup-desk[data-state="open"] .qup-window');
  let compressed = 0;
  for (const name of fetched) {
    const file = path.join(site, name === '/' ? 'index.html' : name);
    if (fs.existsSync(file)) compressed += zlib.gzipSync(fs.readFileSync(file), {level: 9}).length;
  }
  const markup = await page.evaluate(() => {
    const copy = document.documentElement.cloneNode(true);
    copy.querySelectorAll('script').forEach((script) => script.remove());
    return '<!DOCTYPE html>' + copy.outerHTML;
  });
  fs.writeFileSync(path.join(floor, 'index.html'), markup);
  // One Calculate: the W2 page's salary from a rate and the hours, timed inside the page around
  // the click, with a rate of 50 and of 51 in turns so that every answer changes the page.
  await page.click('[role=tab] >> nth=1');
  const calculate = [];
  for (let i = 0; i < runs; ++i) {
    await page.click('#w0-c1017');
    await page.fill('#w0-c1001', String(50 + (i % 2)));
    await page.fill('#w0-c1016-input', '2080');
    calculate.push(await page.evaluate(() => {
      // The page's layout brought up to date first: what is timed is this Calculate's own work.
      void document.body.offsetHeight;
      const start = performance.now();
      document.getElementById('w0-c1').click();
      return performance.now() - start;
    }));
  }
  await first.close();

  // Start: navigation to a usable window, the page and the floor in turns, each visit fresh.
  const times = {page: [], floor: []};
  const visit = async (kind, url) => {
    const context = await browser.newContext({serviceWorkers: 'block'});
    const tab = await context.newPage();
    const start = Date.now();
    await tab.goto(url);
    await tab.waitForSelector('.qup-window [role=tab]');
    times[kind].push(Date.now() - start);
    await context.close();
  };
  await visit('page', origin(server) + '/');
  for (let i = 0; i < runs; ++i) {
    await visit('page', origin(server) + '/');
    await visit('floor', origin(floorServer) + '/');
  }
  times.page.shift();
  await browser.close();
  server.close();
  floorServer.close();
  fs.rmSync(floor, {recursive: true});

  const pageStart = median(times.page);
  const floorStart = median(times.floor);
  console.log(`first visit, compressed: ${(compressed / 1024).toFixed(1)} KB in ${fetched.size} ` +
              `files (target: at most 300 KB)`);
  console.log(`start, median of ${runs}: page ${pageStart} ms, floor ${floorStart} ms, ratio ` +
              `${(pageStart / floorStart).toFixed(2)} (target: at most 1.5)`);
  console.log(`one Calculate, median of ${runs}: ${median(calculate).toFixed(3)} ms ` +
              `(target: under 1 ms)`);
})().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
