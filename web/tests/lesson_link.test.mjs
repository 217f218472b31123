// Lesson links under plain node: which addresses type keys, which keys, why
// the others cannot be followed, and that the Link control's address leads
// back to the same demonstration, never to the number that leaves it.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { parse, hashFor, teaches } from '../shell/lesson_link.js';
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';

test('a link types the menu choice and the number, or nothing', () => {
  const cases = [
    ['#goldbach=100', '1\r100\r'],
    ['#collatz=27', '2\r27\r'],
    ['#nicomachus=5', '3\r5\r'],
    ['#four-squares=100', '4\r100\r'],
    ['#four-square=100', 'bad'], // the program's name, not the link's
    ['#sieve=100', '5\r100\r'],
    ['#collatz=1', '2\r1\r'],
    ['#collatz=007', '2\r007\r'], // typed as it stands, as a student would
    ['#collatz=2147483647', '2\r2147483647\r'],
    ['#sieve=1000000', '5\r1000000\r'],
    ['#nicomachus=1290', '3\r1290\r'],
    // Numbers the demonstration's prompt refuses, or the turn declines.
    ['#collatz=0', 'bad refused'],
    ['#goldbach=0', 'bad refused'],
    ['#goldbach=7', 'bad refused'],
    ['#sieve=0', 'bad refused'],
    ['#sieve=1000001', 'bad refused'],
    ['#nicomachus=1291', 'bad refused'],
    // Numbers that leave the demonstration.
    ['#goldbach=888', 'bad leaves'],
    ['#nicomachus=88', 'bad leaves'],
    ['#nicomachus=888', 'bad leaves'],
    ['', 'none'],
    ['#', 'none'],
    ['#collatz=2147483648', 'bad'], // int overflow
    ['#collatz=9999999999', 'bad'],
    ['#collatz=12345678901', 'bad'], // more than ten digits
    [`#collatz=${'9'.repeat(5000)}`, 'bad'],
    ['#collatz=abc', 'bad'],
    ['#collatz=2a', 'bad'],
    ['#collatz=-27', 'bad'],
    ['#collatz=+27', 'bad'],
    ['#collatz=', 'bad'],
    ['#collatz', 'bad'],
    ['#collatz=27&x=1', 'bad'],
    ['#collatz=27 ', 'bad'],
    ['#collatz=27\n', 'bad'],
    ['#collatz=27=27', 'bad'],
    ['#collatz==27', 'bad'],
    ['#collatz=1e3', 'bad'],
    ['#collatz=0x1b', 'bad'],
    ['#collatz=２７', 'bad'], // fullwidth digits
    ['#Collatz=27', 'bad'],
    ['#fermat=27', 'bad'],
    ['#constructor=1', 'bad'],
    ['#__proto__=1', 'bad'],
    ['#menu=2', 'bad'],
    ['#<img src=x onerror=alert(1)>=1', 'bad'],
    ['collatz=27', 'bad'], // not an address's # part
  ];
  for (const [hash, expected] of cases) {
    const link = parse(hash);
    const got = { lesson: link.keys, bad: link.why === 'unknown' ? 'bad' : `bad ${link.why}` }[link.kind] || link.kind;
    assert.equal(got, expected, JSON.stringify(hash).slice(0, 40));
    if (link.kind === 'lesson') assert.equal(link.number, Number(hash.split('=')[1]));
  }
  assert.equal(parse(undefined).kind, 'none');
});

test("the Link control's address parses back to its demonstration and number, where a link could lead", () => {
  for (const [demo, { link: name }] of Object.entries(DEMONSTRATIONS)) {
    for (const number of [0, 1, 2, 27, 88, 100, 888, 1290, 1291, 1000000, 1000001, 2147483647]) {
      const follows = parse(`#${name}=${number}`).kind === 'lesson';
      const link = parse(hashFor(demo, number));
      assert.deepEqual(
        [link.demo, link.number],
        follows ? [demo, number] : [undefined, undefined],
        `${name} ${number}`,
      );
    }
    for (const number of [-1, -2147483648, 2147483648, 2.5, NaN]) assert.equal(hashFor(demo, number), null);
    assert.deepEqual([teaches(demo, 27), teaches(demo, 888)], [true, false], demo);
  }
  assert.equal(hashFor('menu', 2), null);
});
