// Every demonstration of the program, each described here once: the name
// the program announces it by (the `name` of its DemoRow, demos/frame.h, in
// its own demos/*.cc), its lesson link's name, its choice in the menu
// (app/menu.cc), the prompt at which it asks for its number, the number its
// card in the gallery opens (pictures/gallery.js), the numbers it takes and
// those that leave it, and its picture:
// its numbers for an entry from the program's exports
// (pictures/picture_exports_web.cc), its drawing (pictures/draw.js), what is
// left to compute once the picture shows, and a warm-up.
//   DEMONSTRATIONS     { name: { link, choice, prompt, sample, takes,
//                      valid(n), leaves, numbers(module, n,
//                      first), draw(numbers, { width, more }),
//                      afterwards?(shown, remake), warmUp?(module) } }
//   decodeRecord(module, pointer)  an export's record, decoded
// A new demonstration's picture takes: its numbers in pictures/picture_data
// and an export of them, its words in pictures/words.js, its drawing in
// pictures/draw.js, its entry here, and a round trip in
// tests/pictures_node.test.mjs.
import {
  goldbachPicture,
  collatzPicture,
  nicomachusPicture,
  fourSquaresPicture,
  sievePicture,
  ARC_PAIRS_LIMIT,
  GOLDBACH_RUNS,
  FOUR_SQUARES_WINDOW,
} from './draw.js';

// The program's numbers: each export gives one JSON object naming what it
// holds (pictures/picture_exports_web.cc); a string of digits is a whole number too
// large for a double, made a BigInt here.
export function decodeRecord(module, pointer) {
  if (!pointer) throw new Error('the program has no memory left for the picture');
  const heap = module.HEAPU8;
  const end = heap.indexOf(0, pointer);
  const json = new TextDecoder().decode(heap.subarray(pointer, end));
  module._picture_free(pointer);
  return wholes(JSON.parse(json));
}

// The strings of digits in a decoded record made BigInts, in place; a walk
// rather than JSON.parse's reviver, which is some 50 times slower on the
// comet's 50001 counts.
function wholes(value) {
  if (typeof value === 'string') return /^-?\d+$/.test(value) ? BigInt(value) : value;
  if (value === null || typeof value !== 'object') return value;
  const keys = Array.isArray(value) ? value.keys() : Object.keys(value);
  for (const key of keys) {
    if (typeof value[key] !== 'number') value[key] = wholes(value[key]);
  }
  return value;
}

// The comet up to the program's largest bound, computed once per program:
// the comet of any n is its beginning.
const comets = new WeakMap();
function fullComet(module) {
  if (!comets.has(module)) comets.set(module, decodeRecord(module, module._picture_goldbach_comet(0x7fffffff)));
  return comets.get(module);
}

// Past the program's counting limit, n's pairs are counted here run by
// run, a task for each, the picture drawn anew after each; stops when
// another picture has taken its place (shown.still() is false). Each
// count's time goes into shown.counted.
function countRuns(shown, remake) {
  const { numbers, module } = shown;
  const started = performance.now();
  const part = () => {
    if (!shown.still()) return;
    const k = numbers.runCounts.length;
    if (k + 1 >= numbers.runStarts.length) {
      numbers.count = numbers.runCounts.reduce((a, b) => a + b, 0);
      numbers.counted = true;
      shown.counted.push({ n: numbers.n, count: numbers.count, ms: Math.round(performance.now() - started) });
      remake();
      return;
    }
    try {
      const record = module._picture_goldbach_count(numbers.n, numbers.runStarts[k], numbers.runStarts[k + 1] - 1);
      numbers.runCounts.push(decodeRecord(module, record).count);
    } catch (error) {
      return; // the program has gone: the picture stays as far as it got
    }
    remake();
    setTimeout(part, 0);
  };
  setTimeout(part, 0);
}

