// The terminal in its box: the text size and the columns and rows that fit,
// the view that follows the output, and touch scrolling.
//   createView(term, run) -> view, an EventTarget with { MIN_COLS,
//                            MENU_COLS, MIN_ROWS, textSize(step), linesCut() }
// where textSize(step) moves the user's text size by `step` steps (0 leaves
// it) and gives { size, smaller, larger }: the size in px and whether a
// smaller and a larger one are left; linesCut() says whether the columns
// are wider than the box. It dispatches 'fit' (detail: textSize(0)) after
// every fit, for the controls of the text size. Each change of the run's
// state may have laid the page out anew; a new run has reset the terminal.
import { FitAddon } from '@xterm/addon-fit';
import { load, store } from '../shell/page_common.js';

// The listings are laid out for 80 columns: where 80 fit at a readable
// size, the terminal never has fewer.
const MIN_COLS = 80;
// A phone held upright has no room for 80, not even at the smallest text
// (NARROW_FONT_MIN): its terminal is as wide as its screen, down to the
// widest thing the program draws, the farewell picture's rows (67 columns
// with their trailing blanks; the menu's frame ends in column 64). Longer
// lines wrap there, as in any terminal of that width. Below it the terminal
// keeps these columns and scrolls sideways in its own box. layout.test.cjs
// holds this number to the native program.
const MENU_COLS = 67;
// Below this the page prefers smaller text to fewer rows: the menu from its
// banner ("I LOVE C++") to its prompt takes 25 rows (app/menu.cc's
// showMenu() and runMenu(); layout.test.cjs counts them in the native
// program's output and holds this number to them).
const MIN_ROWS = 25;
// The sizes the page chooses itself: 12 px is the smallest that reads well
// on a phone held at reading distance, and above 32 px a projector gains
// legibility only by losing rows.
const AUTO_FONT_MIN = 12;
const AUTO_FONT_MAX = 32;
// ...where 80 columns do not fit even at 9 px, the text may go down to
// 9 px to keep the menu whole: the smallest a phone's dense screen still
// draws crisply, read at arm's length. (Wider boxes that miss 80 columns
// at 12 px keep 80 and scroll sideways.)
const NARROW_FONT_MIN = 9;
// The user's smaller/larger steps, in px from the chosen size, and their
// bounds.
const TEXT_STEP_PX = 2;
const TEXT_STEPS_MAX = 8;
const USER_FONT_MIN = 8;
const USER_FONT_MAX = 48;
const TEXT_STEPS_KEY = 'quorvantile.textSize';

