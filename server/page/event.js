// The event's page: the ten best, today's winner and today's numbers from the event server,
// read again every three seconds, so that a new round shows within seconds.
'use strict';

const kEvery = 3000;
const svgNs = 'http://www.w3.org/2000/svg';
let shown = new Set();  // the rows on the page, so that a new one stands out

const words = JSON.parse(document.getElementById('words').textContent);

// Where a round was played: its kiosk, or the website in the brand's word.
const where = round => round.website ? words.website : round.kiosk;

// A name as players read it: the game's font has ø, æ and å where ASCII has } ~ and DEL.
const readable = name => name.replace(/\}/g, 'ø').replace(/~/g, 'æ').replace(/\x7f/g, 'å');

async function json(path) {
  const answer = await fetch(path, {cache: 'no-store'});
  if (!answer.ok)
    throw new Error(path + ': ' + answer.status);
  return answer.json();
}

function cell(row, text) {
  const td = document.createElement('td');
  td.textContent = text;
  row.appendChild(td);
}

function showBest(best) {
  const body = document.querySelector('#best tbody');
  const rows = best.map(round => {
    const row = document.createElement('tr');
    const key = round.started + round.kiosk + round.time;
    [round.rank, readable(round.name), round.time, where(round)].forEach(text => cell(row, text));
    row.classList.toggle('new', shown.size > 0 && !shown.has(key));
    row.classList.toggle('website', round.website);
    row.dataset.key = key;
    return row;
  });
  shown = new Set(rows.map(row => row.dataset.key));
  body.replaceChildren(...rows);
}

function showWinner(today) {
  const winner = today[0];
  document.getElementById('winner').hidden = !winner;
  document.getElementById('nobody').hidden = !!winner;
  if (!winner)
    return;
  document.getElementById('winner-name').textContent = readable(winner.name);
  document.getElementById('winner-time').textContent = winner.time;
  document.getElementById('winner-kiosk').textContent = where(winner);
}

// Bars of the values, labelled below with every step-th label.
function bars(svg, values, labels, step) {
  const most = Math.max(1, ...values);
  const width = 240 / Math.max(values.length, 1);
  const parts = [];
  values.forEach((value, i) => {
    const rect = document.createElementNS(svgNs, 'rect');
    const height = 44 * value / most;
    rect.setAttribute('x', i * width + 0.5);
    rect.setAttribute('y', 47 - height);
    rect.setAttribute('width', Math.max(width - 1, 0.5));
    rect.setAttribute('height', height);
    const title = document.createElementNS(svgNs, 'title');
    title.textContent = labels[i] + ': ' + value;
    rect.appendChild(title);
    parts.push(rect);
    if (i % step === 0) {
      const text = document.createElementNS(svgNs, 'text');
      text.setAttribute('x', i * width);
      text.setAttribute('y', 55);
      text.textContent = labels[i];
      parts.push(text);
    }
  });
  svg.replaceChildren(...parts);
}

function showNumbers(numbers) {
  document.getElementById('rounds').textContent = numbers.rounds;
  document.getElementById('completed').textContent = numbers.completed;
  document.getElementById('share').textContent = Math.round(100 * numbers.share);
  bars(document.getElementById('hours'), numbers.hours.map(h => h.rounds),
       numbers.hours.map(h => String(h.hour).padStart(2, '0')), 3);
  bars(document.getElementById('spread'), numbers.spread.map(s => s.rounds),
       numbers.spread.map(s => s.from), Math.ceil(numbers.spread.length / 6));
}

async function refresh() {
  try {
    const [best, today, numbers] = await Promise.all(
        [json('api/best'), json('api/best?day=today'), json('api/numbers')]);
    showBest(best.best);
    showWinner(today.best);
    showNumbers(numbers);
    document.getElementById('offline').hidden = true;
  } catch (error) {
    document.getElementById('offline').hidden = false;
  }
  window.eventShownAt = Date.now();  // for the tests: the page has read the server
  setTimeout(refresh, kEvery);
}

refresh();
