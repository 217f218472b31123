// The bar below the terminal: its buttons, the status line in the page's
// language, its notes, the loading box over the terminal, and the Link
// control with its dialog.
//   createControlBar({ run, view, exporter }) -> { note(text, ms) }
// It drives the run (stop(), paused, setPaused(bool), restart()) and renders
// its 'state' events ({ state, reason, progress, canRestart, paused }).
// note() is the one writer of the note beside the status: `text` shown for
// `ms`, 0 for until the next note.
// A button of the bar is its <button> in #controls (index.html) with its
// words in shell/i18n.js; its action is wired here with onClick().
import qrcode from 'qrcode-generator';
import { i18n } from './i18n.js';
import { load, store, focusAfterClick } from './page_common.js';
import { hashFor } from './lesson_link.js';

// How long a note ("Copied 12 lines.") stays beside the status.
const NOTE_MS = 4000;
// ...and one that asks the user to do something.
const LONG_NOTE_MS = 10000;
const STORE = {
  pictures: 'quorvantile.pictures',
  reader: 'quorvantile.screenReader',
};

// How long "Copied the link ..." stays.
const LINK_NOTE_MS = 8000;
// The QR code's cells in px, and its quiet border in cells (the code's
// own rule is four).
const QR_CELL_PX = 6;
const QR_QUIET_CELLS = 4;