export function createView(term, run) {
  const view = new EventTarget();
  const pane = document.getElementById('terminal-pane');
  const box = document.getElementById('terminal');
  const clamp = (value, low, high) => Math.min(high, Math.max(low, value));

  // ---------------------------------------------------------------------------
  // Size: the largest text that gives MIN_COLS columns and MIN_ROWS rows in
  // the box; in a box too narrow for MIN_COLS at NARROW_FONT_MIN, the
  // largest up to AUTO_FONT_MIN that gives MENU_COLS. Then the user's steps move it,
  // and the terminal takes as many columns and rows as fit, never fewer
  // columns than the chosen least.

  const fitAddon = new FitAddon();
  term.loadAddon(fitAddon);
  let textSteps = clamp(Number(load(TEXT_STEPS_KEY, 0)) || 0, -TEXT_STEPS_MAX, TEXT_STEPS_MAX);

  function proposal(fontSize) {
    if (term.options.fontSize !== fontSize) term.options.fontSize = fontSize;
    return fitAddon.proposeDimensions();
  }

  // The largest size from `low` to `high` at which `fits`, else `low`.
  function largest(low, high, fits) {
    if (!fits(low)) return low;
    while (low < high) {
      const middle = Math.ceil((low + high) / 2);
      if (fits(middle)) low = middle;
      else high = middle - 1;
    }
    return low;
  }

  const givesCols = (cols) => (fontSize) => {
    const dims = proposal(fontSize);
    return !!dims && dims.cols >= cols;
  };

  // { fontSize, leastCols }
  function chosenSize() {
    if (!givesCols(MIN_COLS)(NARROW_FONT_MIN)) {
      return { fontSize: largest(NARROW_FONT_MIN, AUTO_FONT_MIN, givesCols(MENU_COLS)), leastCols: MENU_COLS };
    }
    const fitsFrame = (fontSize) => givesCols(MIN_COLS)(fontSize) && proposal(fontSize).rows >= MIN_ROWS;
    return { fontSize: largest(AUTO_FONT_MIN, AUTO_FONT_MAX, fitsFrame), leastCols: MIN_COLS };
  }

  // The width of the columns and the terminal's scroll bar, in CSS px.
  function widthOfColumns() {
    const screen = term.element.querySelector('.xterm-screen');
    const viewport = term.element.querySelector('.xterm-viewport');
    return Math.ceil(screen.getBoundingClientRect().width + (viewport.offsetWidth - viewport.clientWidth));
  }

  function fit() {
    if (!term.element || pane.clientWidth === 0) return; // not laid out (a hidden tab)
    box.style.width = '';
    const chosen = chosenSize();
    const fontSize = clamp(chosen.fontSize + textSteps * TEXT_STEP_PX, USER_FONT_MIN, USER_FONT_MAX);
    let dims = proposal(fontSize);
    if (!dims) return;
    if (dims.cols < chosen.leastCols) {
      term.resize(chosen.leastCols, dims.rows);
      box.style.width = `${widthOfColumns()}px`;
      dims = fitAddon.proposeDimensions(); // the box's own scroll bar takes height
    }
    const cols = Math.max(chosen.leastCols, dims.cols);
    if (cols !== term.cols || dims.rows !== term.rows) term.resize(cols, dims.rows);
    view.dispatchEvent(new CustomEvent('fit', { detail: textSize(0) }));
  }

  let fitPending = false;
  function scheduleFit() {
    if (fitPending) return;
    fitPending = true;
    requestAnimationFrame(() => {
      fitPending = false;
      fit();
    });
  }

  new ResizeObserver(scheduleFit).observe(pane, { box: 'border-box' });
  window.addEventListener('resize', scheduleFit);

  function textSize(step) {
    if (step !== 0) {
      textSteps = clamp(textSteps + step, -TEXT_STEPS_MAX, TEXT_STEPS_MAX);
      store(TEXT_STEPS_KEY, textSteps);
      fit();
      revealCursor();
    }
    const size = term.options.fontSize;
    return {
      size,
      smaller: textSteps > -TEXT_STEPS_MAX && size > USER_FONT_MIN,
      larger: textSteps < TEXT_STEPS_MAX && size < USER_FONT_MAX,
    };
  }

  const linesCut = () => pane.scrollWidth > pane.clientWidth;

  // ---------------------------------------------------------------------------
  // Following the output: the view shows the last rows, where the output
  // arrives and the line is typed, unless the user has scrolled back on
  // purpose (the wheel, a swipe, the scroll bar, Shift-PageUp and the like).
  // Any other move of the view is undone: when a refit or a new text size
  // changes the height of the terminal's scroll area, the browser moves its
  // scroll position, and xterm.js takes that for the user's scrolling and
  // stays on old rows (at the top of the scrollback) from then on.

  const viewport = term.element.querySelector('.xterm-viewport');
  // The scroll area holds no control: never a stop of Tab's (Chromium makes
  // every scrollable box one, where the keys would reach nothing).
  viewport.tabIndex = -1;
  const SCROLL_KEYS = new Set(['PageUp', 'PageDown', 'Home', 'End']);
  // A drag of this many px with a button down is the user's (selecting past
  // the edge scrolls); a click is not.
  const DRAG_PX = 4;
  // How long after a wheel turn or a scrolling key the view's moves are the
  // user's.
  const GESTURE_MS = 300;
  let following = true;
  let typed = false; // a key was typed: its echo is to be shown
  let gestureUntil = 0;
  let press = null; // { x, y, onScrollBar, dragged } while a button is down on the terminal
  let touching = false; // a finger scrolls the rows

  const atEnd = () => term.buffer.active.viewportY >= term.buffer.active.baseY;
  const byUser = () =>
    touching || performance.now() < gestureUntil || (press !== null && (press.onScrollBar || press.dragged));

  function keepFollowing() {
    if (!following || atEnd() || byUser() || !Number.isFinite(term.buffer.active.viewportY)) return;
    term.scrollToBottom();
  }

  // Start again resets the terminal, and xterm.js measures its rows anew a
  // frame or two later: a scroll event in between (the old scrollback's
  // position given up) is turned into a row by dividing by a row height of
  // 0, and the view is lost until the page is reloaded. Such events are
  // swallowed, ahead of xterm.js's own listener, until it has measured.
  const RESET_FRAMES = 3;
  let measuring = false;
  function afterReset() {
    measuring = true;
    following = true;
    let frames = RESET_FRAMES;
    const wait = () => {
      if (--frames > 0) {
        requestAnimationFrame(wait);
        return;
      }
      measuring = false;
      keepFollowing();
    };
    requestAnimationFrame(wait);
  }
  viewport.addEventListener(
    'scroll',
    (event) => {
      if (measuring) event.stopImmediatePropagation();
    },
    true,
  );

  // Where the view stands after the user moved it: following again at the end.
  function viewMoved() {
    if (byUser()) following = atEnd();
    else keepFollowing();
  }

  function gesture() {
    gestureUntil = performance.now() + GESTURE_MS;
    setTimeout(() => {
      if (performance.now() >= gestureUntil && press === null && !touching) following = atEnd();
    }, GESTURE_MS + 10);
  }

  viewport.addEventListener('scroll', viewMoved); // after xterm.js's own listener
  term.onScroll(viewMoved);
  term.onWriteParsed(keepFollowing);
  term.onResize(keepFollowing);
  term.onRender(keepFollowing);
  // A key typed brings the view to the end (xterm.js scrolls there itself).
  term.onData(() => {
    following = true;
    typed = true;
    keepFollowing();
  });
  term.element.addEventListener('wheel', gesture, { capture: true, passive: true });
  term.element.addEventListener(
    'keydown',
    (event) => {
      if (SCROLL_KEYS.has(event.key) && event.shiftKey) gesture();
    },
    true,
  );
  term.element.addEventListener(
    'pointerdown',
    (event) => {
      if (event.pointerType === 'touch') return; // a swipe: followFinger()
      press = { x: event.clientX, y: event.clientY, onScrollBar: event.target === viewport, dragged: false };
    },
    true,
  );
  window.addEventListener(
    'pointermove',
    (event) => {
      if (press && Math.hypot(event.clientX - press.x, event.clientY - press.y) > DRAG_PX) press.dragged = true;
    },
    true,
  );
  const released = () => {
    if (press === null) return;
    if (press.onScrollBar || press.dragged) following = atEnd();
    press = null;
    keepFollowing();
  };
  window.addEventListener('pointerup', released, true);
  window.addEventListener('pointercancel', released, true);

  // Sideways, where the columns are wider than the box: the line being typed
  // stays in view as it grows (the user may pan elsewhere meanwhile).
  function revealCursor() {
    if (!linesCut()) return;
    const screenBox = term.element.querySelector('.xterm-screen').getBoundingClientRect();
    const paneBox = pane.getBoundingClientRect();
    const cellWidth = screenBox.width / term.cols;
    const x =
      screenBox.left - paneBox.left - pane.clientLeft + pane.scrollLeft + term.buffer.active.cursorX * cellWidth;
    const margin = 2 * cellWidth;
    if (x + cellWidth + margin > pane.scrollLeft + pane.clientWidth) {
      pane.scrollLeft = x + cellWidth + margin - pane.clientWidth;
    } else if (x - margin < pane.scrollLeft) {
      pane.scrollLeft = Math.max(0, x - margin);
    }
  }
  term.onWriteParsed(() => {
    if (!typed) return;
    typed = false;
    revealCursor();
  });

  // ---------------------------------------------------------------------------
  // Touch: the scrollback follows the finger, a row for each row's height
  // moved. The terminal redraws its rows as it scrolls, which takes the
  // touched element out of the page; its later touch events then reach only
  // that element, so the moves are followed there (xterm.js listens on its
  // own element, and so scrolled a line per swipe).

  function followFinger() {
    box.addEventListener(
      'touchstart',
      (event) => {
        if (event.touches.length !== 1) return;
        const target = event.target;
        let last = { x: event.touches[0].clientX, y: event.touches[0].clientY };
        let carried = 0;
        let vertical = null;
        let scrolled = false;
        const move = (moved) => {
          if (moved.touches.length !== 1) return;
          const { clientX: x, clientY: y } = moved.touches[0];
          if (vertical === null) {
            if (Math.abs(x - last.x) === Math.abs(y - last.y)) return;
            vertical = Math.abs(y - last.y) > Math.abs(x - last.x);
          }
          if (!vertical) return; // a sideways pan: the box scrolls itself
          touching = true;
          moved.stopPropagation();
          carried += last.y - y;
          last = { x, y };
          const rowHeight = term.element.querySelector('.xterm-screen').getBoundingClientRect().height / term.rows;
          const lines = Math.trunc(carried / rowHeight);
          if (lines === 0) return;
          term.scrollLines(lines);
          scrolled = true;
          carried -= lines * rowHeight;
        };
        const end = () => {
          touching = false;
          if (scrolled) following = atEnd();
          keepFollowing();
          target.removeEventListener('touchmove', move);
          target.removeEventListener('touchend', end);
          target.removeEventListener('touchcancel', end);
        };
        target.addEventListener('touchmove', move, { passive: true });
        target.addEventListener('touchend', end, { passive: true });
        target.addEventListener('touchcancel', end, { passive: true });
      },
      { capture: true, passive: true },
    );
  }

  // A new run has reset the terminal; any change of state may have laid the
  // page out anew.
  run.addEventListener('state', (event) => {
    scheduleFit();
    if (event.detail && event.detail.state === 'loading') afterReset();
  });

  followFinger();
  fit();
  return Object.assign(view, { MIN_COLS, MENU_COLS, MIN_ROWS, textSize, linesCut });
}
