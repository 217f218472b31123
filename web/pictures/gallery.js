// The picture pane before there is a picture: the five demonstrations as
// small pictures, each a lesson link (shell/lesson_link.js) that opens its
// demonstration with its sample number (pictures/demonstrations.js), as any
// link does. Whenever the pane holds nothing else (pictures/pane.js empties
// it at every new visit), the gallery is put back. Its drawings are the
// pictures of pictures/draw.js without their words, from the running
// program's numbers, made once while the program waits at its first prompt;
// until then the cards carry their words only. A phone hides the pane while
// it holds the gallery (shell/style.css).
//   showGallery({ pane, run, term })
import { i18n } from '../shell/i18n.js';
import { focusAfterClick } from '../shell/page_common.js';
import { hashFor } from '../shell/lesson_link.js';
import { DEMONSTRATIONS } from './demonstrations.js';

// Each demonstration with the number its card opens, in the menu's order.
const SAMPLES = Object.entries(DEMONSTRATIONS)
  .sort(([, a], [, b]) => a.choice - b.choice)
  .map(([demo, { sample }]) => [demo, sample]);
// The drawings' layout, in the pictures' units: 4:3.
const THUMB_WIDTH = 400;
const THUMB_ROOM = 300;
// The room a card's words and the cards' gaps take, in px, when the cards
// are laid out in as many columns as give the largest drawings.
const CARD_WORDS_PX = 24;
const GAP_PX = 8;

export function showGallery({ pane, run, term }) {
  const gallery = document.createElement('nav');
  gallery.className = 'qv-gallery';
  const heading = document.createElement('p');
  const grid = document.createElement('div');
  grid.className = 'qv-gallery-cards';
  gallery.append(heading, grid);
  const cards = SAMPLES.map(([demo, number]) => {
    const card = document.createElement('a');
    card.className = 'qv-card';
    card.href = hashFor(demo, number);
    // Off the Tab order: from the terminal, Tab reaches the controls, and
    // the menu offers by keyboard what the cards offer to a pointer.
    card.tabIndex = -1;
    card.dataset.demo = demo;
    const drawing = document.createElement('span');
    drawing.className = 'qv-card-drawing';
    const words = document.createElement('span');
    words.className = 'qv-card-words';
    card.append(drawing, words);
    // The same link again is no change of the address: followed all the same.
    card.addEventListener('click', (event) => {
      if (location.hash === card.getAttribute('href')) {
        event.preventDefault();
        window.dispatchEvent(new HashChangeEvent('hashchange'));
      }
      focusAfterClick(event, term);
    });
    grid.append(card);
    return card;
  });

  function words() {
    gallery.setAttribute('aria-label', i18n.t('gallery.label'));
    heading.textContent = i18n.t('gallery.heading');
    SAMPLES.forEach(([demo, number], k) => {
      cards[k].lastChild.textContent = `${i18n.t(`gallery.${demo}`)}: ${number}`;
    });
  }

  // As many columns as give the largest 4:3 drawings in the pane's box.
  function layOut() {
    const width = grid.clientWidth;
    const height = grid.clientHeight;
    if (width === 0 || height === 0) return;
    let best = { scale: -1, columns: 1, rows: SAMPLES.length };
    for (let columns = 1; columns <= SAMPLES.length; columns++) {
      const rows = Math.ceil(SAMPLES.length / columns);
      const cellWidth = (width - (columns - 1) * GAP_PX) / columns;
      const cellHeight = (height - (rows - 1) * GAP_PX) / rows - CARD_WORDS_PX;
      const scale = Math.min(cellWidth / 4, cellHeight / 3);
      if (scale > best.scale) best = { scale, columns, rows };
    }
    grid.style.gridTemplateColumns = `repeat(${best.columns}, minmax(0, 1fr))`;
    grid.style.gridTemplateRows = `repeat(${best.rows}, minmax(0, 1fr))`;
  }

  // A picture's markup as a drawing only: its words and titles go (the card
  // says what it shows), and it takes the size of its box.
  function drawingOnly(markup) {
    return markup
      .replace(/<title>[\s\S]*?<\/title>/g, '')
      .replace(/<text[\s\S]*?<\/text>/g, '')
      .replace(/ role="img" aria-label="[^"]*"/, ' aria-hidden="true" focusable="false"')
      .replace(/ width="[\d.]+" height="[\d.]+"/, '');
  }

  let drawn = false;
  function drawThumbnails(module) {
    if (drawn || !module) return;
    drawn = true;
    SAMPLES.forEach(([demo, number], k) => {
      const { numbers, draw } = DEMONSTRATIONS[demo];
      try {
        const picture = draw(numbers(module, number), { width: THUMB_WIDTH, room: THUMB_ROOM, more: () => null });
        if (picture.markup) cards[k].firstChild.innerHTML = drawingOnly(picture.markup());
        if (picture.controls) picture.controls.forEach((c) => c.dispose && c.dispose());
      } catch (error) {
        console.warn('gallery:', error);
        drawn = false; // the program has gone: the next run draws them
      }
    });
  }

  function showWhenEmpty() {
    if (pane.childElementCount === 0) pane.append(gallery);
  }

  // The program's numbers once it waits (never inside the event: pictures/pane.js).
  run.addEventListener('waiting', () => {
    const task = () => drawThumbnails(run.module);
    if (typeof requestIdleCallback === 'function') requestIdleCallback(task, { timeout: 1000 });
    else setTimeout(task, 0);
  });
  i18n.addEventListener('lang', words);
  new MutationObserver(showWhenEmpty).observe(pane, { childList: true });
  new ResizeObserver(layOut).observe(grid);
  words();
  showWhenEmpty();
}
