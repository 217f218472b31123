// Lesson links: an address ending in #collatz=27 opens the page straight into
// that demonstration with that number. Pure functions, no page:
//   parse(hash)          '' or '#' -> { kind: 'none' }; a link the page can
//                        follow -> { kind: 'lesson', demo, number, keys },
//                        demo as the program names it;
//                        anything else -> { kind: 'bad' }
//   hashFor(demo, number)  '#collatz=27' ('#four-squares=100' for the
//                        program's 'four-square'), or null where no link could lead
//                        there (a name or a number parse() would refuse)
// `keys` are what a student types at the menu for it: the menu's choice and
// the number, each ended by Enter. The links' names and the menu's choices
// are those of pictures/demonstrations.js.
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';

// The links' names, each with the name the program announces the
// demonstration by and its choice in the menu.
const LINKS = Object.fromEntries(
  Object.entries(DEMONSTRATIONS).map(([demo, { link, choice }]) => [link, { demo, choice }]),
);
// The program reads a 32-bit int: more digits, or a larger value, is not
// a number it could take as typed.
const MAX_DIGITS = 10;
const INT_MAX = 2147483647;
const LINK = /^#([a-z-]+)=([0-9]{1,10})$/;

export function parse(hash) {
  if (typeof hash !== 'string' || hash === '' || hash === '#') return { kind: 'none' };
  const match = LINK.exec(hash);
  if (!match) return { kind: 'bad' };
  const [, name, digits] = match;
  if (!Object.prototype.hasOwnProperty.call(LINKS, name)) return { kind: 'bad' };
  const { demo, choice } = LINKS[name];
  if (digits.length > MAX_DIGITS) return { kind: 'bad' };
  const number = Number(digits);
  if (number > INT_MAX) return { kind: 'bad' };
  return { kind: 'lesson', demo, number, keys: `${choice}\r${digits}\r` };
}

export function hashFor(demo, number) {
  const name = Object.keys(LINKS).find((key) => LINKS[key].demo === demo);
  if (!name || !Number.isInteger(number)) return null;
  const hash = `#${name}=${number}`;
  return parse(hash).kind === 'lesson' ? hash : null;
}