// The sieve's largest end number (demos/sieve_bits.h).
const SIEVE_LIMIT = 1000000;
// The largest number whose cube Nicomachus's turn shows (its
// kLargestIntCubeRoot): above it the turn says the cube is too large.
const NICOMACHUS_LIMIT = 1290;
// The number every demonstration leaves on after its turn (demos/frame.h);
// Nicomachus also leaves at once on 88.
const EXIT_VALUE = 888;
const positive = (n) => n > 0;

// The numbers a demonstration's prompt takes are the validity test of its
// row (demos/*.cc; for Nicomachus, the cubes its turn shows), named by
// `takes`, the page's words for them (lesson.takes.*).
// The first call of an export runs in the browser's baseline code,
// several times slower than later ones (the first comet: about 200 ms
// instead of 30), so a visit's exports are called once with small numbers
// while the page is idle, before the first picture.
export const DEMONSTRATIONS = {
  goldbach: {
    link: 'goldbach',
    choice: 1,
    prompt: 'Please input a positive even integer:',
    sample: 100,
    takes: 'even',
    valid: (n) => n > 0 && n % 2 === 0,
    leaves: [EXIT_VALUE],
    // The comet up to n, and n's pairs; past the comet, n's pairs by runs.
    numbers(module, n) {
      const comet = fullComet(module);
      if (n > comet.bound) return { n, ...decodeRecord(module, module._picture_goldbach_pairs(n, 0, GOLDBACH_RUNS)) };
      const bound = n - (n % 2);
      const pairs = decodeRecord(module, module._picture_goldbach_pairs(n, ARC_PAIRS_LIMIT + 1, 0));
      return { n, bound, counts: comet.counts.slice(0, bound / 2 + 1), ...pairs };
    },
    draw: goldbachPicture,
    afterwards: (shown, remake) => (shown.numbers.counted ? null : countRuns(shown, remake)),
    warmUp(module) {
      fullComet(module);
      decodeRecord(module, module._picture_goldbach_pairs(2000000, 0, GOLDBACH_RUNS));
    },
  },
  collatz: {
    link: 'collatz',
    choice: 2,
    prompt: 'Please input a positive integer:',
    sample: 27,
    takes: 'positive',
    valid: positive,
    leaves: [EXIT_VALUE],
    numbers: (module, n) => ({ n, ...decodeRecord(module, module._picture_collatz(n)) }),
    draw: collatzPicture,
  },
  nicomachus: {
    link: 'nicomachus',
    choice: 3,
    prompt: 'Please input a positive integer:',
    sample: 5,
    takes: 'nicomachus',
    valid: (n) => n >= 1 && n <= NICOMACHUS_LIMIT,
    leaves: [88, EXIT_VALUE],
    numbers: (module, n) => ({ n, ...decodeRecord(module, module._picture_nicomachus(n)) }),
    draw: nicomachusPicture,
  },
  'four-square': {
    link: 'four-squares',
    choice: 4,
    prompt: 'Please input a positive integer:',
    sample: 30, // its first decomposition has four different squares
    takes: 'positive',
    valid: positive,
    leaves: [EXIT_VALUE],
    numbers: (module, n, first = 0) => ({
      n,
      ...decodeRecord(module, module._picture_four_squares(n, first, FOUR_SQUARES_WINDOW)),
    }),
    draw: fourSquaresPicture,
    warmUp: (module) => decodeRecord(module, module._picture_four_squares(1000000, 0, 1)),
  },
  sieve: {
    link: 'sieve',
    choice: 5,
    prompt: 'please input the end number:',
    sample: 100,
    takes: 'sieve',
    valid: (n) => n >= 1 && n <= SIEVE_LIMIT,
    leaves: [EXIT_VALUE],
    numbers: (module, n) => ({ n, ...decodeRecord(module, module._picture_sieve(n)) }),
    draw: sievePicture,
    warmUp: (module) => decodeRecord(module, module._picture_sieve(100000)),
  },
};
