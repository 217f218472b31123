// The page's host for one run of the program (the interface that
// console/terminal_web.cc calls): its output goes to the terminal widget and
// the session log, its input comes from the line editor. The run waits
// whenever the page must catch up: when the terminal is behind, when its
// time slice is used up, and for as long as the output is paused.
//
// new OutputQueue(term)        the output on its way to the terminal, where
//                              lines that would scroll away unseen are cut;
//                              one for the page, shared by its runs
// new TerminalHost({ screen, editor, log, onInterrupt, onPause, onVisit, onAccepted, onWaiting })
//   host.type(data)            keys and pastes from the terminal, in order; a
//                              long paste is taken in over several turns of
//                              the page, and Ctrl-C acts at once
//   host.setPaused(paused)     holds or releases the program and its output
//   host.end()                 the run is over: its output is flushed and its
//                              waits are never answered
// A classic script: window.QuorvantileTerminalHost in the page.
'use strict';

(function (root) {
  const { HOST_YIELD, HOST_FAILED } = root.quorvantileHostCommon;

  // Output not yet drawn, in bytes: above the high mark the program pauses
  // until the queue is down to the low mark. Long listings of plain lines
  // never get there (see OutputQueue); other output waits for the terminal.
  const HIGH_WATER = 2 * 1024 * 1024;
  const LOW_WATER = 1024 * 1024;
  // The longest the program runs between two turns of the page, in ms: short
  // enough that keys, drawing and Ctrl-C are never held up noticeably.
  const SLICE_MS = 30;
  // The most the terminal is handed ahead of what it has drawn: the rest
  // waits in the queue, where lines that would scroll away unseen are cut.
  const TERMINAL_AHEAD = 64 * 1024;
  // Once the program waits for the queue, at the end of a listing, what is
  // left goes on in pieces up to this size: the terminal draws a frame
  // after every piece, of lines that scroll away with the next (about 10 ms
  // each; four squares of 2·10^8 end with 330 kB). The queue holds no more
  // plain lines than the terminal keeps, 5,033, which fit at 100 bytes a
  // line.
  const RUSHED_AHEAD = 512 * 1024;
  // While a listing comes faster than the terminal draws, the terminal is
  // handed more of it at most this often, in ms: meanwhile the queue is
  // thinned, and every line cut is one the terminal never parses. Ten
  // times a second still shows a listing scrolling by.
  const STREAMING_FRAME_MS = 100;
  const LINE_FEED = 0x0a;
  // Typed text is taken in at most this many characters a turn of the page
  // (some milliseconds): a paste of megabytes goes on over many turns, while
  // the page draws and hears Stop.
  const TYPED_PIECE = 256 * 1024;

  const encoder = new TextEncoder();

  // A macrotask: lets the page handle keys and draw before the program goes on.
  const turns = new MessageChannel();
  const turnWaiters = [];
  turns.port1.onmessage = () => turnWaiters.shift()();
  function nextTurn() {
    return new Promise((resolve) => {
      turnWaiters.push(resolve);
      turns.port2.postMessage(0);
    });
  }

  // The output on its way to the terminal: handed on TERMINAL_AHEAD at a
  // time (RUSHED_AHEAD once the program waits for it), as the terminal
  // draws, but for a listing that streams (see streaming()), which is
  // handed a screenful every STREAMING_FRAME_MS until it ends or someone
  // waits for it. What waits is thinned: where it holds more whole plain
  // lines in a row (text, tabs, line ends) than the terminal keeps
  // (its rows and scrollback), the lines before its last ones are cut. They
  // would have scrolled out of the scrollback before they were ever drawn;
  // the terminal ends up holding the same rows, colours and cursor either
  // way, as every cut line ends with a line feed, which starts a new line
  // (convertEol), and changes nothing else. The session log gets the whole
  // output from the host, not from here.
  class OutputQueue {
    constructor(term, { streamingFrameMs = STREAMING_FRAME_MS } = {}) {
      this.term = term;
      this.bytes = new Uint8Array(TERMINAL_AHEAD);
      this.words = new Uint32Array(this.bytes.buffer, 0, TERMINAL_AHEAD >> 2); // bytes, for scan()
      this.head = 0; // the queue is bytes[head, tail)
      this.tail = 0;
      this.plainFrom = 0; // bytes[plainFrom, tail) changes nothing but text
      this.lineEnds = []; // where its line feeds are, ascending
      this.inTerminal = 0; // handed on, not yet drawn
      this.cut = 0; // bytes never handed on, in all
      this.held = false; // paused: the terminal is handed nothing more
      this.waiters = [];
      this.streamingFrameMs = streamingFrameMs;
      this.handedAt = -Infinity; // when the terminal was last handed output
      this.rush = false; // someone waits for the queue to empty
      this.timer = null;
      this.pumpQueued = false;
    }
    get queued() {
      return this.inTerminal + this.tail - this.head;
    }
    write(data) {
      this.rush = false;
      this.reserve(data.length);
      const bytes = this.bytes;
      const ends = this.lineEnds;
      let end = this.tail + data.length;
      bytes.set(data, this.tail);
      for (let i = this.scan(this.tail, end); i >= 0; i = this.scan(i + 1, end)) {
        // The terminal may leave plain text here (escape sequences, shifts,
        // bells, the other C0 controls; 0xC2 leads the C1 controls, and a
        // few Latin-1 signs, which only lose the cut): the plain run ends,
        // and its lines beyond the kept ones go.
        this.tail = end;
        const removed = this.thin(i);
        i -= removed;
        end -= removed;
        this.plainFrom = i + 1;
        ends.length = 0;
      }
      this.tail = end;
      if (ends.length >= 2 * this.kept()) this.thin(end);
      this.pumpSoon();
    }
    // Once the program's time slice is over (its writes come in one task):
    // by then the queue knows whether a listing streams.
    pumpSoon() {
      if (this.pumpQueued) return;
      this.pumpQueued = true;
      queueMicrotask(() => {
        this.pumpQueued = false;
        this.pump();
      });
    }
    // Notes the line feeds of bytes[from, end) up to the first byte that is
    // not plain (see write) and returns where that is, or -1. Four bytes at a
    // time: a word none of whose bytes is below 0x20 or 0xC2 (the line feed
    // among them) is passed over whole. The tests may flag a word wrongly,
    // never miss one: a flagged word is looked at byte by byte.
    scan(from, end) {
      const bytes = this.bytes;
      const words = this.words;
      const ends = this.lineEnds;
      let i = from;
      for (;;) {
        if ((i & 3) === 0 && i + 4 <= end) {
          const x = words[i >> 2];
          const y = x ^ 0xc2c2c2c2;
          if (((((x - 0x20202020) & ~x) | ((y - 0x01010101) & ~y)) & 0x80808080) === 0) {
            i += 4;
            continue;
          }
        }
        const stop = Math.min(end, (i | 3) + 1);
        for (; i < stop; i++) {
          const b = bytes[i];
          if (b === LINE_FEED) ends.push(i);
          else if (b < 0x20 ? b !== 0x09 && b !== 0x0d && b !== 0x08 : b === 0xc2) return i;
        }
        if (i >= end) return -1;
      }
    }
    // Paused output stops at once, as a terminal's does at Ctrl-S: what is
    // queued stays queued until the hold is released.
    hold(held) {
      this.held = held;
      this.pump();
    }
    // Whoever waits for the queue wants it handed on without delay.
    drained(limit) {
      if (this.queued <= limit) return Promise.resolve();
      // Waiting before the pump: the terminal may answer inside it.
      const done = new Promise((resolve) => this.waiters.push({ limit, resolve }));
      this.rush = true;
      this.pump();
      return done;
    }

    // Lines the terminal keeps.
    kept() {
      return this.term.rows + (this.term.options.scrollback || 0);
    }
    // Cuts the whole lines of the plain run before `end`, but for the line
    // it began in and its last kept() lines; returns the bytes cut.
    thin(end) {
      const ends = this.lineEnds;
      const keep = this.kept();
      const count = ends.length;
      if (!this.term.options.convertEol || count <= keep + 1) return 0;
      // The run's first line still queued ends at its first line feed at or
      // after the head: the line feeds before are on their way already.
      const low = this.firstEndFrom(Math.max(this.plainFrom, this.head));
      const first = ends[low];
      const last = ends[count - keep - 1]; // after it: the kept lines
      if (low >= count - keep - 1 || last >= end) return 0;
      this.bytes.copyWithin(first + 1, last + 1, this.tail);
      const removed = last - first;
      this.tail -= removed;
      this.cut += removed;
      ends[0] = first;
      for (let k = 0; k < keep; k++) ends[1 + k] = ends[count - keep + k] - removed;
      ends.length = keep + 1;
      return removed;
    }
    reserve(size) {
      if (this.tail + size <= this.bytes.length) return;
      const held = this.tail - this.head;
      let bytes = this.bytes;
      if (held + size > bytes.length / 2) {
        bytes = new Uint8Array(Math.max(2 * bytes.length, 2 * (held + size)));
      }
      bytes.set(this.bytes.subarray(this.head, this.tail), 0);
      this.bytes = bytes;
      this.words = new Uint32Array(bytes.buffer, 0, bytes.length >> 2);
      this.plainFrom = Math.max(0, this.plainFrom - this.head);
      const ends = this.lineEnds;
      for (let k = 0; k < ends.length; k++) ends[k] -= this.head;
      this.tail = held;
      this.head = 0;
    }
    // A listing streams: more of one plain run is queued than the terminal
    // keeps, so more lines are likely to follow and cut what waits.
    streaming() {
      return !this.rush && this.lineEnds.length > this.kept();
    }
    pump() {
      const wait = this.handedAt + this.streamingFrameMs - performance.now();
      if (wait > 0 && this.streaming()) {
        if (this.timer === null) {
          this.timer = setTimeout(() => {
            this.timer = null;
            this.pump();
          }, wait);
        }
        return;
      }
      if (!this.held && this.lineEnds.length > this.kept() + 1) this.thin(this.tail);
      // A streaming listing is shown a screenful at a time: the lines after
      // it wait, and most of them are cut before their turn comes. (The
      // state is read anew for every piece: the terminal may answer a write
      // at once, and its answer pumps too.)
      while (!this.held) {
        const streaming = this.streaming();
        const ahead = this.rush ? RUSHED_AHEAD : TERMINAL_AHEAD;
        const limit = streaming ? this.screenfulEnd() : this.tail;
        if (limit <= this.head || this.inTerminal >= ahead) break;
        const size = Math.min(limit - this.head, ahead - this.inTerminal);
        const chunk = this.bytes.slice(this.head, this.head + size);
        this.head += size;
        this.inTerminal += size;
        this.handedAt = performance.now();
        this.term.write(chunk, () => {
          this.inTerminal -= size;
          this.pump();
          this.wake();
        });
        if (streaming) break;
      }
      if (this.head === this.tail) {
        this.head = this.tail = this.plainFrom = 0;
        this.lineEnds.length = 0;
      }
    }
    // The end of the terminal's rows' worth of whole lines from the head.
    screenfulEnd() {
      const ends = this.lineEnds;
      const low = this.firstEndFrom(this.head);
      if (low >= ends.length) return this.tail;
      return ends[Math.min(ends.length - 1, low + this.term.rows - 1)] + 1;
    }
    // The index of the first line feed at or after `from`.
    firstEndFrom(from) {
      const ends = this.lineEnds;
      let low = 0;
      for (let high = ends.length; low < high;) {
        const middle = (low + high) >> 1;
        if (ends[middle] < from) low = middle + 1;
        else high = middle;
      }
      return low;
    }
    wake() {
      const ready = this.waiters.filter((w) => this.queued <= w.limit);
      this.waiters = this.waiters.filter((w) => this.queued > w.limit);
      ready.forEach((w) => w.resolve());
    }
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

  class TerminalHost {
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

  root.QuorvantileTerminalHost = { TerminalHost, OutputQueue };
})(window);
