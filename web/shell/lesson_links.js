// Lesson links on the page. An address ending in #collatz=27 (lesson_link.js
// says which) types, once the menu waits, the keys a student would: the
// menu's choice when the menu prompt is on screen, the number when the
// demonstration's prompt is, so the screen, the picture and the saved session
// are those of typing them. A new # while the page is open starts that
// demonstration (starting the program again unless it waits at the menu).
// Anything else after # types nothing and the note line says so, through
// the control bar's note().
//   followLessonLinks(run, note)
import { parse } from './lesson_link.js';
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';
import { i18n } from './i18n.js';

// The menu's prompt (app/menu.cc) at which the choice is typed; the number
// is typed at its demonstration's own prompt.
const MENU_PROMPT = 'Please choose:';
// A note that stays until the next one.
const STAYS = 0;

export function followLessonLinks(run, note) {
  const { term } = run;
  const t = (key, vars) => i18n.t(key, vars);
  // The lines still to type for the link being followed, with the prompt
  // each waits for, or null.
  let pending = null;
  let badShown = false; // the note says a link was not understood

  // The cursor's row when it stands right after the text of that row, or
  // null: a prompt waits there, nothing typed after it yet.
  function promptRow() {
    if (run.state !== 'running') return null;
    const buffer = term.buffer.active;
    const line = buffer.getLine(buffer.baseY + buffer.cursorY);
    if (!line) return null;
    const text = line.translateToString(true);
    return buffer.cursorX === text.length ? text : null;
  }

  function typeWhenAsked() {
    if (!pending) return;
    const row = promptRow();
    if (row === null) return;
    const { line, prompt } = pending[0];
    if (!row.endsWith(prompt)) {
      // Back at the menu before the number was asked for: given up.
      if (pending.length === 1 && row.endsWith(MENU_PROMPT)) pending = null;
      return;
    }
    pending.shift();
    if (pending.length === 0) pending = null;
    term.input(`${line}\r`);
  }

  function follow(hash) {
    const link = parse(hash);
    if (link.kind === 'none') return;
    if (link.kind === 'bad') {
      pending = null;
      note(t('lesson.bad'), STAYS);
      badShown = true;
      return;
    }
    if (badShown) note('', STAYS);
    badShown = false;
    const [choice, number] = link.keys.split('\r');
    pending = [
      { line: choice, prompt: MENU_PROMPT },
      { line: number, prompt: DEMONSTRATIONS[link.demo].prompt },
    ];
    if (run.state === 'failed') return; // the program cannot load: nothing to type into
    const atMenu = promptRow();
    if (run.state === 'loading' || (atMenu !== null && atMenu.endsWith(MENU_PROMPT))) typeWhenAsked();
    else run.restart();
  }

  term.onWriteParsed(typeWhenAsked);
  run.addEventListener('state', typeWhenAsked);
  window.addEventListener('hashchange', () => follow(location.hash));
  follow(location.hash);
}
