// The terminal widget of the page: made, opened in its box and given the
// keys and the copying of other terminals.
//   createTerminal(box)   the widget (xterm.js), opened in `box`
//   warmUp(term)          parses, while the page is idle, lines of the kind a
//                         long listing writes, in a terminal that is never
//                         shown (see WARM_UP_LINES)
// Its colours are the page's (--terminal-* in shell/style.css), its fonts
// the printout's (--terminal-font).
import { Terminal } from '@xterm/xterm';
import { selectionText } from './selection.js';

// Lines kept above the screen: a long listing must not fill the memory
// (the session log keeps the whole session for saving).
const SCROLLBACK = 5000;
// The first long listing would be parsed by the browser's baseline code,
// its kept lines about a fifth slower than a later listing's (four
// squares of 2·10^8): a terminal that is never shown parses this many
// lines of the same kind once, in a few pieces, while the page is idle.
const WARM_UP_LINES = 1500;
const WARM_UP_PIECES = 3;
// The palette's colours that the page sets (the rest are xterm.js's own),
// by the custom property that holds each.
const THEME = {
  background: '--terminal-background',
  foreground: '--terminal-foreground',
  black: '--terminal-black',
  brightBlack: '--terminal-bright-black',
  brightRed: '--terminal-bright-red',
  brightGreen: '--terminal-bright-green',
  brightWhite: '--terminal-bright-white',
};

export function createTerminal(box) {
  const style = getComputedStyle(document.documentElement);
  const read = (name) => style.getPropertyValue(name).replace(/\s+/g, ' ').trim();
  const term = new Terminal({
    cols: 80,
    rows: 30,
    scrollback: SCROLLBACK,
    convertEol: true, // "\n" starts a new line, as a terminal's output processing does
    cursorBlink: true,
    fontSize: 15,
    // The terminal's fonts, which the printout shares (style.css).
    fontFamily: read('--terminal-font') || 'monospace',
    // A true black background (the default palette paints black as grey).
    theme: Object.fromEntries(Object.entries(THEME).map(([colour, name]) => [colour, read(name)])),
  });

  // Keys as in other terminals: Ctrl-C copies a selection (and otherwise
  // reaches the program as an interrupt), Ctrl-V and Ctrl-Shift-V paste,
  // Tab moves the focus on. (Ctrl-S and Ctrl-Q reach the line editor, which
  // pauses and resumes the output with them.) Returning false leaves the key to the browser,
  // whose copy, paste and focus do the rest.
  // Every phase of such a key is left alone (keydown, and keypress where a
  // browser sends one).
  term.attachCustomKeyEventHandler((event) => {
    if (event.altKey || event.metaKey) return true;
    const key = event.key.toLowerCase();
    if (event.ctrlKey && key === 'c') {
      if (term.hasSelection()) return false;
      if (!event.shiftKey) return true;
      // Ctrl-Shift-C copies; with nothing selected it does nothing.
      if (event.type === 'keydown') event.preventDefault();
      return false;
    }
    if (event.ctrlKey && key === 'v') return false;
    if (event.key === 'Tab' && !event.ctrlKey) return false;
    return true;
  });

  // Ahead of the widget's own copy, which turns tabs into blanks.
  box.addEventListener(
    'copy',
    (event) => {
      if (!term.hasSelection()) return;
      event.clipboardData.setData('text/plain', selectionText(term));
      event.preventDefault();
      event.stopImmediatePropagation();
    },
    true,
  );

  term.open(box);
  return term;
}

export function warmUp(term) {
  // A scrollback it outgrows: lines are added, then reused, as in a listing.
  const spare = new Terminal({ cols: term.cols, rows: term.rows, scrollback: WARM_UP_LINES / 3, convertEol: true });
  const perPiece = WARM_UP_LINES / WARM_UP_PIECES;
  for (let p = 0; p < WARM_UP_PIECES; p++) {
    let text = '\x1b[92m';
    for (let k = p * perPiece; k < (p + 1) * perPiece; k++) {
      text += `\t\t${k * k + 7}=${k}x${k}+${k % 89}x${k % 89}+2x2+1x1\n`;
    }
    spare.write(`${text}\x1b[97m`, p === WARM_UP_PIECES - 1 ? () => spare.dispose() : undefined);
  }
}
