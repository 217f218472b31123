// The colours the pictures are drawn in, on the screen and on paper
// (downloads, printing), read from the page's style sheet, where each is
// named once (--picture-ROLE and --picture-ROLE-paper in shell/style.css):
//   PALETTE     { role: { screen, paper } }
//   COLOUR      { role: screen colour }; ACCENT and LINE two of them
//   TO_PAPER    screen colour -> paper colour, for those that change on paper
//   readPalette(style)  fills the above from `style` (getPropertyValue(name));
//               the page's own style is read as this module loads
// The background is found by its class on paper, as its screen black is also
// the ink written on coloured fills.
const ROLES = ['background', 'words', 'axis', 'line', 'accent', 'unstruck', 'bars', 'ink', 'prime'];

export const PALETTE = {};
export const COLOUR = {};
export const TO_PAPER = new Map();
export let ACCENT = '';
export let LINE = '';

export function readPalette(style) {
  const read = (name) => style.getPropertyValue(name).trim().toLowerCase();
  TO_PAPER.clear();
  for (const role of ROLES) {
    const colours = { screen: read(`--picture-${role}`), paper: read(`--picture-${role}-paper`) };
    PALETTE[role] = colours;
    COLOUR[role] = colours.screen;
    if (role !== 'background' && colours.screen !== colours.paper) TO_PAPER.set(colours.screen, colours.paper);
  }
  ACCENT = COLOUR.accent;
  LINE = COLOUR.line;
}

if (typeof document !== 'undefined') readPalette(getComputedStyle(document.documentElement));
