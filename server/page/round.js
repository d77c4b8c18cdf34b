// A round's page, opened from a certificate's QR code (round.html?code=...&time=...): the round
// the code names, where and when it was played, and whether it is what the certificate says:
// its replay verified by the server now, and its time the certificate's.
'use strict';

(async function () {
  const words = JSON.parse(document.getElementById('words').textContent);
  const given = new URLSearchParams(location.search);
  const fill = (id, text) => { document.getElementById(id).textContent = text; };
  const readable = name => name.replace(/\}/g, 'ø').replace(/~/g, 'æ').replace(/\x7f/g, 'å');
  const verdict = (yes, text) => {
    const shown = document.getElementById('verdict');
    shown.className = yes ? 'yes' : 'no';
    shown.textContent = (yes ? '✓ ' : '✗ ') + text;
    shown.hidden = false;
    document.body.dataset.verdict = yes ? 'verified' : 'not verified';  // for the tests
  };
  const code = given.get('code') || '';
  const shownTime = given.get('time') || '';
  fill('round-code', code.toUpperCase().replace(/[^0-9A-F]/g, '').replace(/(.{4})(?=.)/g, '$1-'));
  fill('round-time', shownTime);
  let answer;
  try {
    answer = await fetch('api/round?' + new URLSearchParams({code: code, time: shownTime}),
                         {cache: 'no-store'});
  } catch (error) {
    document.getElementById('offline').hidden = false;
    return;
  }
  if (answer.status === 404 || answer.status === 400) {
    verdict(false, words.not_verified);
    fill('why', words.no_round);
    return;
  }
  if (!answer.ok) {
    document.getElementById('offline').hidden = false;
    return;
  }
  const round = await answer.json();
  const started = new Date(round.started);
  fill('round-code', round.code);
  fill('round-time', round.completed ? round.time : round.time + ' (' + words.given_up + ')');
  fill('round-name', readable(round.name));
  fill('round-played', words.played.split('{date}').join(started.toLocaleString())
                                   .split('{where}').join(round.website ? words.website : round.kiosk));
  if (round.verified && round.matches && round.completed) {
    verdict(true, words.verified);
  } else {
    verdict(false, words.not_verified);
    fill('why', !round.matches ? words.other_time.split('{shown}').join(shownTime)
                                                 .split('{time}').join(round.time)
                               : round.why);
  }
})();
