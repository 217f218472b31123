// The session log under plain node: the text a saved session holds, and its
// bound.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { SessionLog, SESSION_LIMIT } from '../terminal/session_log.js';

const utf8 = (text) => new TextEncoder().encode(text);

test('the log keeps tabs and the typed lines, and drops colours even when split between writes', () => {
  const log = new SessionLog();
  const writes = [
    utf8('\x1b[1;32m\n\tHeading\x1b[0'),
    utf8('m\x1b'),
    utf8('[1;37m\n\tPlease input:'),
    'typed 2\t7\n',
    utf8(`${'y'.repeat(70000)}\n`), // larger than the blocks small pieces are joined into
    // A Chinese title split inside a character and a sequence.
    utf8('\t$ 哥德巴赫').subarray(0, 7),
    utf8('\t$ 哥德巴赫').subarray(7),
    utf8('\x1b[31'),
    utf8('m!\n'),
  ];
  for (const piece of writes) {
    if (typeof piece === 'string') log.typed(piece);
    else log.program(piece);
  }
  assert.equal(log.text(), `\n\tHeading\n\tPlease input:typed 2\t7\n${'y'.repeat(70000)}\n\t$ 哥德巴赫!\n`);
});

test('past its limit the log keeps the newest text, from its first whole line, after a line saying so', () => {
  assert.ok(SESSION_LIMIT >= 64 * 1024 * 1024, 'the stated limit holds a Goldbach listing of 10^8');
  const limit = 1000;
  // In ASCII, where bytes and characters are the same count.
  // Small writes, a write larger than the whole limit, typed lines, and
  // lines written in two parts; the longest line of each.
  const shapes = [
    [(i) => [['program', `pair ${i}=${i}+0\n`]], 20],
    [
      (i) => [
        ['program', `${'x'.repeat(1500)}${i}\n`],
        ['typed', `typed ${i}\n`],
      ],
      1510,
    ],
    [
      (i) => [
        ['program', `part ${i} `],
        ['program', `and rest ${i}\n`],
      ],
      30,
    ],
  ];
  for (const [shape, longestLine] of shapes) {
    const log = new SessionLog(limit);
    let all = '';
    for (let i = 0; i < 500; i++) {
      for (const [kind, piece] of shape(i)) {
        if (kind === 'typed') log.typed(piece);
        else log.program(utf8(piece));
        all += piece;
      }
      assert.ok(log.size <= limit, `the log holds ${log.size} bytes`);
    }
    let counted = -1;
    const text = log.text((count) => {
      counted = count;
      return `cut ${count}`;
    });
    const [notice, ...rest] = text.split('\n');
    const kept = rest.join('\n');
    assert.equal(notice, `cut ${counted}`);
    assert.equal(counted + kept.length, all.length, 'the cut and the kept add up to the session');
    assert.equal(all.slice(counted), kept, "what is kept is the session's end");
    assert.equal(all[counted - 1], '\n', 'the kept text begins with a whole line');
    assert.ok(kept.length >= limit - longestLine, `only ${kept.length} characters kept`);
  }
});

test('a mark starts a line of its own; a printout keeps the last lines after a line saying how many are left out', () => {
  const log = new SessionLog();
  log.program(utf8('\tPlease choose:'));
  log.typed('8\n');
  log.mark('[run 2]');
  log.program(utf8('\tPlease choose:'));
  log.mark('[run 3]');
  assert.equal(log.text(), '\tPlease choose:8\n[run 2]\n\tPlease choose:\n[run 3]\n');

  const notice = (lines) => `[${lines} left out]`;
  const cases = [
    // text, lines kept, printed
    ['a\nb\nc\n', 2, '[1 left out]\nb\nc\n'],
    ['a\nb\nc', 2, '[1 left out]\nb\nc'], // the last line unfinished: the prompt
    ['a\nb\nc\n', 3, 'a\nb\nc\n'],
    ['a\nb\nc\n', 5, 'a\nb\nc\n'],
    ['', 5, ''],
    ['\n\tmenu\n', 5, '\n\tmenu\n'], // a first line that is empty
    ['\n\tmenu\n', 1, '[1 left out]\n\tmenu\n'],
    [
      `${'pair\n'.repeat(291400)}There are 291400 pairs\n`,
      2000,
      `[289401 left out]\n${'pair\n'.repeat(1999)}There are 291400 pairs\n`,
    ],
  ];
  for (const [text, count, printed] of cases) {
    assert.equal(SessionLog.lastLines(text, count, notice), printed, JSON.stringify(text.slice(0, 20)));
  }
});
