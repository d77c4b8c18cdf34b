// Shared by the browser tests and the measurements: the site served on 127.0.0.1, Debian's
// Chromium driven through puppeteer-core, the game's pictures read from their BMP files and the
// canvas read back in picture pixels; waiting for conditions with deadlines.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.css': 'text/css', '.ttf': 'font/ttf', '.data': 'application/octet-stream'};

// Serves the folder's files on a free port of 127.0.0.1; resolves to {url, close}.
function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve({
    url: 'http://127.0.0.1:' + server.address().port + '/',
    close: () => new Promise(done => server.close(done)),
  })));
}

function launch() {
  return puppeteer.launch({
    executablePath: process.env.SOLRIND_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
           '--no-first-run', '--mute-audio', '--autoplay-policy=no-user-gesture-required'],
  });
}

// A 24-bit BMP file's pixel as 0xRRGGBB (the art maker writes them bottom up).
function bmp(file) {
  const bytes = fs.readFileSync(file);
  const offset = bytes.readUInt32LE(10), w = bytes.readInt32LE(18), h = bytes.readInt32LE(22);
  const stride = Math.ceil(w * 3 / 4) * 4;
  return (x, y) => {
    const at = offset + (h > 0 ? h - 1 - y : y) * stride + 3 * x;
    return bytes[at + 2] << 16 | bytes[at + 1] << 8 | bytes[at];
  };
}

// The canvas's pixel (picture pixels) as 0xRRGGBB.
async function canvasPixel(page, x, y) {
  return page.evaluate((x, y) => {
    const d = document.getElementById('canvas').getContext('2d').getImageData(x, y, 1, 1).data;
    return d[0] << 16 | d[1] << 8 | d[2];
  }, x, y);
}

// The page point over a picture pixel of the scaled canvas.
async function pagePoint(page, x, y) {
  return page.evaluate((x, y) => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return {x: r.left + (x + 0.5) * r.width / 640, y: r.top + (y + 0.5) * r.height / 520};
  }, x, y);
}

// Resolves when the condition holds, polled every 50 ms; rejects after `seconds`.
async function until(condition, seconds, what) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    if (await condition())
      return;
    if (Date.now() > deadline)
      throw new Error('not within ' + seconds + ' s: ' + what);
    await new Promise(resolve => setTimeout(resolve, 50));
  }
}

// A test's checks: each prints one line, ok or FAIL with what it expected and got; run(main)
// runs the test and ends the process with 1 when a check failed or the test threw.
let failures = 0;
function check(what, expected, actual) {
  if (JSON.stringify(expected) === JSON.stringify(actual)) {
    console.log('ok   ' + what);
  } else {
    console.log('FAIL ' + what + ': expected ' + JSON.stringify(expected) + ', got ' +
                JSON.stringify(actual));
    failures++;
  }
}
// A check that the condition comes to hold within the seconds.
async function eventually(what, condition, seconds = 30) {
  try {
    await until(condition, seconds, what);
    check(what, true, true);
  } catch (error) {
    check(what, 'within ' + seconds + ' s', error.message);
  }
}
function run(main) {
  main().then(() => {
    if (failures) {
      console.log(failures + ' check(s) failed');
      process.exit(1);
    }
  }, error => {
    console.log('FAIL ' + error.message);
    process.exit(1);
  });
}

module.exports = {serve, launch, bmp, canvasPixel, pagePoint, until, check, eventually, run};
