// The line editor under plain node: what the screen is told (the echo) and
// what the program receives, for keys and pastes after the program's output.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { LineEditor } from '../terminal/line_editor.js';

const PROMPT = '\t$ menu $\n\tPlease choose:'; // ends at column 22
const BS = '\x7f';
const utf8 = (text) => new TextEncoder().encode(text);

// Each case: the program's output (one write per string), the terminal's
// width, what arrives from the terminal (one feed per string), then the
// echo, the actions in order, and the cursor's column afterwards.
const CASES = [
  {
    name: 'Tab, Backspace x3, 64: the tab erases the eight columns it took, the program gets 64',
    output: [PROMPT],
    keys: ['1', '2', '\t', BS, BS, BS, '6', '4', '\r'],
    echo: `12\t${'\b'.repeat(8)}\b \b\b \b64\r\n`,
    actions: [{ line: '64\n' }],
    col: 0,
  },
  {
    name: 'a wide character erases as two columns, a combining mark with its base (and alone is dropped)',
    output: [PROMPT],
    keys: ['\u0301', '中a', 'e\u0301', BS, BS, BS],
    echo: '中ae\u0301\b \b\b \b\b\b  \b\b',
    actions: [],
    col: 22,
  },
  {
    name: 'Ctrl-U erases the whole line, tab and wide character included',
    output: [PROMPT],
    keys: ['7\t中', '\x15', '5\r'],
    echo: '7\t中\b\b  \b\b\b\b \b5\r\n',
    actions: [{ line: '5\n' }],
    col: 0,
  },
  {
    name: 'Ctrl-D sends a started line without a line end, and ends the input on an empty one',
    output: [PROMPT],
    keys: ['\x04', '42\x04', '\x04'],
    echo: '42',
    actions: [{ eof: true }, { line: '42' }, { eof: true }],
    col: 24,
  },
  {
    name: 'a pasted block keeps its tabs and gives one line per line end, after what was typed',
    output: [PROMPT],
    keys: ['2', '3\t4\r5\n\r'],
    echo: '23\t4\r\n5\r\n\r\n',
    actions: [{ line: '23\t4\n5\n\n' }],
    col: 0,
  },
  {
    name: 'escape sequences are dropped whole, a lone Escape key takes nothing after it; Ctrl-S, Ctrl-Q pause',
    output: [PROMPT],
    keys: ['\x1b[A', '5', '\x1bOP', '\x1b[1;5C6', '\x1bx', '\x1b', '7', '\x01\x13\x11\x1a'],
    echo: '567',
    actions: [{ pause: true }, { pause: false }],
    col: 25,
  },
  {
    name: 'Ctrl-C interrupts and drops the rest of what came with it',
    output: [PROMPT],
    keys: ['12', '3\x034\r'],
    echo: '123',
    actions: [{ interrupt: true }],
    col: 25,
  },
  {
    name: 'the column follows split UTF-8 and colour sequences in the output; a tab then takes 6',
    output: [utf8('\t\x1b[1'), utf8(';37m\u4e2d').subarray(0, 5), utf8('\u4e2d').subarray(1)],
    keys: ['\t', BS],
    echo: '\t\b\b\b\b\b\b',
    actions: [],
    col: 10,
  },
  {
    name: 'past the right edge: a character wraps, and erasing goes back over the row it came from',
    cols: 10,
    output: ['abcdefgh'],
    keys: ['中x', BS, BS, 'y'],
    echo: '中x\b \b\b\b  \b\by',
    actions: [],
    col: 9,
  },
  {
    name: 'a wide character that does not fit wraps early; the next one after erasing wraps too',
    cols: 10,
    output: ['abcdefghi'],
    keys: ['中', BS, 'z', BS, BS],
    echo: '中\b\b  \b\bz\b \b',
    actions: [],
    col: 10,
  },
  {
    name: 'output longer than the row wraps, and a tab counts from the wrapped row',
    cols: 10,
    output: ['abcdefghijklm'],
    keys: ['\t', BS],
    echo: '\t\b\b\b\b\b',
    actions: [],
    col: 3,
  },
];

test('the line editor echoes what it edits and sends what the screen shows', () => {
  for (const c of CASES) {
    const editor = new LineEditor(() => c.cols || 80);
    for (const piece of c.output) editor.output(typeof piece === 'string' ? utf8(piece) : piece);
    let echo = '';
    const actions = [];
    for (const key of c.keys) {
      const result = editor.feed(key);
      echo += result.echo;
      actions.push(...result.actions);
    }
    assert.equal(echo, c.echo, c.name);
    assert.deepEqual(actions, c.actions, c.name);
    assert.equal(editor.col, c.col, c.name);
  }
});
