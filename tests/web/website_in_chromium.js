// The website beside the event server, in headless Chromium: two browsers (each with its own
// storage) and a kiosk play; the browsers' rounds reach the event, the event's table is their
// highscore screen, as on the kiosk; each way of cheating is refused with its reason; the QR code
// of a printed certificate opens the round's page, and an edited time or code is not verified.
// Usage: node website_in_chromium.js <event url> <shots folder> <GFX folder> <a kiosk's folder>
//        <a kiosk's round file> <its highscore screenshot> <solrind_printit> <solrind-replay>
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const {launch, bmp, pagePoint, until, check, eventually, run} = require('./browser.js');

const [url, shots, gfx, kiosk, kioskRound, kioskScreen, printit, replay] = process.argv.slice(2);
const json = async (address, options) => {
  const answer = await fetch(address, options);
  return {status: answer.status, body: await answer.json().catch(() => null)};
};
const websiteRounds = async () =>
  (await json(url + '/api/kiosks')).body.kiosks.find(k => k.kiosk === 'the website').rounds;

// Whether the canvas shows the picture's pixels at (left, 0) on a grid of samples (or, given
// rows, every third pixel of them).
async function shows(page, file, left, rows) {
  const expected = bmp(path.join(gfx, file + '.bmp'));
  const shown = await page.evaluate(() => Array.from(
      document.getElementById('canvas').getContext('2d').getImageData(0, 0, 640, 520).data));
  for (const y of rows || Array.from({length: 15}, (_, i) => 3 + 37 * i))
    for (let x = 5; left + x < 640; x += rows ? 3 : 29) {
      const at = 4 * (y * 640 + left + x);
      if ((shown[at] << 16 | shown[at + 1] << 8 | shown[at + 2]) !== expected(x, y))
        return false;
    }
  return true;
}
const fileOf = (page, name) => page.evaluate(name => {
  try {
    return Array.from(FS.readFile(name));
  } catch (error) {
    return null;
  }
}, name);
const roundsWaiting = page => page.evaluate(() => {
  try {
    return FS.readdir('/Save/Rounds').filter(name => name.endsWith('.json')).length;
  } catch (error) {
    return 0;
  }
});

// A browser of its own (its own IndexedDB and storage) with the site open at its welcome screen.
async function openBrowser(browser, name) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const lines = [];
  page.on('console', message => lines.push(message.text()));
  page.on('pageerror', error => lines.push('page error: ' + error.message));
  await page.setViewport({width: 1280, height: 800, hasTouch: true});
  await page.goto(url + '/play/');
  await eventually(name + ': the welcome screen', () => shows(page, 'Backgrounds/Welcome', 120), 60);
  await eventually(name + ': the site joined the event', () => page.evaluate(() => !!window.solrindEventPass), 20);
  return {page, lines};
}

// A round played in the browser and given up: S, a release by a tap, Q after two seconds; true
// once its file left the browser.
async function playRound(page) {
  await page.keyboard.press('s');
  // The hint above the board, which the round never draws over, in place: the slide is over.
  await until(() => shows(page, 'Backgrounds/GameBackground', 120, [10, 16, 22, 28]), 30, 'the game screen');
  const corner = await pagePoint(page, 200, 80);
  await page.touchscreen.tap(corner.x, corner.y);
  await new Promise(resolve => setTimeout(resolve, 2000));
  await page.keyboard.press('q');
  await until(() => shows(page, 'Backgrounds/Welcome', 120), 30, 'the welcome screen after Q');
}

// The pixels of the page's canvas unlike those of a screenshot of the kiosk's game (read as
// the pixels the file holds, without the browser's colour management).
async function unlikeKiosk(page) {
  const file = path.join(os.tmpdir(), 'solrind-kiosk-screen-' + process.pid + '.bmp');
  execFileSync('convert', [kioskScreen, '-type', 'TrueColor', 'BMP3:' + file]);
  const kiosk = bmp(file);
  fs.rmSync(file);
  const shown = await page.evaluate(() => Array.from(
      document.getElementById('canvas').getContext('2d').getImageData(0, 0, 640, 520).data));
  let differing = 0;
  for (let y = 0; y < 520; ++y)
    for (let x = 0; x < 640; ++x) {
      const at = 4 * (y * 640 + x);
      differing += (shown[at] << 16 | shown[at + 1] << 8 | shown[at + 2]) !== kiosk(x, y);
    }
  return differing;
}

