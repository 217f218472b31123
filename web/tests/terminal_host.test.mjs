// The page's host (terminal/host.js) under plain node: a line typed or pasted
// into the page that is longer than the program's line buffer reaches the
// program in pieces that each fit that buffer, in order, with nothing lost
// and the line end in the last piece only; the next line comes on its own
// read. The buffer's size is read from the program's source
// (console/line_reader.h), as console/terminal_web.cc passes it to read().
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import { TerminalHost } from '../terminal/host.js';
import { LineEditor } from '../terminal/line_editor.js';

const lineReader = fs.readFileSync(new URL('../../console/line_reader.h', import.meta.url), 'utf8');
const BUFFER = Number(/kMaxLine = (\d+);/.exec(lineReader)[1]);

// What the program receives for `keys` (one type() per string): its reads
// of BUFFER bytes until the input ends, as the program makes them.
async function reads(keys) {
  const screen = { queued: 0, write() {}, drained: () => Promise.resolve() };
  const host = new TerminalHost({
    screen,
    editor: new LineEditor(() => 80),
    log: { typed() {}, program() {} },
    onInterrupt() {},
    onPause() {},
    onVisit() {},
    onAccepted() {},
  });
  for (const k of keys) host.type(k);
  host.type('\x04'); // Ctrl-D at the start of a line: the end of the input
  const pieces = [];
  for (let piece = await host.read(BUFFER); piece.length > 0; piece = await host.read(BUFFER)) {
    pieces.push(Buffer.from(piece));
  }
  return pieces;
}

test(`lines longer than the program's buffer (${BUFFER} bytes) reach it whole, a buffer at a time`, async () => {
  const long = (n) => '7'.repeat(n);
  // Each case: what is typed (a string per type()), and the lines the
  // program must receive.
  const CASES = [
    [['\r'], ['']],
    [[`${long(BUFFER - 1)}\r`], [long(BUFFER - 1)]],
    [[`${long(BUFFER)}\r`], [long(BUFFER)]],
    [[`${long(BUFFER + 1)}\r27\r`], [long(BUFFER + 1), '27']],
    [
      [`${long(3 * BUFFER + 5)}\r`, '888\r'],
      [long(3 * BUFFER + 5), '888'],
    ],
    // Typed in parts, Enter last.
    [[long(BUFFER), long(BUFFER), '\r'], [long(2 * BUFFER)]],
    // A paste of many lines, taken in over several turns, then a line
    // typed meanwhile: one read each, in order.
    [
      ['27\r'.repeat(100000), '8', '88\r'],
      [...Array(100000).fill('27'), '888'],
    ],
    // Three-byte characters: the pieces cut through them, the bytes still whole.
    [[`${'中'.repeat(BUFFER)}\r5\r`], ['中'.repeat(BUFFER), '5']],
  ];
  for (const [keys, lines] of CASES) {
    const name = `${keys.map((k) => k.length).join('+')} typed`;
    const pieces = await reads(keys);
    for (const piece of pieces) assert.ok(piece.length <= BUFFER, `${name}: a read of ${piece.length} bytes`);
    // A line end only at a piece's end, and each piece after one begins a line.
    const received = [];
    let line = [];
    for (const piece of pieces) {
      assert.equal(
        piece.indexOf(0x0a),
        piece.at(-1) === 0x0a ? piece.length - 1 : -1,
        `${name}: a line end inside a read`,
      );
      line.push(piece);
      if (piece.at(-1) === 0x0a) {
        received.push(Buffer.concat(line).toString('utf8'));
        line = [];
      }
    }
    assert.equal(line.length, 0, `${name}: a line without its end`);
    assert.deepEqual(
      received,
      lines.map((l) => `${l}\n`),
      name,
    );
    const fewest = lines.reduce((sum, l) => sum + Math.ceil(Buffer.byteLength(`${l}\n`) / BUFFER), 0);
    assert.equal(pieces.length, fewest, `${name}: not every read filled the buffer`);
  }
});
