// The page's entry, which the build bundles with everything it imports
// (esbuild, into quorvantile-page.js and quorvantile-page.css): it makes
// each part of the page, hands each what it needs, and starts the first run.
//
// The one handle on the window, for tests and for debugging in the
// browser's console, is window.quorvantile: the run (shell/lifecycle.js),
// with the terminal as .term, the run's state as .state and .restart(),
// its events ('state', 'visit', 'accepted', 'waiting'), and beside them the
// page's words (.i18n), the terminal's view (.view) and the picture pane's
// record of what it drew (.pictures).
import '@xterm/xterm/css/xterm.css';
import './style.css';
import '../pictures/pictures.css';
import './share.css';
import { createTerminal } from '../terminal/terminal.js';
import { createView } from '../terminal/view.js';
import { createPicturePane } from '../pictures/pane.js';
import { showGallery } from '../pictures/gallery.js';
import { createRun } from './lifecycle.js';
import { createExport } from './export.js';
import { createControlBar } from './control_bar.js';
import { followLessonLinks } from './lesson_links.js';
import { i18n } from './i18n.js';
import { keepOffline } from '../offline/register.js';

const byId = (id) => document.getElementById(id);
const term = createTerminal(byId('terminal'));
const run = createRun(term);
const view = createView(term, run);
const pictures = createPicturePane({ pane: byId('picture'), run, term });
showGallery({ pane: byId('picture'), run, term });
const exporter = createExport(run);
createControlBar({ run, view, exporter });
followLessonLinks(run);
const opening = keepOffline({ run, exporter });
window.quorvantile = Object.assign(run, { i18n, view, pictures });
// The first run starts once the document is parsed, and once the offline
// part knows that a newer release is not about to load the page again.
const start = () => Promise.resolve(opening).then(() => run.start());
if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start, { once: true });
else start();
