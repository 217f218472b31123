// Lesson links under plain node: which addresses type keys, which keys, and
// that the Link control's address leads back to the same demonstration.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { parse, hashFor } from '../shell/lesson_link.js';
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';

test('a link types the menu choice and the number, or nothing', () => {
  const cases = [
    ['#goldbach=100', '1\r100\r'],
    ['#collatz=27', '2\r27\r'],
    ['#nicomachus=5', '3\r5\r'],
    ['#four-squares=100', '4\r100\r'],
    ['#four-square=100', 'bad'], // the program's name, not the link's
    ['#sieve=100', '5\r100\r'],
    ['#collatz=0', '2\r0\r'],
    ['#collatz=007', '2\r007\r'], // typed as it stands, as a student would
    ['#collatz=2147483647', '2\r2147483647\r'],
    ['#goldbach=888', '1\r888\r'],
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
    const got = link.kind === 'lesson' ? link.keys : link.kind;
    assert.equal(got, expected, JSON.stringify(hash).slice(0, 40));
    if (link.kind === 'lesson') assert.equal(link.number, Number(hash.split('=')[1]));
  }
  assert.equal(parse(undefined).kind, 'none');
});

test("the Link control's address parses back to its demonstration and number", () => {
  for (const demo of Object.keys(DEMONSTRATIONS)) {
    for (const number of [0, 1, 27, 100, 2147483647]) {
      const link = parse(hashFor(demo, number));
      assert.deepEqual([link.demo, link.number], [demo, number]);
    }
    for (const number of [-1, -2147483648, 2147483648, 2.5, NaN]) assert.equal(hashFor(demo, number), null);
  }
  assert.equal(hashFor('menu', 2), null);
});
