// The web build's costs in headless Chromium, for each site given: the first picture's time
// after navigation, and the CPU over 10 s idle on the welcome screen and over 10 s of a round
// (a tap on the corner every 2 s, so pieces slide). CPU is given twice, as shares of one core:
// the tab's main thread (Chromium's own task time, which runs the game and its audio) and all
// of the browser's processes (the tab, the GPU process drawing the canvas, the browser).
// Usage: node web_cpu.js <GFX folder> <site folder>...
'use strict';

const fs = require('fs');
const path = require('path');
const {serve, launch, bmp, pagePoint, until} = require('../tests/web/browser.js');

const [gfx, ...sites] = process.argv.slice(2);
const seconds = 10;

// CPU seconds (user and system) of a process and all its descendants.
function treeCpu(root) {
  const children = {};
  const cpu = {};
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^[0-9]+$/.test(entry))
      continue;
    let stat;
    try {
      stat = fs.readFileSync('/proc/' + entry + '/stat', 'utf8');
    } catch (error) {
      continue;  // ended meanwhile
    }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    (children[fields[1]] = children[fields[1]] || []).push(entry);
    cpu[entry] = (Number(fields[11]) + Number(fields[12])) / 100;  // clock ticks of 10 ms
  }
  let total = 0;
  for (const queue = [String(root)]; queue.length;) {
    const pid = queue.pop();
    total += cpu[pid] || 0;
    queue.push(...(children[pid] || []));
  }
  return total;
}

async function costs(browser, page, session, during) {
  const task = async () => (await session.send('Performance.getMetrics')).metrics
      .find(m => m.name === 'TaskDuration').value;
  const puts = () => page.evaluate(() => [solrindPuts.calls, solrindPuts.pixels]);
  const [task0, all0, puts0, t0] = [await task(), treeCpu(browser.process().pid), await puts(), Date.now()];
  await during();
  const [task1, all1, puts1, t1] = [await task(), treeCpu(browser.process().pid), await puts(), Date.now()];
  const wall = (t1 - t0) / 1000;
  return `tab ${(100 * (task1 - task0) / wall).toFixed(1)} %, browser ${(100 * (all1 - all0) / wall).toFixed(1)} %` +
         ` (${Math.round((puts1[0] - puts0[0]) / wall)} puts/s, ${Math.round((puts1[1] - puts0[1]) / wall / 1000)} kpixels/s)`;
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

async function measure(site) {
  const server = await serve(path.resolve(site));
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1280, height: 800, hasTouch: true});
    const session = await page.target().createCDPSession();
    await session.send('Performance.enable');
    // What reaches the canvas: calls and pixels.
    await page.evaluateOnNewDocument(() => {
      const put = CanvasRenderingContext2D.prototype.putImageData;
      window.solrindPuts = {calls: 0, pixels: 0};
      CanvasRenderingContext2D.prototype.putImageData = function(image, x, y, ...dirty) {
        solrindPuts.calls++;
        solrindPuts.pixels += dirty.length === 4 ? dirty[2] * dirty[3] : image.width * image.height;
        return put.call(this, image, x, y, ...dirty);
      };
    });
    await page.goto(server.url);
    await until(() => page.evaluate(() => !!window.Module && !!Module.solrindFirstPicture), 60, 'the first picture');
    const first = await page.evaluate(() => Module.solrindFirstPicture);
    const welcome = bmp(path.join(gfx, 'Backgrounds/Welcome.bmp'));
    await until(async () => await page.evaluate(() => {
      const d = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 640, 520).data;
      return Array.from(d);
    }).then(d => [[10, 10], [300, 200], [500, 480]].every(([x, y]) => {
      const at = 4 * (y * 640 + 120 + x);
      return (d[at] << 16 | d[at + 1] << 8 | d[at + 2]) === welcome(x, y);
    })), 60, 'the welcome screen');
    const idle = await costs(browser, page, session, () => sleep(seconds * 1000));
    await page.keyboard.press('s');
    await sleep(3000);  // the slide to the board
    const corner = await pagePoint(page, 200, 80);
    const round = await costs(browser, page, session, async () => {
      for (let i = 0; i < seconds / 2; i++) {
        await page.touchscreen.tap(corner.x, corner.y);
        await sleep(2000);
      }
    });
    console.log(`${site}: first picture ${Math.round(first)} ms; idle: ${idle}; round: ${round}`);
  } finally {
    await browser.close();
    await server.close();
  }
}

(async () => {
  for (const site of sites)
    await measure(site);
})().catch(error => {
  console.log('failed: ' + error.message);
  process.exit(1);
});
