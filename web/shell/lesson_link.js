// Lesson links: an address ending in #collatz=27 opens the page straight into
// that demonstration with that number. Pure functions, no page:
//   parse(hash)          '' or '#' -> { kind: 'none' }; a link the page can
//                        follow -> { kind: 'lesson', demo, number, keys },
//                        demo as the program names it; anything else ->
//                        { kind: 'bad', why }, why being 'unknown' (no
//                        demonstration and number), or, with { demo, number,
//                        takes }, 'refused' (a number the demonstration's
//                        prompt refuses, which it `takes` instead) or
//                        'leaves' (the number that ends the demonstration)
//   teaches(demo, number)  whether a number the demonstration took is one it
//                        teaches: not the one that leaves it (its turn for
//                        888 is the way out, not a lesson)
//   hashFor(demo, number)  '#collatz=27' ('#four-squares=100' for the
//                        program's 'four-square'), or null where no link could lead
//                        there (a name or a number parse() would refuse)
// `keys` are what a student types at the menu for it: the menu's choice and
// the number, each ended by Enter. The links' names, the menu's choices and
// the numbers each demonstration takes are those of
// pictures/demonstrations.js.
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';

// The links' names, each with the name the program announces the
// demonstration by and its entry there.
const LINKS = Object.fromEntries(
  Object.entries(DEMONSTRATIONS).map(([demo, entry]) => [entry.link, { demo, ...entry }]),
);
// The program reads a 32-bit int: more digits, or a larger value, is not
// a number it could take as typed.
const MAX_DIGITS = 10;
const INT_MAX = 2147483647;
const LINK = /^#([a-z-]+)=([0-9]{1,10})$/;

export function parse(hash) {
  if (typeof hash !== 'string' || hash === '' || hash === '#') return { kind: 'none' };
  const unknown = { kind: 'bad', why: 'unknown' };
  const match = LINK.exec(hash);
  if (!match) return unknown;
  const [, name, digits] = match;
  if (!Object.prototype.hasOwnProperty.call(LINKS, name)) return unknown;
  const { demo, choice, takes, valid, leaves } = LINKS[name];
  if (digits.length > MAX_DIGITS) return unknown;
  const number = Number(digits);
  if (number > INT_MAX) return unknown;
  if (!valid(number)) return { kind: 'bad', why: 'refused', demo, number, takes };
  if (leaves.includes(number)) return { kind: 'bad', why: 'leaves', demo, number };
  return { kind: 'lesson', demo, number, keys: `${choice}\r${digits}\r` };
}

export function teaches(demo, number) {
  return Object.prototype.hasOwnProperty.call(DEMONSTRATIONS, demo) && !DEMONSTRATIONS[demo].leaves.includes(number);
}

export function hashFor(demo, number) {
  if (!Object.prototype.hasOwnProperty.call(DEMONSTRATIONS, demo) || !Number.isInteger(number)) return null;
  const hash = `#${DEMONSTRATIONS[demo].link}=${number}`;
  return parse(hash).kind === 'lesson' ? hash : null;
}
