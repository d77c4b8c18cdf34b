// The web build in headless Chromium: the first picture, a menu screen by key and by click, a
// round with a piece released by a tap and moved by a finger drag, the round's clock standing
// still while the tab is hidden, a rejected table set aside and the new one surviving a
// reload, the certificate page and its print dialog, the game without audio, and the page on a
// phone with its keyboard, and the round's record verified on the desktop with the browser's
// generator. Every wait has a deadline. Screenshots go to the shots folder.
// Usage: node web_in_chromium.js <site folder> <GFX folder> <shots folder> <solrind-replay>
'use strict';

const fs = require('fs');
const path = require('path');
const {serve, launch, bmp, canvasPixel, pagePoint, until, check, eventually, run} = require('./browser.js');

const [site, gfx, shots, replay] = process.argv.slice(2);

const picture = file => bmp(path.join(gfx, file + '.bmp'));
// Whether the canvas shows the picture with its corner at (left, 0), on a grid of samples
// (or, given rows, every third pixel of them).
async function shows(page, file, left, rows) {
  const expected = picture(file);
  const shown = await page.evaluate(() => Array.from(
      document.getElementById('canvas').getContext('2d').getImageData(0, 0, 640, 520).data));
  const ys = rows || Array.from({length: 15}, (_, i) => 3 + 37 * i);
  for (const y of ys)
    for (let x = 5; left + x < 640; x += rows ? 3 : 29) {
      const at = 4 * (y * 640 + left + x);
      if ((shown[at] << 16 | shown[at + 1] << 8 | shown[at + 2]) !== expected(x, y))
        return false;
    }
  return true;
}
const background = picture('Backgrounds/GameBackground');
// Whether the board's cell shows a piece rather than the background behind it.
async function occupied(page, col, row) {
  const x = 160 + 88 * col + 30, y = 40 + 88 * row + 30;
  return (await canvasPixel(page, x, y)) !== background(x - 120, y);
}
async function cells(page) {  // the cells of the top row and the right column that hold pieces
  const taken = [];
  for (const [col, row] of [[1, 0], [2, 0], [3, 0], [4, 0], [4, 1], [4, 2], [4, 3], [4, 4]])
    if (await occupied(page, col, row))
      taken.push(col + ',' + row);
  return taken.join(' ');
}
const fileOf = (page, name) => page.evaluate(name => {
  try {
    return Array.from(FS.readFile(name)).map(c => String.fromCharCode(c)).join('');
  } catch (error) {
    return null;
  }
}, name);
// The files of the table folder kept in IndexedDB (not in the page's memory).
const kept = page => page.evaluate(() => new Promise(resolve => {
  const open = indexedDB.open('/Save');
  open.onerror = () => resolve([]);
  open.onsuccess = () => {
    const db = open.result;
    if (!db.objectStoreNames.contains('FILE_DATA'))
      return resolve([]);
    const keys = db.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
    keys.onsuccess = () => resolve(keys.result.map(String).sort());
  };
}));
// The first round record kept in IndexedDB, as text, or null.
const keptRound = page => page.evaluate(() => new Promise(resolve => {
  const open = indexedDB.open('/Save');
  open.onerror = () => resolve(null);
  open.onsuccess = () => {
    const store = open.result.transaction('FILE_DATA').objectStore('FILE_DATA');
    const all = store.getAll(IDBKeyRange.bound('/Save/Rounds/', '/Save/Rounds/\uffff'));
    all.onsuccess = () => {
      const file = all.result.find(entry => entry.contents && entry.contents.length);
      resolve(file ? new TextDecoder().decode(file.contents) : null);
    };
  };
}));
const started = page => until(() => page.evaluate(() => !!window.Module && !!Module.solrindFirstPicture), 60, 'the first picture');
const welcome = page => shows(page, 'Backgrounds/Welcome', 120);

async function openGame(browser, url, viewport, before) {
  const page = await browser.newPage();
  const lines = [];
  page.on('console', message => lines.push(message.text()));
  page.on('pageerror', error => lines.push('page error: ' + error.message));
  await page.setViewport(viewport);
  if (before)
    await page.evaluateOnNewDocument(before);
  // Print dialogs are counted, not opened.
  await page.evaluateOnNewDocument(() => {
    window.print = () => { window.top.solrindPrints = (window.top.solrindPrints || 0) + 1; };
  });
  await page.goto(url);
  return {page, lines};
}

