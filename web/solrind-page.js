// The page around the game: the canvas the game draws into, the highscore table kept in the
// browser (IndexedDB), the time a hidden tab stands still, the full-screen button, the
// certificate page opened for printing, a phone's keyboard for the name, and the event the
// site belongs to when an event server serves it.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const keyboard = document.getElementById('keyboard');
  const certificate = document.getElementById('certificate');
  const certificatePage = document.getElementById('certificate-page');

  // The page's own texts, in the brand's words (the site's index.html is made from the brand).
  const texts = JSON.parse(document.getElementById('texts').textContent);
  const say = text => {
    status.textContent = text;
    status.hidden = !text;
  };

  // The milliseconds the tab has been hidden, all told: the game's clock leaves them out.
  let hiddenSince = document.hidden ? performance.now() : null;
  let hiddenTotal = 0;
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      hiddenSince = performance.now();
    } else if (hiddenSince !== null) {
      hiddenTotal += performance.now() - hiddenSince;
      hiddenSince = null;
    }
  });

  // A phone's keyboard sends no key codes (229, or no key event at all): what it types into
  // the unseen field reaches the game as key presses. Keys with codes reach it through SDL. A
  // keyboard that composes (Android's) sends each state of the word being composed, p, po,
  // pol: only the text it commits counts, once; a composition given up types nothing.
  let keyWithCode = false;
  let composing = false;
  const type = text => {
    for (const c of text)
      Module._solrindTyped(c.toLowerCase().charCodeAt(0));
  };
  keyboard.addEventListener('keydown', event => {
    keyWithCode = event.keyCode !== 229 && event.key !== 'Unidentified';
  });
  keyboard.addEventListener('compositionstart', () => {
    composing = true;
  });
  keyboard.addEventListener('compositionend', event => {
    composing = false;
    type(event.data || '');
    keyboard.value = '';
  });
  keyboard.addEventListener('input', event => {
    if (composing || event.isComposing || event.inputType === 'insertCompositionText')
      return;  // a state of the composition: the committed text follows at its end
    if (!keyWithCode) {
      if (event.inputType === 'deleteContentBackward')
        Module._solrindTyped(8);  // backspace
      type(event.data || '');
    }
    keyWithCode = false;
    keyboard.value = '';
  });
  const touchScreen = window.matchMedia('(pointer: coarse)').matches;
  let wantsKeyboard = false;
  // A browser shows its keyboard only for a touch: a tap during the name entry asks again.
  canvas.addEventListener('touchend', () => {
    if (wantsKeyboard)
      keyboard.focus();
  });

  document.getElementById('fullscreen').addEventListener('click', () => {
    const stage = document.documentElement;
    (stage.requestFullscreen || stage.webkitRequestFullscreen).call(stage);
    canvas.focus();
  });
  document.getElementById('print').addEventListener('click', () => {
    certificatePage.contentWindow.print();
  });
  document.getElementById('close').addEventListener('click', () => {
    certificate.hidden = true;
    certificatePage.src = 'about:blank';
    canvas.focus();
  });

  // Beside an event server (which serves the site at /play/ and answers at /api/), the rounds
  // belong to the event: each round's seed is the server's, issued when asked; each round's
  // file goes to the server and is removed once it is kept (or set aside when refused); the
  // event's ten best, read again at each pass, become the table whenever the game uses it.
  // Without a server the page plays as ever.
  const api = path => new URL('../api/' + path, location.href).href;
  const event = {on: false, next: null, issued: new Set(JSON.parse(localStorage.getItem('solrind-issued') || '[]'))};
  const kEventEvery = 3000;  // between deliveries and readings of the table
  let asking = null;  // one request for a seed at a time
  const askSeed = () => asking || (asking = requestSeed().finally(() => { asking = null; }));
  async function requestSeed() {
    try {
      const answer = await fetch(api('seeds'), {method: 'POST', cache: 'no-store'});
      const seed = answer.status === 201 ? await answer.json() : null;
      if (!seed || !/^[0-9a-f]{32}$/.test(seed.id) || !Number.isInteger(seed.seed))
        return false;
      event.next = seed;
      return true;
    } catch (error) {
      return false;
    }
  }
  function noteIssued(id) {  // kept across reloads: a round delivered later is still known
    event.issued.add(id);
    localStorage.setItem('solrind-issued', JSON.stringify(Array.from(event.issued).slice(-200)));
  }
  // The round files of seeds the server issued, oldest first; the rest are the browser's own.
  function waitingRounds() {
    let names = [];
    try {
      names = FS.readdir('/Save/Rounds').filter(name => name.endsWith('.json')).sort();
    } catch (error) {
      return [];
    }
    return names.map(name => {
      const path = '/Save/Rounds/' + name;
      try {
        return {name, path, body: FS.readFile(path, {encoding: 'utf8'})};
      } catch (error) {
        return {name, path, body: ''};
      }
    }).filter(round => {
      try {
        return event.issued.has(JSON.parse(round.body).id);
      } catch (error) {
        return false;  // no round file: not the event's
      }
    });
  }
  async function deliverRounds() {
    let changed = false;
    for (const round of waitingRounds()) {
      const answer = await fetch(api('website/rounds'),
                                 {method: 'POST', headers: {'Content-Type': 'application/json'}, body: round.body});
      if (answer.status === 200 || answer.status === 201) {
        FS.unlink(round.path);
      } else if ([400, 409, 413, 422].includes(answer.status)) {
        const why = (await answer.json().catch(() => ({}))).error;
        try { FS.mkdir('/Save/Rounds.refused'); } catch (error) { /* there already */ }
        FS.rename(round.path, '/Save/Rounds.refused/' + round.name);
        console.warn('Solrind: the event server refused ' + round.name + ': ' + why);
      } else {
        break;  // too many, or no database: later
      }
      changed = true;
    }
    if (changed)
      FS.syncfs(false, error => error && console.error('Solrind: ' + error));
    const best = await fetch(api('best'), {cache: 'no-store'});
    if (best.ok)  // the game takes it before it uses its table
      Module.solrindEventTable = await best.text();
  }
  async function eventPass() {
    try {
      if (!event.next)
        await askSeed();
      await deliverRounds();
      window.solrindEventPass = Date.now();  // for the tests: a pass went through
    } catch (error) {
      // the server does not answer now: the rounds wait in the browser
    }
    setTimeout(eventPass, kEventEvery);
  }

  window.Module = {
    canvas: canvas,
    print: text => console.log(text),
    printErr: text => console.error(text),
    // Emscripten's own progress lines ("Downloading data... (12/34)") in the brand's words.
    setStatus: text => {
      const part = /\((\d+)\/(\d+)\)/.exec(text);
      say(!text ? '' : part && +part[2] ? texts.loading + ' ' + Math.floor(100 * part[1] / part[2]) + ' %'
                                        : texts.loading);
    },
    preRun: [() => {
      // The table lives in IndexedDB: read before the game starts, written at every save.
      FS.mkdir('/Save');
      FS.mount(IDBFS, {}, '/Save');
      FS.mkdir('/Bin');
      Module.addRunDependency('solrind-table');
      FS.syncfs(true, error => {
        if (error)
          console.error('Solrind: the table kept in this browser cannot be read: ' + error);
        Module.removeRunDependency('solrind-table');
      });
    }],
    onRuntimeInitialized: () => {
      say('');
      canvas.focus();
      askSeed().then(on => {
        event.on = on;
        if (on)
          eventPass();
      });
    },
    onExit: () => {
      say(texts.ended);
    },
    onAbort: what => {
      say(texts.stopped.split('{what}').join(what));
    },
    solrindHiddenMs: () =>
      Math.round(hiddenTotal + (hiddenSince === null ? 0 : performance.now() - hiddenSince)),
    // The next round's seed in an event, taken once; the next one is asked for at once.
    solrindSeed: () => {
      const seed = event.next;
      event.next = null;
      if (!seed)
        return null;
      noteIssued(seed.id);
      askSeed();
      return seed;
    },
    solrindCertificate: (time, check, round) => {
      const fields = new URLSearchParams({time: time, check: check});
      if (event.on && event.issued.has(round))  // the event's round: its code and QR code
        fields.set('code', round.slice(0, 12).toUpperCase().replace(/(.{4})(?=.)/g, '$1-'));
      certificatePage.src = 'certificate.html#' + fields.toString() + '&print';
      certificate.hidden = false;
    },
    solrindKeyboard: on => {
      wantsKeyboard = on && touchScreen;
      if (wantsKeyboard)
        keyboard.focus();
      else if (document.activeElement === keyboard)
        canvas.focus();
    },
  };
})();
