// The page's output queue (terminal/output_queue.js) under node, with a
// stand-in for the terminal: whatever it cuts from a listing, the terminal
// must end up holding what it would have held with every byte, as the
// terminal widget (headless) shows it, over its rows and scrollback, and it
// must get every escape sequence and control in order.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { OutputQueue } from '../terminal/output_queue.js';
import harness from './harness.cjs';

const { terminalRows } = harness;

// Takes what it is handed at once; answers the way xterm.js does, later, and
// as slowly as it parses, so that a listing outruns it; but now and then at
// once, inside the write, as xterm.js answers the first write after a key.
// Every case writes well over the 64 kB the queue hands on before it waits.
const PARSED_BYTES_PER_MS = 8192;
const ANSWERED_AT_ONCE = 3; // every third write
function standInTerminal(rows, cols, scrollback) {
  return {
    rows,
    cols,
    options: { scrollback, convertEol: true },
    received: [],
    write(data, done) {
      this.received.push(Buffer.from(data));
      if (this.received.length % ANSWERED_AT_ONCE === 0) done();
      else setTimeout(done, data.length / PARSED_BYTES_PER_MS);
    },
  };
}

// The program's output between two of its turns of the page.
const SLICE_BYTES = 256 * 1024;
const sliceEnds = () => new Promise((resolve) => setTimeout(resolve, 1));

const GREEN = '\x1b[92m';
const WHITE = '\x1b[97m';
// What changes the terminal beyond text, in order: escape sequences, and C0
// controls but tab, line feed, carriage return and backspace.
// eslint-disable-next-line no-control-regex -- control characters are what it looks for
const stateChanges = (text) => text.match(/\x1b\[[0-9;?]*[A-Za-z]|[\x00-\x07\x0b\x0c\x0e-\x1a\x1c-\x1f]/g);
const lines = (count, line) => Array.from({ length: count }, (_, i) => line(i)).join('');

const CASES = [
  {
    name: 'a Goldbach listing after its prompt, then the summary in colour',
    rows: 30,
    cols: 80,
    scrollback: 5000,
    text:
      '\tPlease input a positive even integer:' +
      lines(40000, (i) => `\t1000000=${i}+${1000000 - i}\n`) +
      `${GREEN}\n\n\tThere are 40000 pair(s)\n${WHITE}\n\tPlease input a positive even integer:`,
  },
  {
    name: 'lines wider than the terminal wrap',
    rows: 6,
    cols: 20,
    scrollback: 50,
    text: lines(3000, (i) => `\t\t${'x'.repeat(i % 57)}=${i}\n`) + 'end',
  },
  {
    name: 'colour changes every few hundred lines end the runs that may be cut',
    rows: 5,
    cols: 40,
    scrollback: 20,
    text: lines(20000, (i) => (i % 300 === 7 ? `${GREEN}${i}${WHITE} mid\n` : `\t${i}\n`)),
  },
  {
    name: 'wide characters, carriage returns, a Latin-1 sign now and then and a last line left open',
    rows: 4,
    cols: 10,
    scrollback: 9,
    text: lines(8000, (i) => `${'质数'.repeat(i % 7)}\r${i}${i % 900 === 5 ? '©' : ''}\n`) + '开',
  },
  {
    name: 'a bell and a shift between listings are kept in their place',
    rows: 3,
    cols: 30,
    scrollback: 4,
    text:
      lines(20000, (i) => `${i}\n`) +
      '\x07\x0e' +
      lines(20000, (i) => `b${i}\n`) +
      '\x0f' +
      lines(30, (i) => `c${i}\n`),
  },
];

test('the terminal ends as with every byte, however the output was cut and split', async () => {
  for (const c of CASES) {
    const bytes = Buffer.from(c.text, 'utf8');
    // Pieces of every size, split inside lines, sequences and characters;
    // the terminal handed more of a streaming listing at most every few ms; the
    // program's time slices ending every 256 kB, as the queue learns that a
    // listing streams only between them.
    for (const [pieceSize, streamingFrameMs] of [
      [1 << 16, 50],
      [4093, 5],
      [7, 20],
    ]) {
      const term = standInTerminal(c.rows, c.cols, c.scrollback);
      const queue = new OutputQueue(term, { streamingFrameMs });
      for (let at = 0; at < bytes.length; at += pieceSize) {
        queue.write(new Uint8Array(bytes.subarray(at, at + pieceSize)));
        if (Math.floor((at + pieceSize) / SLICE_BYTES) > Math.floor(at / SLICE_BYTES)) await sliceEnds();
      }
      // The program waits: what is left goes on at once, in one piece.
      const handed = term.received.length;
      await queue.drained(0);
      const kept = c.rows + c.scrollback;
      const expected = await terminalRows(c.text, c.cols);
      const received = Buffer.concat(term.received).toString('utf8');
      const shown = await terminalRows(received, c.cols);
      const label = `${c.name} (pieces of ${pieceSize}, frames of ${streamingFrameMs} ms)`;
      assert.deepEqual(shown.rows.slice(-kept), expected.rows.slice(-kept), label);
      assert.equal(shown.cursorX, expected.cursorX, label);
      assert.deepEqual(stateChanges(received), stateChanges(c.text), label);
      assert.ok(queue.cut > 0, `${label}: nothing was cut`);
      assert.ok(
        term.received.length - handed <= 1,
        `${label}: the end came in ${term.received.length - handed} pieces`,
      );
    }
  }
});
