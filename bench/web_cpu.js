// The web build's costs in headless Chromium, for each site given: the first picture's time
// after navigation, and the CPU over 10 s idle on the welcome screen and over 10 s of a round
// (a tap on the corner every 2 s, so pieces slide); then, read off the canvas, the frames a
// second of a menu slide and the round's clock against the wall clock. CPU is given twice, as shares of one core:
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

// A slide's frames a second: its left edge (the first pixel of row 260 right of the menu that
// is not black) moves 20 picture pixels a frame, from the first step seen to the last.
async function slideRate(page, key) {
  const watching = page.evaluate(() => new Promise(resolve => {
    const context = document.getElementById('canvas').getContext('2d');
    const edge = () => {
      const d = context.getImageData(120, 260, 520, 1).data;
      for (let i = 0; i < 520; i++)
        if (d[4 * i] || d[4 * i + 1] || d[4 * i + 2])
          return 120 + i;
      return 640;
    };
    const start = performance.now();
    let first = null;
    const poll = () => {
      const now = performance.now(), at = edge();
      if (first === null && at > 120 && at < 640)
        first = {at, now};
      if (first !== null && at === 120)
        return resolve({frames: (first.at - 120) / 20, seconds: (now - first.now) / 1000});
      if (now - start > 10000)
        return resolve(null);
      setTimeout(poll, 1);
    };
    poll();
  }));
  await sleep(200);
  await page.keyboard.press(key);
  const slide = await watching;
  return slide ? `${slide.frames} frames in ${slide.seconds.toFixed(3)} s, ` +
                 `${(slide.frames / slide.seconds).toFixed(1)} frames a second` : 'not seen';
}

// The round's clock (at 505, 492: mm|ss in cells of 19 by 17) read against the wall clock for
// about `seconds`, from one change of it to another; each digit is the font's glyph whose
// drawn pixels all stand in its cell.
async function clockRate(page, font, seconds) {
  const glyphs = [];
  for (let d = 0; d < 10; d++)
    for (let y = 0; y < 17; y++)
      for (let x = 0; x < 19; x++)
        glyphs.push(font(19 * d + x, 17 + y));
  const result = await page.evaluate((glyphs, seconds) => new Promise(resolve => {
    const context = document.getElementById('canvas').getContext('2d');
    const read = () => {
      const d = context.getImageData(505, 492, 95, 17).data;
      let value = 0;
      for (const cell of [0, 1, 3, 4]) {
        let best = -1, bestInk = -1;
        for (let g = 0; g < 10; g++) {
          let ink = 0, all = true;
          for (let i = 0; i < 19 * 17 && all; i++) {
            const p = glyphs[g * 19 * 17 + i];
            if (p === 0xFF00FF)
              continue;
            ink++;
            const at = 4 * (Math.floor(i / 19) * 95 + 19 * cell + i % 19);
            all = (d[at] << 16 | d[at + 1] << 8 | d[at + 2]) === p;
          }
          if (all && ink > bestInk)
            best = g, bestInk = ink;
        }
        if (best < 0)
          return -1;
        value = value * 10 + best;
      }
      return Math.floor(value / 100) * 60 + value % 100;
    };
    const start = performance.now();
    let first = null, last = null, shown = read();
    const poll = () => {
      const now = performance.now(), value = read();
      if (value >= 0 && value !== shown) {
        shown = value;
        if (first === null)
          first = {value, now};
        else if ((now - first.now) / 1000 >= seconds)
          return resolve({shown: value - first.value, wall: (now - first.now) / 1000});
      }
      if (now - start > (seconds + 10) * 1000)
        return resolve(null);
      setTimeout(poll, 1);
    };
    poll();
  }), glyphs, seconds);
  return result ? `${result.shown} s shown in ${result.wall.toFixed(2)} s, ` +
                  `${(result.shown / result.wall).toFixed(3)} a second, ` +
                  `${(27 * result.shown / result.wall).toFixed(1)} frames a second` : 'not seen';
}

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
    const slide = await slideRate(page, 'r');
    await page.keyboard.press('s');
    await sleep(3000);  // the slide to the board
    const corner = await pagePoint(page, 200, 80);
    const round = await costs(browser, page, session, async () => {
      for (let i = 0; i < seconds / 2; i++) {
        await page.touchscreen.tap(corner.x, corner.y);
        await sleep(2000);
      }
    });
    const clock = await clockRate(page, bmp(path.join(gfx, 'Menus/GameFont.bmp')), 8);
    console.log(`${site}: first picture ${Math.round(first)} ms; idle: ${idle}; round: ${round}`);
    console.log(`    menu slide: ${slide}; the round's clock: ${clock}`);
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
