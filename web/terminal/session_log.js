// The session as a terminal shows it, for saving, copying and printing: what
// the program wrote (its colour sequences dropped, its tabs kept) with the
// lines typed where they were sent. It keeps the whole session up to a
// limit; past it the oldest text goes, and the text then begins with a line
// that says its start was cut, followed by the first whole line kept.
//
// new SessionLog(limit)   limit in bytes of UTF-8
// log.program(bytes)      the program's output, UTF-8, in the order written
// log.typed(text)         a line as the terminal shows it typed
// log.mark(text)          a line of the page's own (a run's start), on a line
//                         of its own
// log.text(notice)        the session; notice(cutBytes) words the cut, in
//                         the page's words (shell/i18n.js's session.cut), and is
//                         needed only once the limit has cut the session
// SessionLog.lastLines(text, count, notice)
//                         the last `count` lines of `text`, after a line
//                         notice(cutLines) when some were left out
import { concat, escapeState } from './host_common.js';

// The longest listings run to gigabytes; a saved session keeps its last
// 64 MiB, which holds every listing up to Goldbach's 10^8 (8 MB) and keeps
// the page's memory bounded.
export const SESSION_LIMIT = 64 * 1024 * 1024;
// Small pieces are joined into blocks of about this size, so that the
// pieces kept stay few however small the program's writes are.
const CHUNK = 64 * 1024;
const ESC = 0x1b;
const LINE_FEED = 0x0a;

// The text is kept as the program's UTF-8 bytes and decoded only when it
// is asked for: a listing costs the page no more than holding its bytes.
export class SessionLog {
  constructor(limit = SESSION_LIMIT) {
    this.limit = limit;
    this.chunks = [];
    this.pending = [];
    this.pendingSize = 0;
    this.size = 0;
    this.cut = 0;
    this.escape = null; // null, 'esc' or 'csi': a sequence may span two writes
    this.last = LINE_FEED; // the last byte kept: a mark starts a line of its own
  }

  // `bytes` is kept, not copied: the caller must not change it afterwards.
  program(bytes) {
    this.append(this.escape || bytes.indexOf(ESC) >= 0 ? this.strip(bytes) : bytes);
  }

  typed(text) {
    this.append(new TextEncoder().encode(text));
  }

  mark(text) {
    this.typed(`${this.last === LINE_FEED ? '' : '\n'}${text}\n`);
  }

  text(notice) {
    this.seal();
    let all = concat(this.chunks, this.size);
    if (this.cut === 0) return new TextDecoder().decode(all);
    const firstWhole = all.indexOf(LINE_FEED) + 1;
    all = all.subarray(firstWhole);
    return `${notice(this.cut + firstWhole)}\n${new TextDecoder().decode(all)}`;
  }

  strip(bytes) {
    const out = new Uint8Array(bytes.length);
    let n = 0;
    for (const b of bytes) {
      const escaped = this.escape !== null;
      this.escape = escapeState(this.escape, b);
      if (!escaped && this.escape === null) out[n++] = b;
    }
    return out.subarray(0, n);
  }

  append(bytes) {
    if (bytes.length === 0) return;
    this.last = bytes[bytes.length - 1];
    if (bytes.length >= CHUNK) {
      this.seal();
      this.chunks.push(bytes);
    } else {
      this.pending.push(bytes);
      this.pendingSize += bytes.length;
      if (this.pendingSize >= CHUNK) this.seal();
    }
    this.size += bytes.length;
    if (this.size > this.limit) this.trim();
  }

  seal() {
    if (this.pending.length === 0) return;
    this.chunks.push(concat(this.pending, this.pendingSize));
    this.pending = [];
    this.pendingSize = 0;
  }

  trim() {
    this.seal();
    while (this.size - this.chunks[0].length >= this.limit) {
      const dropped = this.chunks.shift();
      this.size -= dropped.length;
      this.cut += dropped.length;
    }
    const excess = this.size - this.limit;
    if (excess <= 0) return;
    this.chunks[0] = this.chunks[0].subarray(excess);
    this.size -= excess;
    this.cut += excess;
  }
}

SessionLog.lastLines = function lastLines(text, count, notice) {
  let at = text.length - (text.endsWith('\n') ? 1 : 0);
  for (let kept = 0; kept < count; kept++) {
    at = at > 0 ? text.lastIndexOf('\n', at - 1) : -1;
    if (at < 0) return text;
  }
  const cut = text.slice(0, at + 1).split('\n').length - 1;
  return `${notice(cut)}\n${text.slice(at + 1)}`;
};
