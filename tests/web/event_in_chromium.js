// The event's page in headless Chromium, served by a running event server: the ten best as the
// kiosks show them, today's winner and numbers with their charts, legible on a stand's big
// screen and on a phone, and a new round on the page within seconds of its delivery.
// Usage: node event_in_chromium.js <event url> <shots folder> <the kiosks' table times>
//        <solrind-replay> <a kiosk's folder> <its token> <solrind-sync>
'use strict';

const fs = require('fs');
const path = require('path');
const {execFileSync} = require('child_process');
const {launch, until, check, run} = require('./browser.js');

const [url, shots, timesFile, replay, kiosk, token, sync] = process.argv.slice(2);

const read = (page, selector) => page.$$eval(selector, nodes => nodes.map(n => n.textContent));
const shownAfter = (page, since) => until(() => page.evaluate(since => window.eventShownAt > since, since), 20, 'the page read the server');

async function main() {
  fs.mkdirSync(shots, {recursive: true});
  const browser = await launch();
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', error => errors.push(error.message));
    await page.setViewport({width: 1920, height: 1080});
    await page.goto(url);
    await shownAfter(page, 0);
    check('the page in the brand\'s words', 'The Solrind Puzzle, live', await page.title());
    const times = fs.readFileSync(timesFile, 'utf8').trim().split('\n');
    check('the ten best as every kiosk shows them', times, await read(page, '#best tbody td:nth-child(3)'));
    const best = await (await fetch(url + '/api/best')).json();
    check('today\'s winner: the best', [best.best[0].name, best.best[0].time],
          await Promise.all([read(page, '#winner-name'), read(page, '#winner-time')]).then(r => r.map(x => x[0])));
    const numbers = await (await fetch(url + '/api/numbers')).json();
    const kiosks = (await (await fetch(url + '/api/kiosks')).json()).kiosks;
    check('every round of the three kiosks', 30,
          kiosks.filter(k => k.kiosk !== 'the website').reduce((sum, k) => sum + k.rounds, 0));
    check('today\'s numbers as the server counts them',
          [numbers.rounds, numbers.completed, Math.round(100 * numbers.share)].map(String),
          [...await read(page, '#rounds'), ...await read(page, '#completed'), ...await read(page, '#share')]);
    check('a bar for each hour', 24, (await page.$$('#hours rect')).length);
    check('bars for the times', true, (await page.$$('#spread rect')).length > 0);
    check('the server answers', true, await page.$eval('#offline', n => n.hidden));
    const sizes = await page.evaluate(() => ['h1', '#best td'].map(s => parseFloat(getComputedStyle(document.querySelector(s)).fontSize)));
    check('legible across a stand: the title and the rows at least 40 and 30 pixels', true, sizes[0] >= 40 && sizes[1] >= 30);
    await page.screenshot({path: path.join(shots, 'event-big-screen.png')});

    // A new round, played and delivered by a kiosk while the page is open.
    const before = Number((await read(page, '#rounds'))[0]);
    execFileSync(replay, ['play', '--seed', '77', '1', path.join(kiosk, 'Save', 'Rounds')]);
    execFileSync(sync, ['--once', kiosk], {env: {...process.env, SOLRIND_EVENT_URL: url, SOLRIND_EVENT_TOKEN: token}});
    const delivered = Date.now();
    await until(async () => Number((await read(page, '#rounds'))[0]) === before + 1, 10, 'the new round');
    console.log('     the new round on the page ' + (Date.now() - delivered) + ' ms after its delivery');
    check('the new round counted within seconds', before + 1, Number((await read(page, '#rounds'))[0]));

    await page.setViewport({width: 390, height: 844, isMobile: true, hasTouch: true});
    await page.reload();
    await shownAfter(page, 0);
    check('on a phone: nothing wider than the screen', true, await page.evaluate(() => document.documentElement.scrollWidth <= 390));
    check('on a phone: the kiosk column left out', 'none', await page.$eval('#best td:nth-child(4)', n => getComputedStyle(n).display));
    await page.screenshot({path: path.join(shots, 'event-phone.png'), fullPage: true});
    check('nothing went wrong on the page', [], errors);
  } finally {
    await browser.close();
  }
}

run(main);
