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
// the number, each ended by Enter. A classic script
// (window.quorvantileLessonLink) and a node module.
'use strict';

(function () {
  // The sieve's largest end number (demos/sieve_bits.h).
  const SIEVE_LIMIT = 1000000;
  // The largest number whose cube Nicomachus's turn shows (its
  // kLargestIntCubeRoot): above it the turn says the cube is too large.
  const NICOMACHUS_LIMIT = 1290;
  // The number every demonstration leaves on after its turn (demos/frame.h);
  // Nicomachus also leaves at once on 88.
  const EXIT_VALUE = 888;
  const positive = (n) => n > 0;
  // The links' names, each with the name the program announces the
  // demonstration by, its choice in the menu (app/menu.cc), the numbers its
  // prompt takes (the validity test of its row, demos/*.cc, and for
  // Nicomachus the cubes its turn shows), named by the page's words for
  // them, and the numbers that leave it.
  const LINKS = Object.freeze({
    goldbach: { demo: 'goldbach', choice: 1, takes: 'even', valid: (n) => n > 0 && n % 2 === 0, leaves: [EXIT_VALUE] },
    collatz: { demo: 'collatz', choice: 2, takes: 'positive', valid: positive, leaves: [EXIT_VALUE] },
    nicomachus: {
      demo: 'nicomachus',
      choice: 3,
      takes: 'nicomachus',
      valid: (n) => n >= 1 && n <= NICOMACHUS_LIMIT,
      leaves: [88, EXIT_VALUE],
    },
    'four-squares': { demo: 'four-square', choice: 4, takes: 'positive', valid: positive, leaves: [EXIT_VALUE] },
    sieve: { demo: 'sieve', choice: 5, takes: 'sieve', valid: (n) => n >= 1 && n <= SIEVE_LIMIT, leaves: [EXIT_VALUE] },
  });
  // The program reads a 32-bit int: more digits, or a larger value, is not
  // a number it could take as typed.
  const MAX_DIGITS = 10;
  const INT_MAX = 2147483647;
  const LINK = /^#([a-z-]+)=([0-9]{1,10})$/;

  function parse(hash) {
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

  function linkOf(demo) {
    return Object.keys(LINKS).find((key) => LINKS[key].demo === demo);
  }

  function teaches(demo, number) {
    const name = linkOf(demo);
    return !!name && !LINKS[name].leaves.includes(number);
  }

  function hashFor(demo, number) {
    const name = linkOf(demo);
    if (!name || !Number.isInteger(number)) return null;
    const hash = `#${name}=${number}`;
    return parse(hash).kind === 'lesson' ? hash : null;
  }

  const lessonLink = { parse, teaches, hashFor, LINKS };
  if (typeof window !== 'undefined') window.quorvantileLessonLink = lessonLink;
  if (typeof module !== 'undefined') module.exports = lessonLink;
})();
