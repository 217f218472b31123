// The run's lifecycle on the page: loading the program, starting it in the
// terminal widget, and ending it, every end going through endRun(). It
// exposes
//   window.quorvantile = { term, state, reason, module, paused, stop(),
//                          setPaused(bool), restart(), sessionText(),
//                          selectionText() }
// with state 'loading', 'running', 'stopped', 'ended' or 'failed', and
// dispatches on window
//   quorvantile-state     { state, reason, progress, canRestart, paused } at
//                         every change
//   quorvantile-visit     { demo, module } when a visit begins, to a
//                         demonstration or ('') to anything else
//   quorvantile-accepted  { demo, number, module } when a demonstration
//                         takes a number
//   quorvantile-waiting   {} when the program waits for a line typed, its
//                         output all in the terminal
// The page's controls belong to controls.js, and every word to i18n.js.
'use strict';

(function () {
  const { TerminalHost, OutputQueue } = window.QuorvantileTerminalHost;
  const { concat } = window.quorvantileHostCommon;
  const LineEditor = window.QuorvantileLineEditor;
  const SessionLog = window.QuorvantileSessionLog;
  const selectionText = window.quorvantileSelectionText;

  // Lines kept above the screen: a long listing must not fill the memory
  // (the session log keeps the whole session for saving).
  const SCROLLBACK = 5000;
  // Backspace at a row's start goes back to the row the line wrapped from.
  const REVERSE_WRAPAROUND = '\x1b[?45h';
  const WASM_FILE = 'quorvantile.wasm';
  // The first long listing would be parsed by the browser's baseline code,
  // its kept lines about a fifth slower than a later listing's (four
  // squares of 2·10^8): a terminal that is never shown parses this many
  // lines of the same kind once, in a few pieces, while the page is idle.
  const WARM_UP_LINES = 1500;
  const WARM_UP_PIECES = 3;

  // Where each reason leaves the page, and whether starting again can help.
  const ENDINGS = {
    ended: { state: 'ended', canRestart: true },
    'stopped-by-user': { state: 'stopped', canRestart: true },
    aborted: { state: 'stopped', canRestart: true },
    'load-failed': { state: 'failed', canRestart: true },
    'load-wasm-missing': { state: 'failed', canRestart: false },
    'load-script-missing': { state: 'failed', canRestart: false },
    'load-from-disk': { state: 'failed', canRestart: false },
    'load-terminal-missing': { state: 'failed', canRestart: false },
  };
  const i18n = window.quorvantileI18n;

  // Without the terminal widget (xterm.js or its fit addon missing from a
  // copied folder) there is nothing to run the program in: the page only
  // says why.
  if (typeof Terminal !== 'function' || typeof FitAddon !== 'object') {
    const reason = 'load-terminal-missing';
    window.quorvantile = { term: null, state: 'failed', reason, module: null, paused: false, sessionText: () => '' };
    const detail = { state: 'failed', reason, paused: false, progress: null, canRestart: false };
    const tell = () => window.dispatchEvent(new CustomEvent('quorvantile-state', { detail }));
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', tell, { once: true });
    else tell();
    return;
  }

  const term = new Terminal({
    cols: 80,
    rows: 30,
    scrollback: SCROLLBACK,
    convertEol: true, // "\n" starts a new line, as a terminal's output processing does
    cursorBlink: true,
    fontSize: 15,
    // The terminal's fonts, which the printout shares (style.css).
    fontFamily:
      getComputedStyle(document.documentElement).getPropertyValue('--terminal-font').replace(/\s+/g, ' ').trim() ||
      'monospace',
    // A true black background (the default palette paints black as grey).
    theme: {
      background: '#000000',
      foreground: '#e5e5e5',
      black: '#000000',
      brightBlack: '#666666',
      brightRed: '#ff5555',
      brightGreen: '#55ff55',
      brightWhite: '#ffffff',
    },
  });
  const screen = new OutputQueue(term);

  let current = null; // the run going on or last: { host, module, ended }
  // The page's whole session, every run of it, each run after the first
  // begun by a line that says so: Save and Copy all keep what a class did.
  const log = new SessionLog();
  let runs = 0;
  let wasm = null; // the program's bytes once fetched: a restart needs no second download
  let progress = null;

  const page = {
    term,
    state: 'loading',
    reason: 'loading',
    module: null,
    paused: false,
    stop,
    setPaused,
    restart,
    sessionText,
    selectionText: () => selectionText(term),
  };
  window.quorvantile = page;

  function setState(state, reason) {
    page.state = state;
    page.reason = reason;
    const ending = ENDINGS[reason];
    const detail = {
      state,
      reason,
      paused: page.paused,
      progress: state === 'loading' ? progress : null,
      canRestart: !!ending && ending.canRestart,
    };
    window.dispatchEvent(new CustomEvent('quorvantile-state', { detail }));
  }

  // Every end of a run: the program returned, was stopped, aborted, or never
  // loaded. What it wrote is drawn before the page says so, unless a restart
  // has begun another run meanwhile.
  async function endRun(run, reason) {
    if (run.ended) return;
    run.ended = true;
    const stopped = reason === 'stopped-by-user';
    if (run.host) run.host.end(stopped ? '^C\r\n' : '');
    if (stopped) log.typed('^C\n');
    page.paused = false;
    await screen.drained(0);
    if (current !== run) return;
    page.module = null;
    setState(ENDINGS[reason].state, reason);
  }

  function stop() {
    if (current && page.state === 'running') endRun(current, 'stopped-by-user');
  }

  function setPaused(paused) {
    if (!current || !current.host || page.state !== 'running' || page.paused === !!paused) return;
    page.paused = !!paused;
    current.host.setPaused(page.paused);
    setState('running', page.paused ? 'paused' : 'resumed');
  }

  function sessionText() {
    return log.text((count) => i18n.t('session.cut', { count }));
  }

  class LoadFailure extends Error {
    constructor(reason, detail) {
      super(`${reason}: ${detail}`);
      this.reason = reason;
    }
  }

  // The folder's page loads the program's WebAssembly from beside it, with
  // progress where the server says its length; the single file carries it
  // inside the program's script.
  async function programBytes() {
    const separate = document.querySelector('script[src$="quorvantile.js"]');
    if (!separate || wasm) return wasm || undefined;
    const fromDisk = location.protocol === 'file:';
    let response;
    try {
      response = await fetch(new URL(WASM_FILE, document.baseURI));
    } catch (error) {
      throw new LoadFailure(fromDisk ? 'load-from-disk' : 'load-failed', error.message);
    }
    if (!response.ok) throw new LoadFailure('load-wasm-missing', `HTTP ${response.status}`);
    const total = Number(response.headers.get('Content-Length')) || 0;
    const pieces = [];
    let loaded = 0;
    try {
      const reader = response.body.getReader();
      for (let piece = await reader.read(); !piece.done; piece = await reader.read()) {
        pieces.push(piece.value);
        loaded += piece.value.length;
        progress = { loaded, total };
        setState('loading', 'loading');
      }
    } catch (error) {
      throw new LoadFailure('load-failed', error.message);
    }
    wasm = concat(pieces, loaded);
    return wasm;
  }

  async function start() {
    runs += 1;
    if (runs > 1) {
      const time = new Date().toLocaleTimeString('en-GB', { hour12: false });
      log.mark(i18n.t('session.restarted', { run: runs, time }));
    }
    const run = { host: null, module: null, ended: false };
    current = run;
    progress = null;
    page.paused = false;
    term.write(REVERSE_WRAPAROUND);
    setState('loading', 'loading');
    if (typeof createQuorvantile !== 'function') {
      endRun(run, 'load-script-missing');
      return;
    }
    const editor = new LineEditor(() => term.cols);
    run.host = new TerminalHost({
      screen,
      editor,
      log,
      onInterrupt: () => endRun(run, 'stopped-by-user'),
      onPause: (paused) => setPaused(paused),
      onVisit: (demo) => {
        window.dispatchEvent(new CustomEvent('quorvantile-visit', { detail: { demo, module: run.module } }));
      },
      onAccepted: (demo, number) => {
        const detail = { demo, number, module: run.module };
        window.dispatchEvent(new CustomEvent('quorvantile-accepted', { detail }));
      },
      onWaiting: () => window.dispatchEvent(new CustomEvent('quorvantile-waiting', { detail: {} })),
    });
    let module;
    try {
      const wasmBinary = await programBytes();
      module = await createQuorvantile({
        quorvantileHost: run.host,
        wasmBinary,
        print: (text) => console.log(text),
        printErr: (text) => console.error(text),
        onAbort: (reason) => {
          console.error('the program failed:', reason);
          endRun(run, run.module ? 'aborted' : 'load-failed');
        },
      });
    } catch (error) {
      console.error(error);
      endRun(run, error instanceof LoadFailure ? error.reason : 'load-failed');
      return;
    }
    if (current !== run || run.ended) return;
    run.module = module;
    page.module = module;
    setState('running', 'started');
    term.focus();
    if (runs === 1) whenIdle(warmUpTerminal);
    try {
      await module.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true });
    } catch (error) {
      endRun(run, 'aborted');
      return;
    }
    endRun(run, 'ended');
  }

  function warmUpTerminal() {
    // A scrollback it outgrows: lines are added, then reused, as in a listing.
    const spare = new Terminal({ cols: term.cols, rows: term.rows, scrollback: WARM_UP_LINES / 3, convertEol: true });
    const perPiece = WARM_UP_LINES / WARM_UP_PIECES;
    for (let p = 0; p < WARM_UP_PIECES; p++) {
      let text = '\x1b[92m';
      for (let k = p * perPiece; k < (p + 1) * perPiece; k++) {
        text += `\t\t${k * k + 7}=${k}x${k}+${k % 89}x${k % 89}+2x2+1x1\n`;
      }
      spare.write(`${text}\x1b[97m`, p === WARM_UP_PIECES - 1 ? () => spare.dispose() : undefined);
    }
  }

  function whenIdle(task) {
    if (typeof requestIdleCallback === 'function') requestIdleCallback(task);
    else setTimeout(task, 0);
  }

  // A run still going is stopped first, and its output drawn, so that
  // nothing of it reaches the new run's screen.
  let restarting = false;
  async function restart() {
    if (restarting) return;
    restarting = true;
    if (current && !current.ended) await endRun(current, 'stopped-by-user');
    await screen.drained(0);
    term.reset();
    restarting = false;
    start();
  }

  term.onData((data) => {
    if (current && current.host && page.state === 'running') current.host.type(data);
  });

  // Keys as in other terminals: Ctrl-C copies a selection (and otherwise
  // reaches the program as an interrupt), Ctrl-V and Ctrl-Shift-V paste,
  // Tab moves the focus on. (Ctrl-S and Ctrl-Q reach the line editor, which
  // pauses and resumes the output with them.) Returning false leaves the key to the browser,
  // whose copy, paste and focus do the rest.
  // Every phase of such a key is left alone (keydown, and keypress where a
  // browser sends one).
  term.attachCustomKeyEventHandler((event) => {
    if (event.altKey || event.metaKey) return true;
    const key = event.key.toLowerCase();
    if (event.ctrlKey && key === 'c') {
      if (term.hasSelection()) return false;
      if (!event.shiftKey) return true;
      // Ctrl-Shift-C copies; with nothing selected it does nothing.
      if (event.type === 'keydown') event.preventDefault();
      return false;
    }
    if (event.ctrlKey && key === 'v') return false;
    if (event.key === 'Tab' && !event.ctrlKey) return false;
    return true;
  });

  const pane = document.getElementById('terminal');
  // Ahead of the widget's own copy, which turns tabs into blanks.
  pane.addEventListener(
    'copy',
    (event) => {
      if (!term.hasSelection()) return;
      event.clipboardData.setData('text/plain', selectionText(term));
      event.preventDefault();
      event.stopImmediatePropagation();
    },
    true,
  );

  term.open(pane);
  // The first run starts once every script of the page has run, so that the
  // controls hear each of its events, a load that fails at once included,
  // and once offline.js knows that a newer release is not about to load the
  // page again.
  const opened = () => (window.quorvantileOffline ? window.quorvantileOffline.opening : null);
  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', () => Promise.resolve(opened()).then(start), { once: true });
  } else {
    start();
  }
})();
