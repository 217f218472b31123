// The session taken off the page: saved as a text file, copied whole, and
// printed. The text is the run's session log (every run of the session).
//   createExport(run) -> { save(), copyAll(), printout() }
// where save() offers the file and gives its name, copyAll() gives the
// count of lines copied, or null where the browser refused, and printout()
// says what printing now would put on paper: { lines, total }, the lines
// printed of the session's total. The printout is filled in before each
// printing.
import { i18n } from './i18n.js';
import { download } from './page_common.js';
import { cellWidth } from '../terminal/host_common.js';
import { SessionLog } from '../terminal/session_log.js';

// The lines a printout holds at most: some 30 pages of A4 (28 for the end
// of a Goldbach listing of 10^8, which would otherwise print 4,464).
const PRINT_LINES = 2000;

export function createExport(run) {
  function lineCount(text) {
    return text === '' ? 0 : text.split('\n').length - (text.endsWith('\n') ? 1 : 0);
  }

  function fileName(now) {
    const two = (n) => String(n).padStart(2, '0');
    return (
      `quorvantile-session-${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}-` +
      `${two(now.getHours())}${two(now.getMinutes())}.txt`
    );
  }

  function save() {
    const name = fileName(new Date());
    download(new Blob([run.sessionText()], { type: 'text/plain;charset=utf-8' }), name);
    return name;
  }

  // The clipboard API where the browser grants it; else a selected textarea
  // and the copy command, which older and file:// pages still allow.
  async function copyAll() {
    const text = run.sessionText();
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      const area = document.createElement('textarea');
      area.value = text;
      area.setAttribute('readonly', '');
      area.style.position = 'fixed';
      area.style.opacity = '0';
      document.body.append(area);
      area.select();
      const copied = document.execCommand('copy');
      area.remove();
      if (!copied) return null;
    }
    return lineCount(text);
  }

  // The printout: the session's last lines after a line that says how many
  // came before, each wide character in a box two columns wide (style.css),
  // as the terminal draws it.
  function fillPrint() {
    const text = SessionLog.lastLines(run.sessionText(), PRINT_LINES, (lines) => i18n.t('print.cut', { lines }));
    const parts = [];
    let narrow = '';
    for (const ch of text) {
      if (cellWidth(ch.codePointAt(0)) !== 2) {
        narrow += ch;
        continue;
      }
      if (narrow) parts.push(narrow);
      narrow = '';
      const wide = document.createElement('span');
      wide.className = 'wide';
      wide.textContent = ch;
      parts.push(wide);
    }
    if (narrow) parts.push(narrow);
    document.getElementById('print-session').replaceChildren(...parts);
  }

  function printout() {
    const total = lineCount(run.sessionText());
    return { lines: Math.min(total, PRINT_LINES), total };
  }

  window.addEventListener('beforeprint', fillPrint);
  return { save, copyAll, printout };
}
