// Lesson links: an address ending in #collatz=27 opens the page straight into
// that demonstration with that number. Pure functions, no page:
//   parse(hash)          '' or '#' -> { kind: 'none' }; a link the page can
//                        follow -> { kind: 'lesson', demo, number, keys };
//                        anything else -> { kind: 'bad' }
//   hashFor(demo, number)  '#collatz=27', or null where no link could lead
//                        there (a name or a number parse() would refuse)
// `keys` are what a student types at the menu for it: the menu's choice and
// the number, each ended by Enter. A classic script
// (window.quorvantileLessonLink) and a node module.
'use strict';

(function () {
  // The demonstrations by the names the program announces them with, and
  // their choices in the menu (app/menu.cc).
  const MENU_CHOICES = Object.freeze({
    goldbach: 1,
    collatz: 2,
    nicomachus: 3,
    'four-square': 4,
    sieve: 5,
  });
  // The program reads a 32-bit int: more digits, or a larger value, is not
  // a number it could take as typed.
  const MAX_DIGITS = 10;
  const INT_MAX = 2147483647;
  const LINK = /^#([a-z-]+)=([0-9]{1,10})$/;

  function parse(hash) {
    if (typeof hash !== 'string' || hash === '' || hash === '#') return { kind: 'none' };
    const match = LINK.exec(hash);
    if (!match) return { kind: 'bad' };
    const [, demo, digits] = match;
    if (!Object.prototype.hasOwnProperty.call(MENU_CHOICES, demo)) return { kind: 'bad' };
    if (digits.length > MAX_DIGITS) return { kind: 'bad' };
    const number = Number(digits);
    if (number > INT_MAX) return { kind: 'bad' };
    return { kind: 'lesson', demo, number, keys: `${MENU_CHOICES[demo]}\r${digits}\r` };
  }

  function hashFor(demo, number) {
    if (!Number.isInteger(number)) return null;
    const hash = `#${demo}=${number}`;
    return parse(hash).kind === 'lesson' ? hash : null;
  }

  const lessonLink = { parse, hashFor, MENU_CHOICES };
  if (typeof window !== 'undefined') window.quorvantileLessonLink = lessonLink;
  if (typeof module !== 'undefined') module.exports = lessonLink;
})();
