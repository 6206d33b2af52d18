// Figures for the browser front end, measured in the system's headless
// Chromium and printed. A measurement, never a test: nothing here passes or
// fails, so a busy machine can make a figure worse but never breaks a build.
//
//   node tests/browser/measure.js [--seconds 10] [--speed 50] [--scripts 1000]
//
// 1. Scrolling: a long script runs for the given seconds while the page
//    drives the display; for every painted frame the page records the text's
//    offset. Reported: the share of frames that moved the text by exactly
//    one step (speed / 100 points), and the server's processor time over
//    the run as a share of one core.
// 2. Loading: a library of the given number of scripts; reported is the
//    time from the start of navigation until the page has drawn the first
//    state and takes input (five loads).

import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import * as harness from './harness.js';
import { longText, seedLibrary } from './library.js';

function option(name, fallback) {
  const at = process.argv.indexOf(`--${name}`);
  return at > 0 ? Number(process.argv[at + 1]) : fallback;
}

const SECONDS = option('seconds', 10);
const SPEED = option('speed', 50);
const SCRIPTS = option('scripts', 1000);
const VIEWPORT = { width: 1280, height: 800 };
const CLOCK_TICKS = 100;

function processorSeconds(pid) {
  const fields = readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  // utime and stime are fields 14 and 15 of the whole line.
  return (Number(fields[11]) + Number(fields[12])) / CLOCK_TICKS;
}

function freshFolder() {
  return mkdtempSync(path.join(tmpdir(), 'cuewright-measure-'));
}

async function measureScrolling(program, browser) {
  const dataDir = freshFolder();
  seedLibrary(program, dataDir, [{ title: 'Long talk', text: longText(3000) }]);
  const server = await harness.startServer({ program, dataDir });
  try {
    const page = await harness.openPage(browser, server.url, VIEWPORT);
    await page.click('[data-type="CustomCollectionViewCell"]');
    await harness.waitFor(page, () => window.cuewright.state.top === 'scriptViewController');
    const speed = await harness.command(page, { cmd: 'set_value', name: 'SpeedSlider', value: SPEED });
    if (!speed.ok) throw new Error(speed.error);
    await page.click('[data-name="startButton"]');
    // Let the run settle into page-driven frames first.
    await harness.waitFor(page, () => window.cuewright.driving && window.cuewright.state.wantsTicks);
    await page.waitForTimeout(500);
    const before = processorSeconds(server.child.pid);
    const started = performance.now();
    await page.evaluate(() => { window.cuewright.frameLog = []; window.cuewright.recordFrames = true; });
    await page.waitForTimeout(SECONDS * 1000);
    const log = await page.evaluate(() => { window.cuewright.recordFrames = false; return window.cuewright.frameLog; });
    const elapsed = (performance.now() - started) / 1000;
    const used = processorSeconds(server.child.pid) - before;
    await page.close();

    // The step is computed in 32-bit floating point, then widened.
    const step = Math.fround(Math.fround(SPEED) / 100);
    const offsets = log.map((frame) => frame.offsets.ScriptTextView);
    let exact = 0, still = 0, other = 0;
    const odd = [];
    for (let i = 1; i < offsets.length; i += 1) {
      const moved = offsets[i] - offsets[i - 1];
      if (Math.abs(moved - step) < 1e-9) exact += 1;
      else if (moved === 0) still += 1;
      else {
        other += 1;
        if (odd.length < 5) odd.push(moved);
      }
    }
    const frames = offsets.length - 1;
    const intervals = log.slice(1).map((frame, i) => frame.t - log[i].t);
    return {
      frames,
      exact,
      still,
      other,
      odd,
      step,
      framesPerSecond: frames / elapsed,
      longestFrameMs: Math.max(...intervals),
      serverCore: used / elapsed,
    };
  } finally {
    await server.stop();
    rmSync(dataDir, { recursive: true, force: true });
  }
}

async function measureLoading(program, browser) {
  const dataDir = freshFolder();
  const scripts = Array.from({ length: SCRIPTS }, (_, i) => ({ title: `Script ${i + 1}`, text: `The text of script ${i + 1}.` }));
  seedLibrary(program, dataDir, scripts);
  const server = await harness.startServer({ program, dataDir });
  try {
    const times = [];
    let stateBytes = 0;
    for (let i = 0; i < 5; i += 1) {
      const page = await browser.context.newPage();
      await page.setViewportSize(VIEWPORT);
      await page.goto(server.url);
      await page.waitForFunction(() => window.cuewright?.ready === true, null, { polling: 10, timeout: harness.TIMEOUT_MS });
      const result = await page.evaluate(() => ({ readyAt: window.cuewright.readyAt, bytes: JSON.stringify(window.cuewright.state).length, items: window.cuewright.state.root.stack[0].itemCount }));
      if (result.items !== SCRIPTS) throw new Error(`the library shows ${result.items} scripts`);
      times.push(result.readyAt);
      stateBytes = result.bytes;
      await page.close();
    }
    times.sort((a, b) => a - b);
    return { times, median: times[2], worst: times[4], stateBytes };
  } finally {
    await server.stop();
    rmSync(dataDir, { recursive: true, force: true });
  }
}

async function main() {
  const program = harness.findProgram();
  if (!program) throw new Error('no cuewright program (set CUEWRIGHT_BIN or build build/web/cuewright)');
  const browser = await harness.launchBrowser();
  try {
    const scrolling = await measureScrolling(program, browser);
    console.log(`Scrolling, ${SECONDS} s at speed ${SPEED} (step ${scrolling.step} points):`);
    console.log(`  ${scrolling.frames} frames painted (${scrolling.framesPerSecond.toFixed(1)} per second, longest ${scrolling.longestFrameMs.toFixed(1)} ms)`);
    console.log(`  moved by exactly one step: ${scrolling.exact} (${(100 * scrolling.exact / scrolling.frames).toFixed(2)} %)`);
    console.log(`  did not move: ${scrolling.still}; moved otherwise: ${scrolling.other}${scrolling.odd.length ? ` (${scrolling.odd.join(', ')})` : ''}`);
    console.log(`  server processor time: ${(100 * scrolling.serverCore).toFixed(1)} % of one core`);
    const loading = await measureLoading(program, browser);
    console.log(`Loading a library of ${SCRIPTS} scripts (state ${(loading.stateBytes / 1024).toFixed(0)} KiB):`);
    console.log(`  interactive after ${loading.times.map((t) => t.toFixed(0)).join(', ')} ms (median ${loading.median.toFixed(0)}, worst ${loading.worst.toFixed(0)})`);
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
