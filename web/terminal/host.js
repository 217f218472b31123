// The page's host for one run of the program (the interface that
// console/terminal_web.cc calls): its output goes to the terminal widget and
// the session log, its input comes from the line editor. The run waits
// whenever the page must catch up: when the terminal is behind, when its
// time slice is used up, and for as long as the output is paused.
//
// new TerminalHost({ screen, editor, log, onInterrupt, onPause, onVisit, onAccepted, onWaiting })
//   host.type(data)            keys and pastes from the terminal
//   host.setPaused(paused)     holds or releases the program and its output
//   host.end()                 the run is over: its output is flushed and its
//                              waits are never answered
import { HOST_YIELD, HOST_FAILED } from './host_common.js';

// Output not yet drawn, in bytes: above the high mark the program pauses
// until the queue is down to the low mark. Long listings of plain lines
// never get there (see OutputQueue); other output waits for the terminal.
const HIGH_WATER = 2 * 1024 * 1024;
const LOW_WATER = 1024 * 1024;
// The longest the program runs between two turns of the page, in ms: short
// enough that keys, drawing and Ctrl-C are never held up noticeably.
const SLICE_MS = 30;
const encoder = new TextEncoder();

// A macrotask: lets the page handle keys and draw before the program goes
// on. The channel is made at the first turn: a host that never pauses
// (under node, in the tests) holds no port open.
let turns = null;
const turnWaiters = [];
function nextTurn() {
  if (!turns) {
    turns = new MessageChannel();
    turns.port1.onmessage = () => turnWaiters.shift()();
  }
  return new Promise((resolve) => {
    turnWaiters.push(resolve);
    turns.port2.postMessage(0);
  });
}

const never = new Promise(() => {});

export class TerminalHost {
  constructor({ screen, editor, log, onInterrupt, onPause, onVisit, onAccepted, onWaiting }) {
    this.screen = screen;
    this.editor = editor;
    this.log = log;
    this.onInterrupt = onInterrupt;
    this.onPause = onPause;
    this.onVisit = onVisit;
    this.onAccepted = onAccepted;
    this.onWaiting = onWaiting;
    this.alive = true;
    this.paused = false;
    this.resumers = [];
    this.pieces = [];
    this.pending = 0;
    // The program's output not yet given to the log and the editor.
    this.unlogged = [];
    this.sliceStart = performance.now();
    this.lines = []; // lines sent, as UTF-8, not yet read
    this.inputEnded = false;
    this.wakeReader = null;
  }

  // The host interface.
  terminal() {
    return { interactive: true, color: true };
  }
  write(view) {
    if (!this.alive) return HOST_FAILED;
    // The view is of the program's memory: the log keeps what it is given.
    const bytes = view.slice();
    this.unlogged.push(bytes);
    this.hold(bytes);
    // Straight on to the queue, where a long listing is thinned as it comes.
    if (!this.paused) this.flush();
    const late = performance.now() - this.sliceStart > SLICE_MS;
    const behind = this.pending + this.screen.queued > HIGH_WATER;
    return this.paused || late || behind ? HOST_YIELD : 0;
  }
  async pause() {
    this.flush();
    await nextTurn();
    await this.screen.drained(LOW_WATER);
    await this.resumed();
    this.sliceStart = performance.now();
  }
  async read(capacity) {
    this.flush();
    // The program has nothing more to do until a line comes: said once
    // the terminal has all its output.
    if (this.lines.length === 0 && !this.inputEnded && this.onWaiting) {
      this.screen.drained(0).then(() => this.alive && this.onWaiting());
    }
    while (this.lines.length === 0 && !this.inputEnded) {
      await new Promise((resolve) => (this.wakeReader = resolve));
    }
    await this.resumed();
    this.sliceStart = performance.now();
    if (this.lines.length === 0) return new Uint8Array(0);
    const line = this.lines[0];
    if (line.length <= capacity) return this.lines.shift();
    this.lines[0] = line.subarray(capacity);
    return line.subarray(0, capacity);
  }
  error(text) {
    console.error(text);
  }
  // A visit begins, to the demonstration `demo` or ('') to anything else.
  visit(demo) {
    if (this.alive && this.onVisit) this.onVisit(demo);
  }
  // A demonstration took `number`: the page may show it.
  accepted(demo, number) {
    if (this.alive) this.onAccepted(demo, number);
  }

  // The page's side.
  type(data) {
    if (!this.alive) return;
    this.settle();
    const { echo, actions } = this.editor.feed(data);
    if (echo) this.hold(encoder.encode(echo));
    for (const action of actions) {
      if (action.interrupt) {
        this.onInterrupt();
        return;
      }
      if ('pause' in action) {
        this.onPause(action.pause);
      } else if (action.eof) {
        this.inputEnded = true;
      } else {
        this.log.typed(action.line);
        this.lines.push(encoder.encode(action.line));
      }
    }
    this.flush();
    this.wake();
  }
  setPaused(paused) {
    this.paused = paused;
    this.screen.hold(paused);
    if (paused) return;
    this.flush();
    const resumers = this.resumers;
    this.resumers = [];
    resumers.forEach((resume) => resume());
  }
  end(lastWords = '') {
    if (lastWords) this.hold(encoder.encode(lastWords));
    this.paused = false;
    this.flush();
    this.alive = false;
    this.setPaused(false);
    this.wake();
  }

  // While paused the output waits here, and so does the program; a run
  // that has ended waits for ever.
  resumed() {
    if (!this.alive) return never;
    if (!this.paused) return Promise.resolve();
    return new Promise((resolve) => this.resumers.push(resolve)).then(() => this.resumed());
  }
  hold(bytes) {
    this.pieces.push(bytes);
    this.pending += bytes.length;
  }
  settle() {
    // Piece by piece: both take the output as a stream.
    for (const piece of this.unlogged) {
      this.log.program(piece);
      this.editor.output(piece);
    }
    this.unlogged = [];
  }
  flush() {
    this.settle();
    if (this.paused || this.pieces.length === 0) return;
    for (const piece of this.pieces) this.screen.write(piece);
    this.pieces = [];
    this.pending = 0;
  }
  wake() {
    if (!this.wakeReader) return;
    const wake = this.wakeReader;
    this.wakeReader = null;
    wake();
  }
}
