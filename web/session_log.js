// The session as a terminal shows it, for saving, copying and printing: what
// the program wrote (its colour sequences dropped, its tabs kept) with the
// lines typed where they were sent. It keeps the whole session up to a
// limit; past it the oldest text goes, and the text then begins with a line
// that says its start was cut, followed by the first whole line kept.
//
// new SessionLog(limit)   limit in characters (UTF-16 code units)
// log.program(bytes)      the program's output, UTF-8, in the order written
// log.typed(text)         a line as the terminal shows it typed
// log.text(notice)        the session; notice(cutCharacters) words the cut
// A classic script: window.QuorvantileSessionLog in the page, the module's
// export under node.
'use strict';

(function (root) {
  // The longest listings run to gigabytes; a saved session keeps its last
  // 64 Mi characters (64 MiB of the listings' ASCII), which holds every
  // listing up to Goldbach's 10^8 and keeps the page's memory bounded.
  const SESSION_LIMIT = 64 * 1024 * 1024;
  // Small pieces are joined into strings of about this size, so that the
  // pieces kept stay few however small the program's writes are.
  const CHUNK = 64 * 1024;
  const ESC = 0x1b;

  function englishNotice(cut) {
    return `[The start of this session is cut: its first ${cut} characters are not kept.]`;
  }

  class SessionLog {
    constructor(limit = SESSION_LIMIT) {
      this.limit = limit;
      this.chunks = [];
      this.pending = [];
      this.pendingSize = 0;
      this.size = 0;
      this.cut = 0;
      this.decoder = new TextDecoder();
      this.escape = null; // null, 'esc' or 'csi': a sequence may span two writes
    }

    program(bytes) {
      const clean = this.escape || bytes.indexOf(ESC) >= 0 ? this.strip(bytes) : bytes;
      this.append(this.decoder.decode(clean, { stream: true }));
    }

    typed(text) {
      this.append(text);
    }

    text(notice = englishNotice) {
      const all = this.chunks.join('') + this.pending.join('');
      if (this.cut === 0) return all;
      const firstWhole = all.indexOf('\n') + 1;
      return `${notice(this.cut + firstWhole)}\n${all.slice(firstWhole)}`;
    }

    strip(bytes) {
      const out = new Uint8Array(bytes.length);
      let n = 0;
      for (const b of bytes) {
        if (this.escape === 'esc') {
          this.escape = b === 0x5b ? 'csi' : null;
        } else if (this.escape === 'csi') {
          if (b >= 0x40 && b <= 0x7e) this.escape = null;
        } else if (b === ESC) {
          this.escape = 'esc';
        } else {
          out[n++] = b;
        }
      }
      return out.subarray(0, n);
    }

    append(text) {
      if (text.length === 0) return;
      this.pending.push(text);
      this.pendingSize += text.length;
      this.size += text.length;
      if (this.pendingSize >= CHUNK || this.size > this.limit) this.seal();
      if (this.size > this.limit) this.trim();
    }

    seal() {
      if (this.pending.length === 0) return;
      this.chunks.push(this.pending.join(''));
      this.pending = [];
      this.pendingSize = 0;
    }

    trim() {
      while (this.size - this.chunks[0].length >= this.limit) {
        const dropped = this.chunks.shift();
        this.size -= dropped.length;
        this.cut += dropped.length;
      }
      const excess = this.size - this.limit;
      if (excess <= 0) return;
      this.chunks[0] = this.chunks[0].slice(excess);
      this.size -= excess;
      this.cut += excess;
    }
  }

  const exported = { SessionLog, SESSION_LIMIT };
  if (typeof module !== 'undefined') module.exports = exported;
  else root.QuorvantileSessionLog = SessionLog;
})(typeof window !== 'undefined' ? window : globalThis);
