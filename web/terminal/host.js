// The page's host for one run of the program (the interface that
// console/terminal_web.cc calls): its output goes to the terminal widget and
// the session log, its input comes from the line editor. The run waits
// whenever the page must catch up: when the terminal is behind, when its
// time slice is used up, and for as long as the output is paused.
//
// new TerminalHost({ screen, editor, log, onInterrupt, onPause, onVisit, onAccepted, onWaiting })
//   host.type(data)            keys and pastes from the terminal, in order; a
//                              long paste is taken in over several turns of
//                              the page, and Ctrl-C acts at once
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
// Typed text is taken in at most this many characters a turn of the page
// (some milliseconds): a paste of megabytes goes on over many turns, while
// the page draws and hears Stop.
const TYPED_PIECE = 256 * 1024;
const LINE_FEED = 0x0a;
const encoder = new TextEncoder();

// A macrotask: lets the page handle keys and draw before the program goes
// on. A channel is open only while a turn is awaited: none keeps node
// running (in the tests) once the host is idle.
let turns = null;
const turnWaiters = [];
function nextTurn() {
  if (!turns) {
    turns = new MessageChannel();
    turns.port1.onmessage = () => {
      turnWaiters.shift()();
      if (turnWaiters.length > 0) return;
      turns.port1.close();
      turns = null;
    };
  }
  return new Promise((resolve) => {
    turnWaiters.push(resolve);
    turns.port2.postMessage(0);
  });
}

const never = new Promise(() => {});

// Where the first piece of `data` at most `room` long ends: after its
// last line end, or else at `room`, never inside a surrogate pair.
function pieceEnd(data, room) {
  if (data.length <= room) return data.length;
  const lineEnd = Math.max(data.lastIndexOf('\r', room - 1), data.lastIndexOf('\n', room - 1));
  if (lineEnd >= 0) return lineEnd + 1;
  const last = data.charCodeAt(room - 1);
  return last >= 0xd800 && last <= 0xdbff ? room - 1 : room;
}

// The lines sent and not yet read, as UTF-8. What one type() sends is one
// block, read a line at a time from `at`: a paste of a million lines costs
// one block, where a line apiece would cost a copy of the whole list at
// every read (shift()).
class InputQueue {
  constructor() {
    this.blocks = [];
    this.at = 0;
  }
  get empty() {
    return this.blocks.length === 0;
  }
  push(bytes) {
    if (bytes.length > 0) this.blocks.push(bytes);
  }
  // At most `capacity` bytes, ending at the latest with a line end, or
  // with the block (a line that Ctrl-D sent has none).
  take(capacity) {
    const block = this.blocks[0];
    const lineEnd = block.indexOf(LINE_FEED, this.at);
    const end = Math.min(lineEnd < 0 ? block.length : lineEnd + 1, this.at + capacity);
    const piece = block.subarray(this.at, end);
    this.at = end;
    if (end === block.length) {
      this.blocks.shift();
      this.at = 0;
    }
    return piece;
  }
}

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
    this.input = new InputQueue();
    this.typing = []; // typed, not yet taken in (a long paste)
    this.typingLater = false;
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
    if (this.input.empty && !this.inputEnded && this.onWaiting) {
      this.screen.drained(0).then(() => this.alive && this.onWaiting());
    }
    // A slice begins anew after a wait for a line, not at every read: with
    // lines queued (a paste) the program reads on without ever waiting, and
    // its slice must still end.
    let waited = this.paused;
    while (this.input.empty && !this.inputEnded) {
      waited = true;
      await new Promise((resolve) => (this.wakeReader = resolve));
    }
    await this.resumed();
    if (waited) this.sliceStart = performance.now();
    if (this.input.empty) return new Uint8Array(0);
    return this.input.take(capacity);
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
    // Ctrl-C acts at once, ahead of a paste still being taken in.
    if (data.includes('\x03')) {
      this.typing = [];
      this.takeIn(data);
      return;
    }
    this.typing.push(data);
    if (!this.typingLater) this.takeTyped();
  }
  // What was typed, in order, TYPED_PIECE characters a turn, each piece
  // ending at a line end where it has one.
  takeTyped() {
    this.typingLater = false;
    let room = TYPED_PIECE;
    while (this.alive && this.typing.length > 0) {
      if (room <= 0) {
        this.typingLater = true;
        nextTurn().then(() => this.takeTyped());
        return;
      }
      const data = this.typing[0];
      const cut = pieceEnd(data, room);
      if (cut === data.length) this.typing.shift();
      else this.typing[0] = data.slice(cut);
      room -= cut;
      this.takeIn(data.slice(0, cut));
    }
  }
  takeIn(data) {
    this.settle();
    const { echo, actions } = this.editor.feed(data);
    if (echo) this.hold(encoder.encode(echo));
    // Lines in a row go to the log and the input as one: a paste's
    // thousands of lines cost one encoding, not one each.
    let lines = '';
    const send = () => {
      if (lines === '') return;
      this.log.typed(lines);
      this.input.push(encoder.encode(lines));
      lines = '';
    };
    for (const action of actions) {
      if (action.interrupt) {
        send();
        this.onInterrupt();
        return;
      }
      if ('line' in action) {
        lines += action.line;
        // A line that Ctrl-D sent, without its end, is read on its own.
        if (!action.line.endsWith('\n')) send();
        continue;
      }
      send();
      if ('pause' in action) this.onPause(action.pause);
      else if (action.eof) this.inputEnded = true;
    }
    send();
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
