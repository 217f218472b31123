// The line being typed, edited as a terminal in canonical mode edits it:
// keys and pastes go in, the echo for the screen and the finished lines for
// the program come out. It follows the cursor's column through the program's
// output and its own echo, so that Backspace erases exactly the columns a
// character took: two for a wide character, up to the next stop for a tab.
// The terminal must have reverse wrap-around on (DECSET 45), so that the
// erasing echo's backspaces step back over a row the line wrapped from.
//
// new LineEditor(cols)   cols() gives the terminal's width in columns
// editor.output(bytes)   the program's output (UTF-8, colour sequences)
// editor.feed(data)      -> { echo, actions }: actions in order, each one of
//                          { line } (text to send: one line or, from a
//                          paste, several, each "\n"-ended, or a line that
//                          Ctrl-D sent without its end), { eof: true }, { interrupt: true }
//                          (Ctrl-C: the rest of `data` is dropped),
//                          { pause: true | false } (Ctrl-S, Ctrl-Q)
import { cellWidth, tabStop, escapeState } from './host_common.js';

const REPLACEMENT = 0xfffd;
// Whole lines of plain text, tabs and ASCII (a paste, mostly): nothing in
// them is edited, so they are sent and echoed as they stand, in one piece.
const PLAIN_LINE = /[\t\x20-\x7e]*[\r\n]/y;

export class LineEditor {
  constructor(cols) {
    this.cols = cols;
    this.col = 0;
    // What is typed: { text, width, from }, one per character (a
    // combining mark joins the entry before it), from being its column.
    this.entries = [];
    // The program's output may split a sequence between two writes.
    this.utf8Need = 0;
    this.utf8Code = 0;
    this.outputEscape = null; // null, 'esc' or 'csi'
  }

  output(bytes) {
    // Only what follows the last line feed decides the column.
    let start = bytes.lastIndexOf(0x0a) + 1;
    if (start > 0) {
      this.col = 0;
      this.utf8Need = 0;
      this.outputEscape = null;
    }
    for (let i = start; i < bytes.length; i++) this.outputByte(bytes[i]);
  }

  outputByte(b) {
    if (this.utf8Need > 0) {
      if ((b & 0xc0) === 0x80) {
        this.utf8Code = (this.utf8Code << 6) | (b & 0x3f);
        if (--this.utf8Need === 0) this.advance(this.utf8Code);
        return;
      }
      this.utf8Need = 0;
      this.advance(REPLACEMENT);
    }
    const escaped = this.outputEscape !== null;
    this.outputEscape = escapeState(this.outputEscape, b);
    if (escaped || this.outputEscape !== null) return;
    if (b === 0x0d) this.col = 0;
    else if (b === 0x09) this.col = tabStop(this.col, this.cols());
    else if (b < 0x20 || b === 0x7f) return;
    else if (b < 0x80) this.advance(b);
    else if ((b & 0xe0) === 0xc0) this.startSequence(b & 0x1f, 1);
    else if ((b & 0xf0) === 0xe0) this.startSequence(b & 0x0f, 2);
    else if ((b & 0xf8) === 0xf0) this.startSequence(b & 0x07, 3);
    else this.advance(REPLACEMENT);
  }

  startSequence(code, need) {
    this.utf8Code = code;
    this.utf8Need = need;
  }

  // A character that does not fit on the row goes to the start of the next.
  advance(codePoint) {
    const width = cellWidth(codePoint);
    if (width === 0) return;
    if (this.col + width > this.cols()) this.col = 0;
    this.col += width;
  }

  feed(data) {
    const out = { echo: '', actions: [] };
    // The keys' own sequences (arrows, function keys, Alt) are dropped; one
    // cut off at the end of `data` ends there.
    let escape = null;
    for (let i = 0; i < data.length;) {
      if (escape === null) {
        let end = i;
        for (PLAIN_LINE.lastIndex = i; PLAIN_LINE.test(data);) end = PLAIN_LINE.lastIndex;
        if (end > i) {
          this.sendLines(data.slice(i, end), out);
          i = end;
          continue;
        }
      }
      const ch = String.fromCodePoint(data.codePointAt(i));
      i += ch.length;
      const escaped = escape !== null;
      escape = escapeState(escape, ch.codePointAt(0));
      if (escaped || escape !== null) continue;
      if (ch === '\x03') {
        this.entries = [];
        out.actions.push({ interrupt: true });
        return out;
      }
      this.key(ch, out);
    }
    return out;
  }

  key(ch, out) {
    switch (ch) {
      case '\r':
      case '\n':
        out.echo += '\r\n';
        out.actions.push({ line: this.take() + '\n' });
        this.col = 0;
        return;
      case '\x7f':
      case '\b':
        if (this.entries.length > 0) out.echo += this.erase();
        return;
      case '\x15': // Ctrl-U: the whole line
        while (this.entries.length > 0) out.echo += this.erase();
        return;
      case '\x04': // Ctrl-D: the end of input at the start of a line, else sends the line
        if (this.entries.length === 0) out.actions.push({ eof: true });
        else out.actions.push({ line: this.take() });
        return;
      case '\x13': // Ctrl-S and Ctrl-Q: output stopped and started, as a terminal's flow control
        out.actions.push({ pause: true });
        return;
      case '\x11':
        out.actions.push({ pause: false });
        return;
      case '\t':
        this.type(ch, tabStop(this.col, this.cols()) - this.col);
        out.echo += ch;
        return;
      default: {
        const code = ch.codePointAt(0);
        if (code < 0x20 || (code >= 0x7f && code < 0xa0)) return; // other control keys edit nothing
        const width = cellWidth(code);
        if (width === 0) {
          // A mark with nothing typed before it would join the prompt.
          if (this.entries.length === 0) return;
          this.entries[this.entries.length - 1].text += ch;
        } else {
          const wraps = this.col + width > this.cols();
          this.type(ch, width, wraps);
        }
        out.echo += ch;
      }
    }
  }

  // Whole lines, each ended by a line end key: the first after what was
  // typed before it. Echoed as Enter echoes.
  sendLines(text, out) {
    out.echo += text.replace(/[\r\n]/g, '\r\n');
    out.actions.push({ line: this.take() + text.replace(/\r/g, '\n') });
    this.col = 0;
  }

  // A character that wraps is erased back to the start of its row, which
  // for the next character is the same as the end of the row before.
  type(text, width, wraps = false) {
    const from = wraps ? this.cols() : this.col;
    this.entries.push({ text, width, from, tab: text === '\t' });
    this.col = (wraps ? 0 : this.col) + width;
  }

  take() {
    const line = this.entries.map((entry) => entry.text).join('');
    this.entries = [];
    return line;
  }

  // The echo that takes the last entry off the screen.
  erase() {
    const entry = this.entries.pop();
    this.col = entry.from;
    const back = '\b'.repeat(entry.width);
    // A tab wrote nothing over the columns it passed.
    return entry.tab ? back : back + ' '.repeat(entry.width) + back;
  }
}
