// The page around the terminal: its size and text size, the control bar, the
// status line in the page's language, touch scrolling and printing. Runs
// after page.js, whose window.quorvantile it drives:
//   term, state, stop(), paused, setPaused(bool), restart(), sessionText()
// and whose 'quorvantile-state' events ({ state, reason, progress,
// canRestart }) it renders. Where page.js lacks one of these, the control
// that needs it stays disabled or falls back as noted beside it.
'use strict';

(function () {
  // The menu's frame, the listings and the farewell picture are laid out for
  // 80 columns: the terminal never has fewer, and scrolls sideways in its own
  // box where they do not fit.
  const MIN_COLS = 80;
  // Below this the page prefers smaller text to fewer rows: the menu from its
  // banner ("I LOVE C++") to its prompt takes 25 rows (app/menu.cc's
  // showMenu() and runMenu(); layout.test.cjs counts them in the native
  // program's output and holds this number to them).
  const MIN_ROWS = 25;
  // The sizes the page chooses itself: 12 px is the smallest that reads well
  // on a phone held at reading distance, and above 32 px a projector gains
  // legibility only by losing rows.
  const AUTO_FONT_MIN = 12;
  const AUTO_FONT_MAX = 32;
  // The user's smaller/larger steps, in px from the chosen size, and their
  // bounds.
  const TEXT_STEP_PX = 2;
  const TEXT_STEPS_MAX = 8;
  const USER_FONT_MIN = 8;
  const USER_FONT_MAX = 48;
  // How long a note ("Copied 12 lines.") stays beside the status.
  const NOTE_MS = 4000;
  // ...and one that asks the user to do something.
  const LONG_NOTE_MS = 10000;
  // The lines a printout holds at most: some 30 pages of A4 (28 for the
  // end of a Goldbach listing).
  const PRINT_LINES = 2000;
  const STORE = {
    textSteps: 'quorvantile.textSize',
    pictures: 'quorvantile.pictures',
    reader: 'quorvantile.screenReader',
  };

  const page = window.quorvantile;
  const { term } = page;
  const i18n = window.quorvantileI18n;
  const t = (key, vars) => i18n.t(key, vars);
  const byId = (id) => document.getElementById(id);
  const pane = byId('terminal-pane');
  const box = byId('terminal');
  const loading = byId('loading');
  const loadingText = byId('loading-text');
  const loadingProgress = byId('loading-progress');
  const statusLine = byId('status');
  const noteLine = byId('note');
  const buttons = {};
  for (const id of ['stop', 'pause', 'restart', 'smaller', 'larger', 'fullscreen', 'save', 'copy', 'reader',
    'pictures', 'lang']) {
    buttons[id] = byId(id);
  }

  // Without a terminal (its widget missing) the page can only say why.
  if (!term) {
    const words = t(`status.${page.reason}`);
    statusLine.textContent = words;
    loadingText.textContent = words;
    loading.classList.add('failed');
    for (const button of Object.values(buttons)) button.disabled = true;
    i18n.apply();
    return;
  }

  function load(key, fallback) {
    try {
      const value = localStorage.getItem(key);
      return value === null ? fallback : value;
    } catch {
      return fallback; // storage refused: the page's defaults
    }
  }

  function store(key, value) {
    try {
      localStorage.setItem(key, String(value));
    } catch {
      // remembered for this visit only
    }
  }

  const clamp = (value, low, high) => Math.min(high, Math.max(low, value));

  // ---------------------------------------------------------------------------
  // Size: the largest text that gives 80 columns and MIN_ROWS rows in the
  // box, moved by the user's steps; then as many columns and rows as fit.

  // For the tests, which hold MIN_ROWS to the menu.
  window.quorvantileLayout = Object.freeze({ MIN_COLS, MIN_ROWS });

  const fitAddon = new FitAddon.FitAddon();
  term.loadAddon(fitAddon);
  let textSteps = clamp(Number(load(STORE.textSteps, 0)) || 0, -TEXT_STEPS_MAX, TEXT_STEPS_MAX);

  function proposal(fontSize) {
    if (term.options.fontSize !== fontSize) term.options.fontSize = fontSize;
    return fitAddon.proposeDimensions();
  }

  function fitsFrame(fontSize) {
    const dims = proposal(fontSize);
    return !!dims && dims.cols >= MIN_COLS && dims.rows >= MIN_ROWS;
  }

  function chosenFontSize() {
    let low = AUTO_FONT_MIN;
    let high = AUTO_FONT_MAX;
    if (!fitsFrame(low)) return low;
    while (low < high) {
      const middle = Math.ceil((low + high) / 2);
      if (fitsFrame(middle)) low = middle;
      else high = middle - 1;
    }
    return low;
  }

  // The width of 80 columns and the terminal's scroll bar, in CSS px.
  function widthOfColumns() {
    const screen = term.element.querySelector('.xterm-screen');
    const viewport = term.element.querySelector('.xterm-viewport');
    return Math.ceil(screen.getBoundingClientRect().width + (viewport.offsetWidth - viewport.clientWidth));
  }

  function fit() {
    if (!term.element || pane.clientWidth === 0) return; // not laid out (a hidden tab)
    box.style.width = '';
    const fontSize = clamp(chosenFontSize() + textSteps * TEXT_STEP_PX, USER_FONT_MIN, USER_FONT_MAX);
    let dims = proposal(fontSize);
    if (!dims) return;
    if (dims.cols < MIN_COLS) {
      term.resize(MIN_COLS, dims.rows);
      box.style.width = `${widthOfColumns()}px`;
      dims = fitAddon.proposeDimensions(); // the box's own scroll bar takes height
    }
    const cols = Math.max(MIN_COLS, dims.cols);
    if (cols !== term.cols || dims.rows !== term.rows) term.resize(cols, dims.rows);
    buttons.smaller.disabled = textSteps <= -TEXT_STEPS_MAX || fontSize <= USER_FONT_MIN;
    buttons.larger.disabled = textSteps >= TEXT_STEPS_MAX || fontSize >= USER_FONT_MAX;
  }

  let fitPending = false;
  function scheduleFit() {
    if (fitPending) return;
    fitPending = true;
    requestAnimationFrame(() => {
      fitPending = false;
      fit();
    });
  }

  new ResizeObserver(scheduleFit).observe(pane, { box: 'border-box' });
  window.addEventListener('resize', scheduleFit);

  // ---------------------------------------------------------------------------
  // Following the output: the view shows the last rows, where the output
  // arrives and the line is typed, unless the user has scrolled back on
  // purpose (the wheel, a swipe, the scroll bar, Shift-PageUp and the like).
  // Any other move of the view is undone: when a refit or a new text size
  // changes the height of the terminal's scroll area, the browser moves its
  // scroll position, and xterm.js takes that for the user's scrolling and
  // stays on old rows (at the top of the scrollback) from then on.

  const viewport = term.element.querySelector('.xterm-viewport');
  // The scroll area holds no control: never a stop of Tab's (Chromium makes
  // every scrollable box one, where the keys would reach nothing).
  viewport.tabIndex = -1;
  const SCROLL_KEYS = new Set(['PageUp', 'PageDown', 'Home', 'End']);
  // A drag of this many px with a button down is the user's (selecting past
  // the edge scrolls); a click is not.
  const DRAG_PX = 4;
  // How long after a wheel turn or a scrolling key the view's moves are the
  // user's.
  const GESTURE_MS = 300;
  let following = true;
  let typed = false; // a key was typed: its echo is to be shown
  let gestureUntil = 0;
  let press = null; // { x, y, onScrollBar, dragged } while a button is down on the terminal
  let touching = false; // a finger scrolls the rows

  const atEnd = () => term.buffer.active.viewportY >= term.buffer.active.baseY;
  const byUser = () => touching || performance.now() < gestureUntil ||
    (press !== null && (press.onScrollBar || press.dragged));

  function keepFollowing() {
    if (!following || atEnd() || byUser() || !Number.isFinite(term.buffer.active.viewportY)) return;
    term.scrollToBottom();
  }

  // Start again resets the terminal, and xterm.js measures its rows anew a
  // frame or two later: a scroll event in between (the old scrollback's
  // position given up) is turned into a row by dividing by a row height of
  // 0, and the view is lost until the page is reloaded. Such events are
  // swallowed, ahead of xterm.js's own listener, until it has measured.
  const RESET_FRAMES = 3;
  let measuring = false;
  function afterReset() {
    measuring = true;
    following = true;
    let frames = RESET_FRAMES;
    const wait = () => {
      if (--frames > 0) {
        requestAnimationFrame(wait);
        return;
      }
      measuring = false;
      keepFollowing();
    };
    requestAnimationFrame(wait);
  }
  viewport.addEventListener('scroll', (event) => {
    if (measuring) event.stopImmediatePropagation();
  }, true);

  // Where the view stands after the user moved it: following again at the end.
  function viewMoved() {
    if (byUser()) following = atEnd();
    else keepFollowing();
  }

  function gesture() {
    gestureUntil = performance.now() + GESTURE_MS;
    setTimeout(() => {
      if (performance.now() >= gestureUntil && press === null && !touching) following = atEnd();
    }, GESTURE_MS + 10);
  }

  viewport.addEventListener('scroll', viewMoved); // after xterm.js's own listener
  term.onScroll(viewMoved);
  term.onWriteParsed(keepFollowing);
  term.onResize(keepFollowing);
  term.onRender(keepFollowing);
  // A key typed brings the view to the end (xterm.js scrolls there itself).
  term.onData(() => {
    following = true;
    typed = true;
    keepFollowing();
  });
  term.element.addEventListener('wheel', gesture, { capture: true, passive: true });
  term.element.addEventListener('keydown', (event) => {
    if (SCROLL_KEYS.has(event.key) && event.shiftKey) gesture();
  }, true);
  term.element.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'touch') return; // a swipe: followFinger()
    press = { x: event.clientX, y: event.clientY, onScrollBar: event.target === viewport, dragged: false };
  }, true);
  window.addEventListener('pointermove', (event) => {
    if (press && Math.hypot(event.clientX - press.x, event.clientY - press.y) > DRAG_PX) press.dragged = true;
  }, true);
  const released = () => {
    if (press === null) return;
    if (press.onScrollBar || press.dragged) following = atEnd();
    press = null;
    keepFollowing();
  };
  window.addEventListener('pointerup', released, true);
  window.addEventListener('pointercancel', released, true);

  // Sideways, where the columns are wider than the box: the line being typed
  // stays in view as it grows (the user may pan elsewhere meanwhile).
  function revealCursor() {
    if (pane.scrollWidth <= pane.clientWidth) return;
    const screenBox = term.element.querySelector('.xterm-screen').getBoundingClientRect();
    const paneBox = pane.getBoundingClientRect();
    const cellWidth = screenBox.width / term.cols;
    const x = screenBox.left - paneBox.left - pane.clientLeft + pane.scrollLeft + term.buffer.active.cursorX * cellWidth;
    const margin = 2 * cellWidth;
    if (x + cellWidth + margin > pane.scrollLeft + pane.clientWidth) {
      pane.scrollLeft = x + cellWidth + margin - pane.clientWidth;
    } else if (x - margin < pane.scrollLeft) {
      pane.scrollLeft = Math.max(0, x - margin);
    }
  }
  term.onWriteParsed(() => {
    if (!typed) return;
    typed = false;
    revealCursor();
  });

  function changeTextSize(step) {
    textSteps = clamp(textSteps + step, -TEXT_STEPS_MAX, TEXT_STEPS_MAX);
    store(STORE.textSteps, textSteps);
    fit();
    revealCursor();
    // Where the columns no longer fit, the user hears why the lines' ends
    // are out of sight, and what gives them room.
    const size = term.options.fontSize;
    if (pane.scrollWidth <= pane.clientWidth) note(t('note.textSize', { size }));
    else if (picturesShown()) note(t('note.textSizePicture', { size }), LONG_NOTE_MS);
    else note(t('note.textSizeScroll', { size }), LONG_NOTE_MS);
  }

  // ---------------------------------------------------------------------------
  // Touch: the scrollback follows the finger, a row for each row's height
  // moved. The terminal redraws its rows as it scrolls, which takes the
  // touched element out of the page; its later touch events then reach only
  // that element, so the moves are followed there (xterm.js listens on its
  // own element, and so scrolled a line per swipe).

  function followFinger() {
    box.addEventListener('touchstart', (event) => {
      if (event.touches.length !== 1) return;
      const target = event.target;
      let last = { x: event.touches[0].clientX, y: event.touches[0].clientY };
      let carried = 0;
      let vertical = null;
      let scrolled = false;
      const move = (moved) => {
        if (moved.touches.length !== 1) return;
        const { clientX: x, clientY: y } = moved.touches[0];
        if (vertical === null) {
          if (Math.abs(x - last.x) === Math.abs(y - last.y)) return;
          vertical = Math.abs(y - last.y) > Math.abs(x - last.x);
        }
        if (!vertical) return; // a sideways pan: the box scrolls itself
        touching = true;
        moved.stopPropagation();
        carried += last.y - y;
        last = { x, y };
        const rowHeight = term.element.querySelector('.xterm-screen').getBoundingClientRect().height / term.rows;
        const lines = Math.trunc(carried / rowHeight);
        if (lines === 0) return;
        term.scrollLines(lines);
        scrolled = true;
        carried -= lines * rowHeight;
      };
      const end = () => {
        touching = false;
        if (scrolled) following = atEnd();
        keepFollowing();
        target.removeEventListener('touchmove', move);
        target.removeEventListener('touchend', end);
        target.removeEventListener('touchcancel', end);
      };
      target.addEventListener('touchmove', move, { passive: true });
      target.addEventListener('touchend', end, { passive: true });
      target.addEventListener('touchcancel', end, { passive: true });
    }, { capture: true, passive: true });
  }

  // ---------------------------------------------------------------------------
  // The session as text: the session log where page.js keeps one, else the
  // terminal's buffer (its scrollback only).

  function sessionText() {
    if (typeof page.sessionText === 'function') return page.sessionText();
    const buffer = term.buffer.active;
    const lines = [];
    for (let y = 0; y < buffer.length; y++) {
      const line = buffer.getLine(y);
      const text = line.translateToString(true);
      if (line.isWrapped && lines.length > 0) lines[lines.length - 1] += text;
      else lines.push(text);
    }
    while (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
    return lines.length === 0 ? '' : `${lines.join('\n')}\n`;
  }

  function lineCount(text) {
    return text === '' ? 0 : text.split('\n').length - (text.endsWith('\n') ? 1 : 0);
  }

  function fileName(now) {
    const two = (n) => String(n).padStart(2, '0');
    return `quorvantile-session-${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}-` +
      `${two(now.getHours())}${two(now.getMinutes())}.txt`;
  }

  function save() {
    const name = fileName(new Date());
    const url = URL.createObjectURL(new Blob([sessionText()], { type: 'text/plain;charset=utf-8' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    note(t('note.saved', { name }));
  }

  // The clipboard API where the browser grants it; else a selected textarea
  // and the copy command, which older and file:// pages still allow.
  async function copyAll() {
    const text = sessionText();
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      const area = document.createElement('textarea');
      area.value = text;
      area.setAttribute('readonly', '');
      area.style.position = 'fixed';
      area.style.opacity = '0';
      document.body.append(area);
      area.select();
      const copied = document.execCommand('copy');
      area.remove();
      if (!copied) {
        note(t('note.copyFailed'));
        return;
      }
    }
    note(t('note.copied', { lines: lineCount(text) }));
  }

  // The printout: the session's last lines (a Goldbach listing of 10^8
  // would print some 4,500 pages), after a line that says how many came
  // before, with each wide character two columns wide (style.css).
  function fillPrint() {
    const text = window.QuorvantileSessionLog.lastLines(sessionText(), PRINT_LINES, (lines) => t('print.cut', { lines }));
    const { cellWidth } = window.quorvantileHostCommon;
    const parts = [];
    let narrow = '';
    for (const ch of text) {
      if (cellWidth(ch.codePointAt(0)) !== 2) {
        narrow += ch;
        continue;
      }
      if (narrow) parts.push(narrow);
      narrow = '';
      const wide = document.createElement('span');
      wide.className = 'wide';
      wide.textContent = ch;
      parts.push(wide);
    }
    if (narrow) parts.push(narrow);
    byId('print-session').replaceChildren(...parts);
  }

  window.addEventListener('beforeprint', fillPrint);

  // ---------------------------------------------------------------------------
  // The status line and the loading box.

  let run = { state: page.state, reason: page.reason || null, progress: null, canRestart: false };
  let heardState = false;
  let noteTimer = 0;

  function note(text, ms = NOTE_MS) {
    noteLine.textContent = text;
    clearTimeout(noteTimer);
    noteTimer = setTimeout(() => {
      noteLine.textContent = '';
    }, ms);
  }

  const known = (key) => t(key) !== key;
  const ended = (state) => state === 'stopped' || state === 'ended' || state === 'failed';

  function statusText() {
    const { state, reason } = run;
    if (reason && reason !== 'stopped-by-user' && known(`status.${reason}`)) {
      return t(`status.${reason}`, { message: run.message || reason });
    }
    if (state === 'running' && page.paused) return t('status.paused');
    return known(`status.${state}`) ? t(`status.${state}`) : state;
  }

  function loadingWords() {
    const progress = run.progress;
    const megabytes = (bytes) => (bytes / 1e6).toFixed(1);
    if (!progress || !progress.loaded) return t('status.loading');
    if (!progress.total) return t('loading.bytes', { loaded: megabytes(progress.loaded) });
    return t('loading.progress', {
      percent: Math.floor((100 * progress.loaded) / progress.total), total: megabytes(progress.total),
    });
  }

  function render() {
    const { state } = run;
    statusLine.textContent = statusText();
    loading.hidden = !(state === 'loading' || state === 'failed');
    loading.classList.toggle('failed', state === 'failed');
    loadingText.textContent = state === 'failed' ? statusText() : loadingWords();
    const progress = run.progress;
    if (progress && progress.total) {
      loadingProgress.max = progress.total;
      loadingProgress.value = progress.loaded;
    } else {
      loadingProgress.removeAttribute('value');
    }
    if (heardState) buttons.restart.hidden = !(ended(state) && run.canRestart);
    const running = state === 'running';
    buttons.stop.disabled = !running;
    buttons.pause.disabled = !running || typeof page.setPaused !== 'function';
    const paused = running && !!page.paused;
    buttons.pause.setAttribute('aria-pressed', String(paused));
    buttons.pause.textContent = t(paused ? 'control.resume' : 'control.pause');
    buttons.pause.title = t(paused ? 'control.resume.hint' : 'control.pause.hint');
    buttons.fullscreen.textContent = t(document.fullscreenElement ? 'control.fullscreen.leave' : 'control.fullscreen');
    buttons.lang.lang = i18n.lang === 'zh' ? 'en' : 'zh'; // the switch is named in the other language
    byId('picture').dataset.hint = t('page.pictureHint'); // shown while the pane is empty
  }

  window.addEventListener('quorvantile-state', (event) => {
    const detail = event.detail || {};
    const state = detail.state || page.state;
    heardState = true;
    const onRestart = document.activeElement === buttons.restart; // hidden below once running
    run = {
      ...detail,
      state,
      // Stopped and ended runs start again; a failed load does not unless
      // page.js says so.
      canRestart: detail.canRestart !== undefined ? !!detail.canRestart : state === 'stopped' || state === 'ended',
    };
    render();
    scheduleFit(); // page.js may have opened the terminal only now
    if (state === 'loading') afterReset(); // a new run: its menu and prompt in view
    if (ended(state) && run.canRestart) buttons.restart.focus();
    else if (state === 'running' && onRestart) term.focus();
  });

  // Without state events the program's first output is the sign that it runs.
  const firstOutput = term.onWriteParsed(() => {
    firstOutput.dispose();
    if (heardState) return;
    run = { ...run, state: page.state };
    render();
  });

  window.addEventListener('quorvantile-lang', () => {
    render();
    noteLine.textContent = '';
  });

  // ---------------------------------------------------------------------------
  // The controls. A click with the mouse gives the keyboard back to the
  // terminal; a tap does not, as that would open a phone's on-screen keyboard,
  // and Enter or Space on a control leaves the focus where the user put it.

  let lastPointer = 'mouse';
  document.getElementById('controls').addEventListener('pointerdown', (event) => {
    lastPointer = event.pointerType;
  }, true);

  function onClick(button, action) {
    button.addEventListener('click', async (event) => {
      await action();
      if (event.detail > 0 && lastPointer !== 'touch') term.focus();
    });
  }

  onClick(buttons.stop, () => {
    if (typeof page.stop === 'function') page.stop();
    else term.input('\x03'); // the Ctrl-C that page.js stops on
  });
  onClick(buttons.pause, () => {
    page.setPaused(!page.paused);
    render();
  });
  // page.js may restart on its own listener of #restart; else here.
  onClick(buttons.restart, () => {
    if (typeof page.restart === 'function') page.restart();
  });
  onClick(buttons.smaller, () => changeTextSize(-1));
  onClick(buttons.larger, () => changeTextSize(1));
  onClick(buttons.save, save);
  onClick(buttons.copy, copyAll);

  buttons.fullscreen.hidden = !document.fullscreenEnabled;
  onClick(buttons.fullscreen, () => (document.fullscreenElement
    ? document.exitFullscreen()
    : document.documentElement.requestFullscreen()).catch(() => {}));
  document.addEventListener('fullscreenchange', render);

  function setReader(on) {
    term.options.screenReaderMode = on;
    buttons.reader.setAttribute('aria-pressed', String(on));
    store(STORE.reader, on ? 'on' : 'off');
  }
  onClick(buttons.reader, () => setReader(!term.options.screenReaderMode));

  const picturesShown = () => byId('picture').getClientRects().length > 0;

  function setPictures(on) {
    document.documentElement.dataset.pictures = on ? 'on' : 'off';
    buttons.pictures.setAttribute('aria-pressed', String(on));
    store(STORE.pictures, on ? 'on' : 'off');
  }
  onClick(buttons.pictures, () => setPictures(document.documentElement.dataset.pictures === 'off'));

  onClick(buttons.lang, () => i18n.setLang(i18n.lang === 'zh' ? 'en' : 'zh'));

  // ---------------------------------------------------------------------------

  setPictures(load(STORE.pictures, 'on') !== 'off');
  if (load(STORE.reader, 'off') === 'on') setReader(true);
  followFinger();
  i18n.apply();
  render();
  fit();
})();
