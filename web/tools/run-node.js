#!/usr/bin/env node
// Runs the WebAssembly build of the program under node with this process's
// standard streams, as the native program would run: the host that
// console/terminal_web.cc expects, built on blocking reads and writes.
// Usage: run-node.js <path to quorvantile.js>
import fs from 'node:fs';
import path from 'node:path';
import tty from 'node:tty';
import { createRequire } from 'node:module';
import { HOST_FAILED, colorWanted } from '../terminal/host_common.js';

// Standard input is read in blocks of this size and handed out line by line.
const READ_BLOCK = 1 << 16;

function sleep(ms) {
  Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, ms);
}

// Standard streams may have been left non-blocking by whoever started us.
function retrying(call) {
  for (;;) {
    try {
      return call();
    } catch (error) {
      if (error.code !== 'EAGAIN') throw error;
      sleep(1);
    }
  }
}

class StandardStreams {
  constructor() {
    this.input = Buffer.alloc(0);
    this.inputEnded = false;
    this.outputFailed = false;
  }

  terminal() {
    const interactive = tty.isatty(1);
    return { interactive, color: colorWanted({ interactive, noColor: process.env.NO_COLOR, term: process.env.TERM }) };
  }

  write(bytes) {
    if (this.outputFailed) return HOST_FAILED;
    try {
      for (let at = 0; at < bytes.length;) at += retrying(() => fs.writeSync(1, bytes, at));
      return 0;
    } catch (error) {
      this.outputFailed = true;
      return HOST_FAILED;
    }
  }

  async pause() {}

  async read(capacity) {
    let end = this.input.indexOf(10);
    while (end < 0 && !this.inputEnded && this.input.length < capacity) {
      const block = Buffer.alloc(READ_BLOCK);
      let size = 0;
      try {
        size = retrying(() => fs.readSync(0, block, 0, READ_BLOCK, null));
      } catch (error) {
        if (error.code !== 'EOF') throw error;
      }
      if (size === 0) this.inputEnded = true;
      this.input = Buffer.concat([this.input, block.subarray(0, size)]);
      end = this.input.indexOf(10);
    }
    const take = Math.min(end < 0 ? this.input.length : end + 1, capacity);
    const line = this.input.subarray(0, take);
    this.input = this.input.subarray(take);
    return new Uint8Array(line);
  }

  error(text) {
    retrying(() => fs.writeSync(2, text + '\n'));
  }

  // Which number a demonstration took: only the page draws it.
  accepted() {}
}

async function main() {
  const script = path.resolve(process.argv[2]);
  // The program's loader is a CommonJS module (Emscripten's MODULARIZE).
  const createQuorvantile = createRequire(import.meta.url)(script);
  // The WebAssembly is handed over directly: the module's own loader would
  // try fetch() first, which this node has but cannot use on a file.
  const wasm = script.replace(/\.js$/, '.wasm');
  const options = { quorvantileHost: new StandardStreams() };
  if (fs.existsSync(wasm)) options.wasmBinary = fs.readFileSync(wasm);
  options.onAbort = () => process.exit(134);
  const module = await createQuorvantile(options);
  const status = await module.ccall('main', 'number', ['number', 'number'], [0, 0], { async: true });
  process.exitCode = status;
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
