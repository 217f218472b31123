// Lesson links on the page. An address ending in #collatz=27 (lesson_link.js
// says which) types, once the menu waits, the keys a student would: the
// menu's choice when the menu prompt is on screen, the number when the
// demonstration's prompt is, so the screen, the picture and the saved session
// are those of typing them. A new # while the page is open starts that
// demonstration (starting the program again unless it waits at the menu).
// Anything else after # types nothing, a number the demonstration would
// refuse (or leaves on) included, and a banner over the terminal says why,
// in the page's language, until it is closed or a good link is followed. The Link
// control copies the address of the demonstration and number entered last
// and, on a served page, shows it as a QR code for phones (not from disk,
// where no other device could open it). Nothing of the address is ever put
// into the page but through textContent. Runs after page.js and controls.js
// (whose note() it writes its sentences with).
'use strict';

(function () {
  const { parse, hashFor } = window.quorvantileLessonLink;
  const page = window.quorvantile;
  const { term } = page;
  if (!term) return; // no terminal widget: nothing to type into, page.js says why
  const i18n = window.quorvantileI18n;
  const t = (key, vars) => i18n.t(key, vars);
  const { focusAfterClick } = window.quorvantilePageCommon;
  const { note } = window.quorvantileControls;

  // The program's prompts (app/menu.cc, demos/*.cc) at which each key is
  // typed: the first line at the menu, the number at the demonstration's.
  const MENU_PROMPT = /Please choose:$/;
  const NUMBER_PROMPT = /(Please input a positive (even )?integer|please input the end number):$/;
  // How long "Copied the link ..." stays in the status line.
  const NOTE_MS = 8000;
  // The QR code's cells in px, and its quiet border in cells (the code's
  // own rule is four).
  const QR_CELL_PX = 6;
  const QR_QUIET_CELLS = 4;

  // A bad link is quoted up to this many characters.
  const SHOWN_CHARS = 40;

  const linkButton = document.getElementById('link');
  const dialog = document.getElementById('share');
  const served = location.protocol === 'http:' || location.protocol === 'https:';

  // The lines still to type for the link being followed, or null.
  let pending = null;
  let last = null; // { demo, number } entered last

  // The cursor's row when it stands right after the text of that row, or
  // null: a prompt waits there, nothing typed after it yet.
  function promptRow() {
    if (page.state !== 'running') return null;
    const buffer = term.buffer.active;
    const line = buffer.getLine(buffer.baseY + buffer.cursorY);
    if (!line) return null;
    const text = line.translateToString(true);
    return buffer.cursorX === text.length ? text : null;
  }

  function typeWhenAsked() {
    if (!pending) return;
    const row = promptRow();
    if (row === null) return;
    const prompt = pending.length === 2 ? MENU_PROMPT : NUMBER_PROMPT;
    if (!prompt.test(row)) {
      // Back at the menu before the number was asked for: given up.
      if (pending.length === 1 && MENU_PROMPT.test(row)) pending = null;
      return;
    }
    const line = pending.shift();
    if (pending.length === 0) pending = null;
    term.input(`${line}\r`);
  }

  // The banner over the terminal for a link that cannot be followed.
  const banner = document.createElement('div');
  banner.id = 'lesson-banner';
  banner.setAttribute('role', 'alert');
  banner.hidden = true;
  const bannerWords = document.createElement('p');
  const bannerClose = document.createElement('button');
  bannerClose.type = 'button';
  bannerClose.dataset.i18n = 'lesson.close';
  bannerClose.textContent = t('lesson.close');
  banner.append(bannerWords, bannerClose);
  document.getElementById('terminal-pane').append(banner);
  let refused = null; // { hash, link } the banner speaks of

  function sayRefused() {
    banner.hidden = refused === null;
    if (refused === null) return;
    const { hash, link } = refused;
    const shown = hash.length > SHOWN_CHARS ? `${hash.slice(0, SHOWN_CHARS)}…` : hash;
    if (link.why === 'refused') {
      bannerWords.textContent = t('lesson.bad.refused', { link: shown, takes: t(`lesson.takes.${link.takes}`) });
    } else if (link.why === 'leaves') {
      bannerWords.textContent = t('lesson.bad.leaves', { link: shown, number: link.number });
    } else {
      bannerWords.textContent = t('lesson.bad.unknown', { link: shown });
    }
  }

  bannerClose.addEventListener('click', (event) => {
    refused = null;
    sayRefused();
    focusAfterClick(event);
  });
  window.addEventListener('quorvantile-lang', sayRefused);

  function follow(hash) {
    const link = parse(hash);
    if (link.kind === 'none') return;
    refused = link.kind === 'bad' ? { hash, link } : null;
    sayRefused();
    if (link.kind === 'bad') {
      pending = null;
      return;
    }
    pending = link.keys.split('\r').filter((line) => line !== '');
    if (page.state === 'failed') return; // the program cannot load: nothing to type into
    const atMenu = promptRow();
    if (page.state === 'loading' || (atMenu !== null && MENU_PROMPT.test(atMenu))) typeWhenAsked();
    else page.restart();
  }

  term.onWriteParsed(typeWhenAsked);
  window.addEventListener('quorvantile-state', typeWhenAsked);
  window.addEventListener('hashchange', () => follow(location.hash));

  // ---------------------------------------------------------------------------
  // The Link control.

  // The last number taught: not the one that leaves the demonstration.
  window.addEventListener('quorvantile-accepted', (event) => {
    const { demo, number } = event.detail || {};
    if (!hashFor(demo, number)) return;
    last = { demo, number };
    linkButton.disabled = false;
  });

  function drawCode(canvas, text) {
    const code = window.qrcode(0, 'M');
    code.addData(text);
    code.make();
    const cells = code.getModuleCount() + 2 * QR_QUIET_CELLS;
    canvas.width = cells * QR_CELL_PX;
    canvas.height = cells * QR_CELL_PX;
    const pen = canvas.getContext('2d');
    pen.fillStyle = '#ffffff';
    pen.fillRect(0, 0, canvas.width, canvas.height);
    pen.fillStyle = '#000000';
    for (let row = 0; row < code.getModuleCount(); row++) {
      for (let col = 0; col < code.getModuleCount(); col++) {
        if (!code.isDark(row, col)) continue;
        pen.fillRect((col + QR_QUIET_CELLS) * QR_CELL_PX, (row + QR_QUIET_CELLS) * QR_CELL_PX, QR_CELL_PX, QR_CELL_PX);
      }
    }
  }

  async function shareLink() {
    if (!last) return;
    const address = location.href.split('#')[0] + hashFor(last.demo, last.number);
    try {
      await navigator.clipboard.writeText(address);
      note(t('lesson.copied', { link: address }), NOTE_MS);
    } catch {
      note(t('lesson.copyFailed', { link: address }), NOTE_MS);
    }
    if (!served || typeof window.qrcode !== 'function') return;
    drawCode(document.getElementById('share-code'), address);
    document.getElementById('share-address').textContent = address;
    dialog.showModal();
  }

  // The keyboard back to the terminal by the page's one rule (after a mouse
  // click, never after a tap), once the QR code is no longer in front of it.
  linkButton.addEventListener('click', async (event) => {
    await shareLink();
    if (!dialog.open) focusAfterClick(event);
  });
  document.getElementById('share-close').addEventListener('click', (event) => {
    dialog.close();
    focusAfterClick(event);
  });

  follow(location.hash);
})();