async function main() {
  fs.mkdirSync(shots, {recursive: true});
  const browser = await launch();
  try {
    const table = Array.from(fs.readFileSync(path.join(kiosk, 'Save', 'Highscore.hs')));
    const one = await openBrowser(browser, 'browser 1');
    const two = await openBrowser(browser, 'browser 2');
    // The highscore screen takes the event's table first: the kiosk's, to the byte and pixel.
    for (const [name, {page}] of [['browser 1', one], ['browser 2', two]]) {
      await page.keyboard.press('h');
      await eventually(name + ': the event\'s table is its table, as the kiosk\'s',
                       async () => JSON.stringify(await fileOf(page, '/Save/Highscore.hs')) === JSON.stringify(table), 10);
    }
    await eventually('browser 1: its highscore screen is the kiosk\'s, pixel for pixel',
                     async () => (await unlikeKiosk(one.page)) === 0, 30);
    await one.page.screenshot({path: path.join(shots, 'website-highscores.png')});

    // A round in each browser, from the server's seed, delivered once given up.
    await one.page.evaluate(() => {
      const take = Module.solrindSeed;
      Module.solrindSeed = () => (window.solrindTaken = take()) || null;
    });
    const before = await websiteRounds();
    await playRound(one.page);
    await playRound(two.page);
    for (const [name, {page}] of [['browser 1', one], ['browser 2', two]])
      await eventually(name + ': its round delivered and gone from the browser',
                       async () => (await roundsWaiting(page)) === 0, 20);
    check('both rounds kept as the website\'s', before + 2, await websiteRounds());
    const taken = await one.page.evaluate(() => window.solrindTaken);
    const played = await json(url + '/api/round?code=' + taken.id.slice(0, 12));
    check('browser 1\'s round: from its seed, verified, the website\'s', [true, true, false],
          [played.body.verified, played.body.website, played.body.completed]);

    // The event's page counts them.
    const event = await browser.newPage();
    await event.goto(url + '/');
    await until(() => event.evaluate(() => window.eventShownAt > 0), 20, 'the event page');
    const numbers = (await json(url + '/api/numbers')).body;
    check('the event page counts the browsers\' rounds with the kiosks\'', String(numbers.rounds),
          await event.$eval('#rounds', node => node.textContent));
    await event.close();

    // Browser 2 plays again with browser 1's seed: refused, said, and set aside in the browser.
    await two.page.evaluate(taken => {
      localStorage.setItem('solrind-issued', JSON.stringify([taken.id]));
    }, taken);
    await two.page.reload();
    await until(() => shows(two.page, 'Backgrounds/Welcome', 120), 60, 'browser 2 again');
    await two.page.evaluate(taken => { Module.solrindSeed = () => taken; }, taken);
    await playRound(two.page);
    const refusal = 'the event server refused ';
    await eventually('a seed used twice: refused with its reason', () =>
      two.lines.some(line => line.includes(refusal) &&
                             line.endsWith(': the website, round ' + taken.id + ': its seed was used already by another round')), 20);
    check('and set aside in the browser', 1, await two.page.evaluate(() => FS.readdir('/Save/Rounds.refused').length - 2));

    // A bot's round sent at once for a seed just issued: faster than real time; a round of
    // another seed than the one issued: refused.
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'solrind-website-'));
    const cheat = async (seedOf, what) => {
      const issued = (await json(url + '/api/seeds', {method: 'POST'})).body;
      const folder = path.join(scratch, what);
      execFileSync(replay, ['play', '--random', '--round-seed', String(seedOf(issued.seed)), '--id', issued.id, '1', folder]);
      const file = path.join(folder, fs.readdirSync(folder)[0]);
      const answer = await json(url + '/api/website/rounds', {method: 'POST', body: fs.readFileSync(file),
                                                                headers: {'Content-Type': 'application/json'}});
      return [answer.status, answer.body.error.replace(/[0-9]+\.[0-9] s/g, 'N s').replace(issued.id, 'ID')
                                                .replace(/seed [0-9]+, not [0-9]+/, 'seed S, not S+1')];
    };
    check('a replay faster than real time', [422, 'the website, round ID: not counted: it came N s after its seed was issued, its 15000 frames take N s: faster than real time'],
          await cheat(seed => seed, 'fast'));
    check('a replay of another seed', [422, 'the website, round ID: not counted: it was issued seed S, not S+1'],
          await cheat(seed => (seed + 1) % 10000, 'other'));

    // The certificate in the browser: the round's code and its QR code from the server.
    await one.page.evaluate(taken => Module.solrindCertificate('00:02', 'Cheaters will be punished!', taken.id), taken);
    let frame = null;
    await eventually('the browser\'s certificate names its round', async () => {
      frame = one.page.frames().find(f => f.url().includes('certificate.html'));
      return !!frame && await frame.evaluate(() => document.getElementById('code').textContent.length === 14);
    }, 10);
    if (frame) {
      const code = taken.id.slice(0, 12).toUpperCase().replace(/(.{4})(?=.)/g, '$1-');
      check('its code and QR code', [code, 'visible', 200], await frame.evaluate(async () => {
        const qr = document.getElementById('qr');
        return [document.getElementById('code').textContent, qr.getAttribute('visibility'),
                (await fetch(qr.getAttribute('href'))).status];
      }));
      await one.page.screenshot({path: path.join(shots, 'website-certificate.png')});
    }

    // A kiosk's printed certificate: its QR code read off the page opens the round's page.
    const round = JSON.parse(fs.readFileSync(kioskRound, 'utf8'));
    const folder = path.join(scratch, 'print');
    fs.mkdirSync(path.join(folder, 'Bin'), {recursive: true});
    fs.writeFileSync(path.join(folder, 'Bin', 'tmp'), 'Cheaters will be punished!\r\n' + round.time + '\r\n');
    fs.writeFileSync(path.join(folder, 'Bin', 'round'), round.id + '\n');
    const said = execFileSync(printit, [], {cwd: folder, encoding: 'utf8',
                                            env: {...process.env, SOLRIND_EVENT_PAGE: url + '/', CUPS_SERVER: '/nonexistent'}});
    const pdf = said.slice(said.indexOf(' is kept at ') + 12).trim();
    execFileSync('pdftoppm', ['-r', '150', '-png', '-singlefile', pdf, path.join(scratch, 'printed')]);
    const address = execFileSync('zbarimg', ['-q', '--raw', path.join(scratch, 'printed.png')], {encoding: 'utf8'}).trim();
    check('the printed QR code: the round\'s page', url + '/round.html?code=' + round.id.slice(0, 12) + '&time=' +
          encodeURIComponent(round.time), address);
    const page = await browser.newPage();
    await page.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true});
    const verdict = async address => {
      await page.goto(address);
      await until(() => page.evaluate(() => !!document.body.dataset.verdict), 10, 'the verdict');
      return page.evaluate(() => [document.body.dataset.verdict, document.getElementById('round-time').textContent,
                                  document.getElementById('why').textContent]);
    };
    check('it opens on a phone: verified, the round\'s time', ['verified', round.time, ''], await verdict(address));
    await page.screenshot({path: path.join(shots, 'round-page.png'), fullPage: true});
    check('an edited time: not verified', ['not verified', round.time, 'The certificate shows 00:07, the round took ' + round.time],
          await verdict(address.replace(/time=[^&]*/, 'time=00%3A07')));
    check('an edited code: not verified', ['not verified', '00:07', 'No round of the event has this code'],
          await verdict(address.replace(/code=[0-9a-f]*/, 'code=000000000000').replace(/time=[^&]*/, 'time=00%3A07')));
    // A flood from one address: refused once its share is spent.
    let flood = null;
    for (let i = 0; i < 100 && !flood; ++i) {
      const answer = await json(url + '/api/seeds', {method: 'POST'});
      if (answer.status === 429)
        flood = answer.body.error;
    }
    check('a flood of seeds from one address', 'too many seeds and rounds from this address', flood);
    check('nothing went wrong in the browsers', [], [...one.lines, ...two.lines].filter(line => /page error|abort/i.test(line)));
    fs.rmSync(scratch, {recursive: true, force: true});
  } finally {
    await browser.close();
  }
}

run(main);
