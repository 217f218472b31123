// The run's lifecycle on the page: loading the program, starting it in the
// terminal, and ending it, every end going through endRun().
//   createRun(term) -> run, an EventTarget with
//     { term, state, reason, module, paused, stop(), setPaused(bool),
//       start(), restart(), sessionText(), selectionText() }
// with state 'loading', 'running', 'stopped', 'ended' or 'failed'; it
// dispatches
//   state     { state, reason, progress, canRestart, paused } at every change
//   visit     { demo, module } when a visit begins, to a demonstration or
//             ('') to anything else
//   accepted  { demo, number, module } when a demonstration takes a number
//   waiting   {} when the program waits for a line typed, its output all in
//             the terminal
// The program's own loader (quorvantile.js, built by Emscripten) is the one
// script of the page beside the bundle: it leaves createQuorvantile on the
// window, which is where the run finds it.
import { concat } from '../terminal/host_common.js';
import { TerminalHost } from '../terminal/host.js';
import { OutputQueue } from '../terminal/output_queue.js';
import { LineEditor } from '../terminal/line_editor.js';
import { SessionLog } from '../terminal/session_log.js';
import { selectionText } from '../terminal/selection.js';
import { warmUp } from '../terminal/terminal.js';
import { i18n } from './i18n.js';

// Backspace at a row's start goes back to the row the line wrapped from.
const REVERSE_WRAPAROUND = '\x1b[?45h';
const WASM_FILE = 'quorvantile.wasm';

// Where each reason leaves the page, and whether starting again can help.
const ENDINGS = {
  ended: { state: 'ended', canRestart: true },
  'stopped-by-user': { state: 'stopped', canRestart: true },
  aborted: { state: 'stopped', canRestart: true },
  'load-failed': { state: 'failed', canRestart: true },
  'load-wasm-missing': { state: 'failed', canRestart: false },
  'load-script-missing': { state: 'failed', canRestart: false },
  'load-from-disk': { state: 'failed', canRestart: false },
};
export function createRun(term) {
  const screen = new OutputQueue(term);

  let current = null; // the run going on or last: { host, module, ended }
  // The page's whole session, every run of it, each run after the first
  // begun by a line that says so: Save and Copy all keep what a class did.
  const log = new SessionLog();
  let runs = 0;
  let wasm = null; // the program's bytes once fetched: a restart needs no second download
  let progress = null;

  const lifecycle = Object.assign(new EventTarget(), {
    term,
    state: 'loading',
    reason: 'loading',
    module: null,
    paused: false,
    stop,
    setPaused,
    start,
    restart,
    sessionText,
    selectionText: () => selectionText(term),
  });
  const tell = (type, detail) => lifecycle.dispatchEvent(new CustomEvent(type, { detail }));

  function setState(state, reason) {
    lifecycle.state = state;
    lifecycle.reason = reason;
    const ending = ENDINGS[reason];
    const detail = {
      state,
      reason,
      paused: lifecycle.paused,
      progress: state === 'loading' ? progress : null,
      canRestart: !!ending && ending.canRestart,
    };
    tell('state', detail);
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
    lifecycle.paused = false;
    await screen.drained(0);
    if (current !== run) return;
    lifecycle.module = null;
    setState(ENDINGS[reason].state, reason);
  }

  function stop() {
    if (current && lifecycle.state === 'running') endRun(current, 'stopped-by-user');
  }

  function setPaused(paused) {
    if (!current || !current.host || lifecycle.state !== 'running' || lifecycle.paused === !!paused) return;
    lifecycle.paused = !!paused;
    current.host.setPaused(lifecycle.paused);
    setState('running', lifecycle.paused ? 'paused' : 'resumed');
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
    lifecycle.paused = false;
    term.write(REVERSE_WRAPAROUND);
    setState('loading', 'loading');
    const createQuorvantile = globalThis.createQuorvantile;
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
      onVisit: (demo) => tell('visit', { demo, module: run.module }),
      onAccepted: (demo, number) => tell('accepted', { demo, number, module: run.module }),
      onWaiting: () => tell('waiting', {}),
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
    lifecycle.module = module;
    setState('running', 'started');
    term.focus();
    if (runs === 1) whenIdle(() => warmUp(term));
    try {
      await module.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true });
    } catch (error) {
      endRun(run, 'aborted');
      return;
    }
    endRun(run, 'ended');
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
    if (current && current.host && lifecycle.state === 'running') current.host.type(data);
  });
  return lifecycle;
}
