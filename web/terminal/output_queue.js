// The output on its way to the terminal widget, one for the page, shared by
// its runs (the host of each run writes into it):
//   new OutputQueue(term)   term: the widget (write(data, done), rows,
//                           options.scrollback, options.convertEol)
//   queue.write(bytes)      the program's output
//   queue.queued            bytes not yet drawn
//   queue.hold(held)        paused output stops at once
//   queue.drained(limit)    resolves once at most `limit` bytes wait

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
export class OutputQueue {
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
