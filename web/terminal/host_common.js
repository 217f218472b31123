// What every host of the WebAssembly program shares: the page and the node
// runner (tools/run-node.js). The host's answers must equal
// console/terminal_web.cc's constants; the widths must equal those of the
// page's terminal widget (xterm.js with its default Unicode 6 tables), or
// Backspace drifts from what is drawn.

// Answers of the host's write().
export const HOST_YIELD = 1;
export const HOST_FAILED = -1;

// Column distance of the terminal's tab stops.
export const TAB_WIDTH = 8;

// East Asian wide characters: two columns each.
const WIDE = [
  [0x1100, 0x115f],
  [0x2329, 0x232a],
  [0x2e80, 0x303e],
  [0x3040, 0xa4cf],
  [0xac00, 0xd7a3],
  [0xf900, 0xfaff],
  [0xfe10, 0xfe19],
  [0xfe30, 0xfe6f],
  [0xff00, 0xff60],
  [0xffe0, 0xffe6],
  [0x20000, 0x2fffd],
  [0x30000, 0x3fffd],
];
// The combining marks a keyboard or a paste commonly gives: no column of
// their own, they join the character before them.
const COMBINING = [
  [0x0300, 0x036f],
  [0x0483, 0x0489],
  [0x0591, 0x05bd],
  [0x0610, 0x0615],
  [0x064b, 0x065e],
  [0x0e31, 0x0e31],
  [0x0e34, 0x0e3a],
  [0x0e47, 0x0e4e],
  [0x1160, 0x11ff],
  [0x200b, 0x200f],
  [0x202a, 0x202e],
  [0x2060, 0x2063],
  [0x20d0, 0x20ef],
  [0x302a, 0x302f],
  [0x3099, 0x309a],
  [0xfe00, 0xfe0f],
  [0xfe20, 0xfe23],
  [0xfeff, 0xfeff],
  [0xe0100, 0xe01ef],
];

function within(ranges, c) {
  for (const [low, high] of ranges) {
    if (c < low) return false;
    if (c <= high) return true;
  }
  return false;
}

// Columns that one printable code point takes on the screen: 0, 1 or 2.
export function cellWidth(codePoint) {
  if (codePoint < 0x300) return 1;
  if (within(COMBINING, codePoint)) return 0;
  return within(WIDE, codePoint) ? 2 : 1;
}

// Where a tab typed at column `col` of a row `cols` wide leaves the cursor:
// the next stop, never past the last column; a cursor already past the
// last column (its next character wraps) stays.
export function tabStop(col, cols) {
  if (col >= cols) return col;
  return Math.min((Math.floor(col / TAB_WIDTH) + 1) * TAB_WIDTH, cols - 1);
}

// Whether a host colours the program's output: an interactive terminal
// that is not "dumb", unless NO_COLOR is set (no-color.org).
export function colorWanted({ interactive, noColor, term }) {
  return !!interactive && !noColor && !!term && term !== 'dumb';
}

// Escape sequences stepped through a byte (or a typed character) at a
// time, for the program's output (a sequence may span two writes) and the
// keys a terminal sends: the state after `b` where `state` was the state
// before it, null outside a sequence, 'esc' after ESC, 'csi' inside
// ESC [ ... final, and 'ss3' after ESC O, which the next one ends (F1 to
// F4, and arrows in application mode). `b` is text where both are null.
const ESC = 0x1b;
export function escapeState(state, b) {
  if (state === 'esc') return b === 0x5b ? 'csi' : b === 0x4f ? 'ss3' : null;
  if (state === 'csi') return b >= 0x40 && b <= 0x7e ? null : 'csi';
  if (state === 'ss3') return null;
  return b === ESC ? 'esc' : null;
}

// The bytes of `pieces` (`size` in all) as one array; a single piece as it is.
export function concat(pieces, size) {
  if (pieces.length === 1) return pieces[0];
  const all = new Uint8Array(size);
  let at = 0;
  for (const piece of pieces) {
    all.set(piece, at);
    at += piece.length;
  }
  return all;
}