async function main() {
  const server = await serve(path.resolve(site));
  const browser = await launch();
  try {
    const desktop = {width: 1280, height: 800, hasTouch: true};
    const {page, lines} = await openGame(browser, server.url, desktop);
    await started(page);
    const first = await page.evaluate(() => Module.solrindFirstPicture);
    console.log('     the first picture ' + Math.round(first) + ' ms after navigation');
    await eventually('the first start screen', () => shows(page, 'Screens/Startscreen-01', 0), 10);
    await eventually('the welcome screen after the start screens', () => welcome(page), 30);
    check('audio opened', false, lines.some(line => line.startsWith("Couldn't open audio")));
    check('the page in the brand\'s words', ['The Solrind Puzzle', 'en', 'Print'], await page.evaluate(
        () => [document.title, document.documentElement.lang, document.getElementById('print').textContent]));
    check('its icon', 200, await page.evaluate(() => fetch('favicon.png').then(r => r.status)));
    check('nothing went wrong on the page', [], lines.filter(line => /error|abort/i.test(line)));

    await page.keyboard.press('r');
    await eventually('R: the prizes', () => shows(page, 'Backgrounds/Prizes1', 120));
    const content = await pagePoint(page, 400, 300);
    await page.touchscreen.tap(content.x, content.y);
    await eventually('a tap on the page: the next prize page', () => shows(page, 'Backgrounds/Prizes2', 120));
    // A table that cannot be used, put there behind the game's back: the highscore screen
    // sets it aside (without hard links) and saves a new one, both written through.
    await page.evaluate(() => FS.writeFile('/Save/Highscore.hs', 'short'));
    const button = await pagePoint(page, 60, 370);
    await page.mouse.click(button.x, button.y);
    await eventually('a click on the highscore button: the table set aside and saved',
                     async () => (await fileOf(page, '/Save/Highscore.hs.rejected')) === 'short' &&
                                 ((await fileOf(page, '/Save/Highscore.hs')) || '').length === 520);
    await eventually('both kept in IndexedDB', async () => (await kept(page)).length >= 2, 10);
    check('what IndexedDB keeps', ['/Save/Highscore.hs', '/Save/Highscore.hs.rejected'], await kept(page));

    // The certificate as P opens it: the page in the overlay, filled in, its print dialog.
    await page.evaluate(() => Module.solrindCertificate('02:05', 'Cheaters will be punished!'));
    let frame = null;
    await eventually('the certificate page filled in', async () => {
      frame = page.frames().find(f => f.url().includes('certificate.html'));
      return !!frame && await frame.evaluate(() => document.body.dataset.filled === 'yes');
    }, 10);
    if (frame) {
      check('the certificate\'s texts', ['02:05', '2 minutes and 5 seconds', 'Cheaters will be punished!'],
            await frame.evaluate(() => ['time', 'duration', 'check'].map(id => document.getElementById(id).textContent)));
      check('the printed date', true, await frame.evaluate(() => /^Printed [0-9]{2} [A-Z][a-z]+ [0-9]{4} at [0-9]{2}:[0-9]{2}$/.test(document.getElementById('printed').textContent)));
      await eventually('its print dialog', () => page.evaluate(() => window.solrindPrints === 1), 10);
      await page.screenshot({path: path.join(shots, 'web-certificate.png')});
    }
    await page.click('#close');

    await page.reload();
    await started(page);
    check('after a reload: the table and the set-aside one',
          ['short', 520], [await fileOf(page, '/Save/Highscore.hs.rejected'), ((await fileOf(page, '/Save/Highscore.hs')) || '').length]);
    await eventually('the welcome screen again', () => welcome(page), 30);

    await page.keyboard.press('s');
    // The hint above the board, which the round never draws over, in place: the slide is over.
    await eventually('S: the game screen', () => shows(page, 'Backgrounds/GameBackground', 120, [10, 16, 22, 28]));
    const corner = await pagePoint(page, 200, 80);
    await page.touchscreen.tap(corner.x, corner.y);
    await eventually('a tap on the corner: a piece slides to (4, 0)', async () => (await cells(page)) === '4,0', 10);
    // A drag counts only once nothing moves: the board drawn alike over three frames.
    const board = () => page.evaluate(() => Array.from(document.getElementById('canvas')
        .getContext('2d').getImageData(160, 40, 440, 440).data).join());
    const still = () => until(async () => {
      const before = await board();
      await new Promise(resolve => setTimeout(resolve, 120));
      return (await board()) === before;
    }, 10, 'the board still');
    await still();
    const piece = await pagePoint(page, 160 + 88 * 4 + 44, 84);
    await page.touchscreen.touchStart(piece.x, piece.y);
    await page.touchscreen.touchMove(piece.x, piece.y + 40);
    await page.touchscreen.touchEnd();
    await eventually('a finger drag down: it slides to (4, 4)', async () => (await cells(page)) === '4,4', 10);
    // A finger that moves and lifts over several frames.
    await still();
    const from = await pagePoint(page, 160 + 88 * 4 + 44, 40 + 88 * 4 + 44);
    const to = await pagePoint(page, 160 + 88 * 2, 40 + 88 * 4 + 50);
    await page.touchscreen.touchStart(from.x, from.y);
    for (let step = 1; step <= 4; ++step) {
      await new Promise(resolve => setTimeout(resolve, 30));
      await page.touchscreen.touchMove(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4);
    }
    await new Promise(resolve => setTimeout(resolve, 60));
    await page.touchscreen.touchEnd();
    await eventually('a finger drag left over several frames: it slides out of the right column',
                     async () => (await cells(page)) === '', 10);

    // A hidden tab: no frame, so the round's clock stands still; seen again, it runs on.
    const clock = () => page.evaluate(() => Array.from(document.getElementById('canvas')
        .getContext('2d').getImageData(505, 492, 95, 17).data).join());
    const setHidden = hidden => page.evaluate(hidden => {
      Object.defineProperty(document, 'hidden', {configurable: true, get: () => hidden});
      document.dispatchEvent(new Event('visibilitychange'));
    }, hidden);
    await setHidden(true);
    const hiddenAt = await clock();
    await new Promise(resolve => setTimeout(resolve, 2500));  // longer than a second of the clock
    check('hidden for 2.5 s: the clock stood still', hiddenAt, await clock());
    await setHidden(false);
    await eventually('seen again: the clock runs on', async () => (await clock()) !== hiddenAt, 10);
    await page.screenshot({path: path.join(shots, 'web-desktop.png')});
    await page.keyboard.press('q');
    await eventually('Q: the round ends, the welcome screen', () => welcome(page), 30);
    // Its record, from IndexedDB, proven on the desktop with the browser's C library's rand.
    let round = null;
    await eventually('the round kept in IndexedDB', async () => (round = await keptRound(page)) !== null, 10);
    const record = JSON.parse(round || '{}');
    check('its moves, kiosk and generator', ['release down left', 'web', 'musl', false],
          [(record.moves || []).map(move => move.move).join(' '), record.kiosk, record.library, record.completed]);
    const file = path.join(shots, 'web-round.json');
    fs.writeFileSync(file, round || '');
    const said = require('child_process').spawnSync(replay, ['verify', file], {encoding: 'utf8'});
    check('it verifies on the desktop', file + ': verified: given up at ' + record.time + ' at frame ' +
          record.frames + ' (musl, seed ' + record.seed + ')\n', said.stdout);

    // No Web Audio at all: the game's own line, and the game plays on.
    const silent = await openGame(browser, server.url, desktop, () => {
      delete window.AudioContext;
      delete window.webkitAudioContext;
    });
    await eventually('without audio: the game\'s line', () => silent.lines.some(line => line.startsWith("Couldn't open audio: ")), 60);
    await eventually('and the welcome screen', () => welcome(silent.page), 30);
    await silent.page.close();

    const phone = await openGame(browser, server.url, {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2});
    await eventually('on a phone: the welcome screen', () => welcome(phone.page), 60);
    check('the picture as wide as the phone, its shape kept', [390, 317],
          await phone.page.evaluate(() => {
            const r = document.getElementById('canvas').getBoundingClientRect();
            return [Math.round(r.width), Math.round(r.height)];
          }));
    await phone.page.screenshot({path: path.join(shots, 'web-phone.png')});
    // A phone's keyboard, as the name entry asks for it: the unseen field has the focus, and
    // what is typed there (no key codes) reaches the game as keys: S starts a round.
    await phone.page.evaluate(() => Module.solrindKeyboard(true));
    check('a phone\'s keyboard: its field has the focus', 'keyboard',
          await phone.page.evaluate(() => document.activeElement.id));
    await phone.page.keyboard.sendCharacter('s');
    await eventually('S typed on it: the game screen',
                     () => shows(phone.page, 'Backgrounds/GameBackground', 120, [10, 16, 22, 28]));
    // A keyboard that composes (Android's): p, po, pol, then the word committed. Only what is
    // committed is typed, once.
    await phone.page.evaluate(() => {
      const typed = Module._solrindTyped;
      window.solrindKeys = [];
      Module._solrindTyped = key => (window.solrindKeys.push(key), typed(key));
    });
    const ime = await phone.page.createCDPSession();
    for (const text of ['p', 'po', 'pol'])
      await ime.send('Input.imeSetComposition', {text, selectionStart: text.length, selectionEnd: text.length});
    await ime.send('Input.insertText', {text: 'pol'});
    await ime.send('Input.imeSetComposition', {text: 'a', selectionStart: 1, selectionEnd: 1});
    await ime.send('Input.imeSetComposition', {text: '', selectionStart: 0, selectionEnd: 0});  // given up
    await phone.page.keyboard.sendCharacter('x');
    check('a composed word reaches the game once, as committed',
          'polx', await phone.page.evaluate(() => String.fromCharCode(...window.solrindKeys)));
  } finally {
    await browser.close();
    await server.close();
  }
}

run(main);