export function createControlBar({ run, view, exporter }) {
  const { term } = run;
  const t = (key, vars) => i18n.t(key, vars);
  const byId = (id) => document.getElementById(id);
  const loading = byId('loading');
  const loadingText = byId('loading-text');
  const loadingProgress = byId('loading-progress');
  const statusLine = byId('status');
  const noteLine = byId('note');
  const picturePane = byId('picture');
  // The bar's buttons by their ids, as index.html has them.
  const buttons = Object.fromEntries([...document.querySelectorAll('#controls button')].map((b) => [b.id, b]));

  // ---------------------------------------------------------------------------
  // The status line and the loading box.

  let shown = { state: run.state, reason: run.reason, progress: null, canRestart: false }; // the last state event
  let noteTimer = 0;

  function note(text, ms = NOTE_MS) {
    noteLine.textContent = text;
    clearTimeout(noteTimer);
    if (ms === 0) return;
    noteTimer = setTimeout(() => {
      noteLine.textContent = '';
    }, ms);
  }

  const known = (key) => t(key) !== key;
  const ended = (state) => state === 'stopped' || state === 'ended' || state === 'failed';

  function statusText() {
    const { state, reason } = shown;
    if (reason && reason !== 'stopped-by-user' && known(`status.${reason}`)) return t(`status.${reason}`);
    if (state === 'running' && run.paused) return t('status.paused');
    return known(`status.${state}`) ? t(`status.${state}`) : state;
  }

  function loadingWords() {
    const { progress } = shown;
    const megabytes = (bytes) => (bytes / 1e6).toFixed(1);
    if (!progress || !progress.loaded) return t('status.loading');
    if (!progress.total) return t('loading.bytes', { loaded: megabytes(progress.loaded) });
    return t('loading.progress', {
      percent: Math.floor((100 * progress.loaded) / progress.total),
      total: megabytes(progress.total),
    });
  }

  function render() {
    const { state, progress } = shown;
    statusLine.textContent = statusText();
    loading.hidden = !(state === 'loading' || state === 'failed');
    loading.classList.toggle('failed', state === 'failed');
    loadingText.textContent = state === 'failed' ? statusText() : loadingWords();
    if (progress && progress.total) {
      loadingProgress.max = progress.total;
      loadingProgress.value = progress.loaded;
    } else {
      loadingProgress.removeAttribute('value');
    }
    buttons.restart.hidden = !(ended(state) && shown.canRestart);
    const running = state === 'running';
    buttons.stop.disabled = !running;
    buttons.pause.disabled = !running;
    const paused = running && !!run.paused;
    buttons.pause.setAttribute('aria-pressed', String(paused));
    buttons.pause.textContent = t(paused ? 'control.resume' : 'control.pause');
    buttons.pause.title = t(paused ? 'control.resume.hint' : 'control.pause.hint');
    buttons.fullscreen.textContent = t(document.fullscreenElement ? 'control.fullscreen.leave' : 'control.fullscreen');
    buttons.lang.lang = i18n.lang === 'zh' ? 'en' : 'zh'; // the switch is named in the other language
    picturePane.dataset.hint = t('page.pictureHint'); // shown while the pane is empty
  }

  run.addEventListener('state', (event) => {
    const onRestart = document.activeElement === buttons.restart; // hidden below once running
    shown = { ...event.detail, canRestart: !!event.detail.canRestart };
    render();
    if (ended(shown.state) && shown.canRestart) buttons.restart.focus();
    else if (shown.state === 'running' && onRestart) term.focus();
  });

  i18n.addEventListener('lang', () => {
    render();
    note('', 0);
  });

  // ---------------------------------------------------------------------------
  // The buttons.

  function onClick(button, action) {
    button.addEventListener('click', async (event) => {
      await action();
      focusAfterClick(event, term);
    });
  }

  onClick(buttons.stop, () => run.stop());
  onClick(buttons.pause, () => {
    run.setPaused(!run.paused);
    render();
  });
  onClick(buttons.restart, () => run.restart());

  view.addEventListener('fit', (event) => {
    buttons.smaller.disabled = !event.detail.smaller;
    buttons.larger.disabled = !event.detail.larger;
  });
  // Whether the picture's pane takes columns from the terminal.
  function pictureBeside() {
    const picture = picturePane.getBoundingClientRect();
    return picture.width > 0 && picture.left >= byId('terminal-pane').getBoundingClientRect().right - 1;
  }
  // Where the columns no longer fit, the user hears why the lines' ends are
  // out of sight, and what gives them room.
  function changeTextSize(step) {
    const { size } = view.textSize(step);
    if (!view.linesCut()) note(t('note.textSize', { size }));
    else if (pictureBeside()) note(t('note.textSizePicture', { size }), LONG_NOTE_MS);
    else note(t('note.textSizeScroll', { size }), LONG_NOTE_MS);
  }
  onClick(buttons.smaller, () => changeTextSize(-1));
  onClick(buttons.larger, () => changeTextSize(1));

  onClick(buttons.save, () => note(t('note.saved', { name: exporter.save() })));
  // Printing says first what goes on paper (a long session's end only),
  // from the control and from the browser's own key, Ctrl-P.
  async function printSession() {
    const { lines, total } = exporter.printout();
    note(lines < total ? t('note.printingCut', { lines, total }) : t('note.printing', { lines }), LONG_NOTE_MS);
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    window.print();
  }
  onClick(buttons.print, printSession);
  window.addEventListener(
    'keydown',
    (event) => {
      if (!(event.ctrlKey || event.metaKey) || event.altKey || event.shiftKey || event.key.toLowerCase() !== 'p')
        return;
      event.preventDefault();
      event.stopPropagation(); // not a key for the program
      printSession();
    },
    true,
  );
  onClick(buttons.copy, async () => {
    const lines = await exporter.copyAll();
    note(lines === null ? t('note.copyFailed') : t('note.copied', { lines }));
  });

  buttons.fullscreen.hidden = !document.fullscreenEnabled;
  onClick(buttons.fullscreen, () =>
    (document.fullscreenElement ? document.exitFullscreen() : document.documentElement.requestFullscreen()).catch(
      () => {},
    ),
  );
  document.addEventListener('fullscreenchange', render);

  function setReader(on) {
    term.options.screenReaderMode = on;
    buttons.reader.setAttribute('aria-pressed', String(on));
    store(STORE.reader, on ? 'on' : 'off');
  }
  onClick(buttons.reader, () => setReader(!term.options.screenReaderMode));

  function setPictures(on) {
    document.documentElement.dataset.pictures = on ? 'on' : 'off';
    buttons.pictures.setAttribute('aria-pressed', String(on));
    store(STORE.pictures, on ? 'on' : 'off');
  }
  onClick(buttons.pictures, () => setPictures(document.documentElement.dataset.pictures === 'off'));

  onClick(buttons.lang, () => i18n.setLang(i18n.lang === 'zh' ? 'en' : 'zh'));

  // ---------------------------------------------------------------------------
  // The Link control: copies the address of the demonstration and number
  // entered last and, on a served page, shows it as a QR code for phones
  // (not from disk, where no other device could open it). Nothing of the
  // address is ever put into the page but through textContent.

  const dialog = byId('share');
  const served = location.protocol === 'http:' || location.protocol === 'https:';
  let last = null; // { demo, number } entered last

  // The last number taught: not the one that leaves the demonstration.
  run.addEventListener('accepted', (event) => {
    const { demo, number } = event.detail || {};
    if (!hashFor(demo, number)) return;
    last = { demo, number };
    buttons.link.disabled = false;
  });

  function drawCode(canvas, text) {
    const code = qrcode(0, 'M');
    code.addData(text);
    code.make();
    const cells = code.getModuleCount() + 2 * QR_QUIET_CELLS;
    canvas.width = cells * QR_CELL_PX;
    canvas.height = cells * QR_CELL_PX;
    const colours = getComputedStyle(document.documentElement);
    const pen = canvas.getContext('2d');
    pen.fillStyle = colours.getPropertyValue('--qr-light').trim();
    pen.fillRect(0, 0, canvas.width, canvas.height);
    pen.fillStyle = colours.getPropertyValue('--qr-dark').trim();
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
      note(t('lesson.copied', { link: address }), LINK_NOTE_MS);
    } catch {
      note(t('lesson.copyFailed', { link: address }), LINK_NOTE_MS);
    }
    if (!served) return;
    drawCode(byId('share-code'), address);
    byId('share-address').textContent = address;
    dialog.showModal();
  }

  // The keyboard back to the terminal by the page's one rule (after a mouse
  // click, never after a tap), once the QR code is no longer in front of it.
  buttons.link.addEventListener('click', async (event) => {
    await shareLink();
    if (!dialog.open) focusAfterClick(event, term);
  });
  byId('share-close').addEventListener('click', (event) => {
    dialog.close();
    focusAfterClick(event, term);
  });

  // ---------------------------------------------------------------------------

  setPictures(load(STORE.pictures, 'on') !== 'off');
  if (load(STORE.reader, 'off') === 'on') setReader(true);
  const { smaller, larger } = view.textSize(0);
  buttons.smaller.disabled = !smaller;
  buttons.larger.disabled = !larger;
  i18n.apply();
  render();
  return { note };
}
