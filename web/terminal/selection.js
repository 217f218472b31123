// The terminal's selection as text with the program's tabs in it, so that a
// copied listing pastes into separate spreadsheet cells. The terminal widget's
// own selection text turns every cell a tab passed over into a blank; but a
// tab moves the cursor without writing, so those cells stay empty, while the
// program's own blanks are written cells. A run of empty cells before a
// written one is therefore what tabs left: it is given back as the tabs that
// reach its end, and blanks for what the tab stops do not explain. Empty
// cells at the end of a row are dropped, as a terminal's copy does.
//
// selectionText(term) -> string, '' without a selection.
import { tabStop } from './host_common.js';

// The text for empty cells from column `from` up to `to` (exclusive).
function gap(from, to, cols) {
  let text = '';
  let col = from;
  for (let next = tabStop(col, cols); next > col && next <= to; next = tabStop(col, cols)) {
    text += '\t';
    col = next;
  }
  return text + ' '.repeat(to - col);
}

function rowText(line, from, to, cols, cell) {
  let text = '';
  let emptyFrom = -1;
  for (let x = from; x < to; x++) {
    line.getCell(x, cell);
    if (cell.getWidth() === 0) continue; // the right half of a wide character
    const chars = cell.getChars();
    if (chars === '') {
      if (emptyFrom < 0) emptyFrom = x;
      continue;
    }
    if (emptyFrom >= 0) text += gap(emptyFrom, x, cols);
    emptyFrom = -1;
    text += chars;
  }
  return text;
}

export function selectionText(term) {
  const range = term.getSelectionPosition();
  if (!range) return '';
  const buffer = term.buffer.active;
  const cols = term.cols;
  const cell = buffer.getNullCell();
  let text = '';
  for (let y = range.start.y; y <= range.end.y; y++) {
    const line = buffer.getLine(y);
    if (!line) break;
    const from = y === range.start.y ? range.start.x : 0;
    const to = y === range.end.y ? Math.min(range.end.x, cols) : cols;
    const next = y < range.end.y ? buffer.getLine(y + 1) : null;
    text += rowText(line, from, to, cols, cell);
    if (y < range.end.y && !(next && next.isWrapped)) text += '\n';
  }
  return text;
}
