// Lesson links on the page. An address ending in #collatz=27 (lesson_link.js
// says which) types, once the menu waits, the keys a student would: the
// menu's choice when the menu prompt is on screen, the number when the
// demonstration's prompt is, so the screen, the picture and the saved session
// are those of typing them. A new # while the page is open starts that
// demonstration (starting the program again unless it waits at the menu).
// Anything else after # types nothing, a number the demonstration would
// refuse (or leaves on) included, and a banner over the terminal says why,
// in the page's language, until it is closed or a good link is followed.
//   followLessonLinks(run)
import { parse } from './lesson_link.js';
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';
import { i18n } from './i18n.js';
import { focusAfterClick } from './page_common.js';

// The menu's prompt (app/menu.cc) at which the choice is typed; the number
// is typed at its demonstration's own prompt.
const MENU_PROMPT = 'Please choose:';
// A bad link is quoted up to this many characters.
const SHOWN_CHARS = 40;

export function followLessonLinks(run) {
  const { term } = run;
  const t = (key, vars) => i18n.t(key, vars);
  // The lines still to type for the link being followed, with the prompt
  // each waits for, or null.
  let pending = null;

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

  // The banner over the terminal for a link that cannot be followed.
  const banner = document.createElement('div');
  banner.id = 'lesson-banner';
  banner.setAttribute('role', 'alert');
  banner.hidden = true;
  const bannerWords = document.createElement('p');
  const bannerClose = document.createElement('button');
  bannerClose.type = 'button';
  bannerClose.dataset.i18n = 'lesson.close';
  bannerClose.textContent = t('lesson.close');
  banner.append(bannerWords, bannerClose);
  document.getElementById('terminal-pane').append(banner);
  let refused = null; // { hash, link } the banner speaks of

  function sayRefused() {
    banner.hidden = refused === null;
    if (refused === null) return;
    const { hash, link } = refused;
    const shown = hash.length > SHOWN_CHARS ? `${hash.slice(0, SHOWN_CHARS)}…` : hash;
    if (link.why === 'refused') {
      bannerWords.textContent = t('lesson.bad.refused', { link: shown, takes: t(`lesson.takes.${link.takes}`) });
    } else if (link.why === 'leaves') {
      bannerWords.textContent = t('lesson.bad.leaves', { link: shown, number: link.number });
    } else {
      bannerWords.textContent = t('lesson.bad.unknown', { link: shown });
    }
  }

  bannerClose.addEventListener('click', (event) => {
    refused = null;
    sayRefused();
    focusAfterClick(event, term);
  });
  i18n.addEventListener('lang', sayRefused);

  function follow(hash) {
    const link = parse(hash);
    if (link.kind === 'none') return;
    refused = link.kind === 'bad' ? { hash, link } : null;
    sayRefused();
    if (link.kind === 'bad') {
      pending = null;
      return;
    }
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
