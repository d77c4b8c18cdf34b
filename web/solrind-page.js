// The page around the game: the canvas the game draws into, the highscore table kept in the
// browser (IndexedDB), the time a hidden tab stands still, the full-screen button, the
// certificate page opened for printing, and a phone's keyboard for the name.
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
    },
    onExit: () => {
      say(texts.ended);
    },
    onAbort: what => {
      say(texts.stopped.split('{what}').join(what));
    },
    solrindHiddenMs: () =>
      Math.round(hiddenTotal + (hiddenSince === null ? 0 : performance.now() - hiddenSince)),
    solrindCertificate: (time, check) => {
      const fields = new URLSearchParams({time: time, check: check});
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
