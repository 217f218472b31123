// The page's side of the program: a terminal widget (xterm.js) that behaves
// like a terminal in canonical mode, and the host that the WebAssembly module
// calls for its input and output (console/terminal_web.cc describes the
// interface). Exposes window.quorvantile = { term, state }, state being
// 'loading', 'running', 'stopped' (after Ctrl-C) or 'ended' (program returned).
'use strict';

(function () {
  // Answers of the host's write(), kept equal to console/terminal_web.cc.
  const HOST_YIELD = 1;
  const HOST_FAILED = -1;
  // Bytes handed to the terminal and not yet drawn: above the high mark the
  // program pauses until the terminal is down to the low mark. The terminal
  // drops data when far more is queued, and Ctrl-C waits for what is queued.
  const HIGH_WATER = 128 * 1024;
  const LOW_WATER = 16 * 1024;
  // The longest the program runs between two turns of the page, in ms: short
  // enough that keys, drawing and Ctrl-C are never held up noticeably.
  const SLICE_MS = 30;
  // Lines kept above the screen: a long listing must not fill the memory.
  const SCROLLBACK = 5000;

  const term = new Terminal({
    cols: 80,
    rows: 30,
    scrollback: SCROLLBACK,
    convertEol: true, // "\n" starts a new line, as a terminal's output processing does
    cursorBlink: true,
    fontSize: 15,
    // Monospace fonts with the Chinese characters first, so that the menu's
    // titles are drawn at two columns each.
    fontFamily:
      '"Noto Sans Mono CJK SC", "Sarasa Mono SC", "WenQuanYi Zen Hei Mono", ' +
      '"WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei", "Microsoft YaHei Mono", ' +
      '"SimHei", "MS Gothic", "DejaVu Sans Mono", Menlo, Consolas, monospace',
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
  const page = { term, state: 'loading' };
  window.quorvantile = page;

  const statusLine = document.getElementById('status');
  const restartButton = document.getElementById('restart');
  const encoder = new TextEncoder();

  function setState(state, sentence) {
    page.state = state;
    statusLine.textContent = sentence;
    restartButton.hidden = state !== 'stopped' && state !== 'ended';
  }

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

  // The terminal's queue: what has been written and not yet drawn.
  const screen = {
    queued: 0,
    waiters: [],
    write(data) {
      const size = data.length;
      this.queued += size;
      term.write(data, () => {
        this.queued -= size;
        const ready = this.waiters.filter((w) => this.queued <= w.limit);
        this.waiters = this.waiters.filter((w) => this.queued > w.limit);
        ready.forEach((w) => w.resolve());
      });
    },
    drained(limit) {
      if (this.queued <= limit) return Promise.resolve();
      return new Promise((resolve) => this.waiters.push({ limit, resolve }));
    },
  };

  // Display width of one character: two columns for the wide East Asian
  // ranges, so that Backspace erases such a character as one.
  function columns(ch) {
    const c = ch.codePointAt(0);
    const wide =
      (c >= 0x1100 && c <= 0x115f) || (c >= 0x2e80 && c <= 0xa4cf && c !== 0x303f) ||
      (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff) ||
      (c >= 0xfe30 && c <= 0xfe4f) || (c >= 0xff00 && c <= 0xff60) ||
      (c >= 0xffe0 && c <= 0xffe6) || (c >= 0x1f300 && c <= 0x1f64f) ||
      (c >= 0x20000 && c <= 0x3fffd);
    return wide ? 2 : 1;
  }

  function concat(pieces, size) {
    const all = new Uint8Array(size);
    let at = 0;
    for (const piece of pieces) {
      all.set(piece, at);
      at += piece.length;
    }
    return all;
  }

  // One run of the program: its host, its line editing and its input queue.
  // A run that is stopped never resumes: its waits are simply never answered.
  class Run {
    constructor() {
      this.alive = true;
      this.pieces = [];
      this.pending = 0;
      this.sliceStart = performance.now();
      this.editing = []; // the characters of the line being typed
      this.lines = []; // lines sent, as UTF-8, not yet read
      this.inputEnded = false;
      this.wakeReader = null;
    }

    // The host interface.
    terminal() {
      return { interactive: true, color: true };
    }
    write(bytes) {
      if (!this.alive) return HOST_FAILED;
      this.pieces.push(bytes);
      this.pending += bytes.length;
      const late = performance.now() - this.sliceStart > SLICE_MS;
      return late || this.pending + screen.queued > HIGH_WATER ? HOST_YIELD : 0;
    }
    async pause() {
      this.flush();
      await nextTurn();
      await screen.drained(LOW_WATER);
      await this.stillAlive();
      this.sliceStart = performance.now();
    }
    async read(capacity) {
      this.flush();
      while (this.lines.length === 0 && !this.inputEnded) {
        await new Promise((resolve) => (this.wakeReader = resolve));
      }
      await this.stillAlive();
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
    accepted(demo, number) {
      const detail = { demo, number, module: page.module };
      window.dispatchEvent(new CustomEvent('quorvantile-accepted', { detail }));
    }

    stillAlive() {
      return this.alive ? Promise.resolve() : new Promise(() => {});
    }
    flush() {
      if (this.pieces.length === 0) return;
      screen.write(concat(this.pieces, this.pending));
      this.pieces = [];
      this.pending = 0;
    }
    echo(text) {
      this.pieces.push(encoder.encode(text));
      this.pending += this.pieces[this.pieces.length - 1].length;
    }
    send(text) {
      this.lines.push(encoder.encode(text));
      this.wake();
    }
    wake() {
      if (!this.wakeReader) return;
      const wake = this.wakeReader;
      this.wakeReader = null;
      wake();
    }

    // Keys and pastes, edited as a terminal in canonical mode does.
    type(data) {
      if (data.startsWith('\x1b')) return; // cursor and function keys edit nothing here
      for (const ch of data) {
        if (!this.alive) return;
        this.key(ch);
      }
      this.flush();
    }
    key(ch) {
      switch (ch) {
        case '\r':
        case '\n':
          this.echo('\r\n');
          this.send(this.editing.join('') + '\n');
          this.editing = [];
          return;
        case '\x7f':
        case '\b':
          if (this.editing.length > 0) this.erase();
          return;
        case '\x15': // Ctrl-U: the whole line
          while (this.editing.length > 0) this.erase();
          return;
        case '\x04': // Ctrl-D: the end of input at the start of a line, else sends the line
          if (this.editing.length === 0) {
            this.inputEnded = true;
            this.wake();
          } else {
            this.send(this.editing.join(''));
            this.editing = [];
          }
          return;
        case '\x03':
          this.echo('^C\r\n');
          stop();
          return;
        default:
          if (ch < ' ' && ch !== '\t') return;
          this.editing.push(ch);
          this.echo(ch);
      }
    }
    erase() {
      const ch = this.editing.pop();
      this.echo(columns(ch) === 2 ? '\b\b  \b\b' : '\b \b');
    }
  }

  let run = null;

  term.onData((data) => {
    if (run && page.state === 'running') run.type(data);
  });

  // Ends a run: what it wrote is drawn before the page says so, unless a
  // restart has begun another run meanwhile.
  async function finish(current, state, sentence) {
    current.flush();
    current.alive = false;
    current.wake();
    await screen.drained(0);
    if (run === current) setState(state, sentence);
  }

  function stop() {
    finish(run, 'stopped', 'The program has stopped. Start it again?');
  }

  async function start() {
    const current = new Run();
    run = current;
    setState('loading', 'The program is loading…');
    let module;
    try {
      module = await createQuorvantile({
        quorvantileHost: current,
        print: (text) => console.log(text),
        printErr: (text) => console.error(text),
        onAbort: (reason) => {
          console.error('the program failed:', reason);
          current.alive = false;
          if (run === current) setState('stopped', 'The program has stopped after an error. Start it again?');
        },
      });
    } catch (error) {
      console.error(error);
      setState('stopped', 'The program could not be loaded. Try again?');
      return;
    }
    if (run !== current) return;
    page.module = module;
    setState('running', 'The program is running.');
    term.focus();
    try {
      await module.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true });
    } catch (error) {
      return; // an abort, which onAbort has shown
    }
    if (current.alive) await finish(current, 'ended', 'The program has ended. Start it again?');
  }

  restartButton.addEventListener('click', () => {
    term.reset();
    start();
  });

  term.open(document.getElementById('terminal'));
  start();
})();
