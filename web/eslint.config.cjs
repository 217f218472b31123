// The page's scripts and their tests, linted with ESLint's recommended rules
// (npx eslint . in web/; CI runs it in .ci/leg-format.sh).
'use strict';

const js = require('@eslint/js');
const globals = require('globals');

module.exports = [
  { ignores: ['node_modules/'] },
  js.configs.recommended,
  {
    // A catch that names the error it ignores is no fault.
    rules: { 'no-unused-vars': ['error', { caughtErrors: 'none' }] },
  },
  {
    // The page's scripts: ES modules, bundled for the browser; what one
    // needs of another it imports.
    files: ['**/*.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
  },
  {
    // The service worker runs in a worker of its own, not in the page; the
    // build bundles the modules it imports (tools/bundle.js).
    files: ['offline/service-worker.js'],
    languageOptions: { sourceType: 'module', globals: globals.serviceworker },
  },
  {
    files: ['tools/**/*.js', 'tests/**/*.mjs'],
    languageOptions: { sourceType: 'module', globals: globals.node },
  },
  {
    files: ['eslint.config.cjs', 'tools/**/*.cjs'],
    languageOptions: { sourceType: 'commonjs', globals: globals.node },
  },
  {
    // The tests run under node and hand functions to the browser's page.
    files: ['tests/**/*.cjs'],
    languageOptions: { sourceType: 'commonjs', globals: { ...globals.node, ...globals.browser } },
  },
];
