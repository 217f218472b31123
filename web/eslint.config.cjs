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
    // The page's scripts: plain browser scripts, which the node tests also
    // load (each exports through `module` where there is one). The terminal
    // widget (Terminal, FitAddon) and the program's module loader
    // (createQuorvantile) are scripts of the page loaded before them.
    files: ['*.js'],
    languageOptions: {
      sourceType: 'script',
      globals: {
        ...globals.browser,
        module: 'readonly',
        require: 'readonly',
        Terminal: 'readonly',
        FitAddon: 'readonly',
        createQuorvantile: 'readonly',
      },
    },
  },
  {
    // The service worker runs in a worker of its own, not in the page; the
    // build bundles the modules it imports (service_worker.cjs).
    files: ['service-worker.js'],
    languageOptions: { sourceType: 'module', globals: globals.serviceworker },
  },
  {
    files: ['run-node.js', 'eslint.config.cjs', 'service_worker.cjs', 'tools/**/*.cjs'],
    languageOptions: { sourceType: 'commonjs', globals: globals.node },
  },
  {
    // The tests run under node and hand functions to the browser's page.
    files: ['tests/**/*.cjs'],
    languageOptions: { sourceType: 'commonjs', globals: { ...globals.node, ...globals.browser } },
  },
];
