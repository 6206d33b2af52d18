// What every browser scenario needs: a fresh `cuewright` on a free port
// with its own data folder, the system's Chromium driven through
// playwright-core (which never downloads a browser of its own), and small
// helpers to wait for the page, send automation commands through it and
// read colours off screenshots.

import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { inflateSync } from 'node:zlib';

export const CHROMIUM = process.env.CUEWRIGHT_CHROMIUM || '/usr/bin/chromium';

export const CHROMIUM_FLAGS = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  // Keep animation frames coming in a page nobody looks at.
  '--disable-background-timer-throttling',
  '--disable-renderer-backgrounding',
  '--disable-backgrounding-occluded-windows',
];

// Generous: a timeout is a failure, not a measurement.
export const TIMEOUT_MS = 30000;

export function findProgram() {
  const candidates = [process.env.CUEWRIGHT_BIN, path.resolve('build/web/cuewright')].filter(Boolean);
  return candidates.find((candidate) => existsSync(candidate));
}

// Starts `cuewright` on a free port in a fresh data folder and resolves
// once it printed its address.
export async function startServer({ program, args = [], dataDir } = {}) {
  const folder = dataDir || mkdtempSync(path.join(tmpdir(), 'cuewright-browser-'));
  const child = spawn(program, ['--port', '0', '--data-dir', folder, ...args], { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  let errors = '';
  child.stderr.on('data', (chunk) => { errors += chunk; });
  const url = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`cuewright printed no address:\n${output}\n${errors}`)), TIMEOUT_MS);
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const found = output.match(/http:\/\/\S+/);
      if (found) {
        clearTimeout(timer);
        resolve(found[0]);
      }
    });
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`cuewright exited with ${code}:\n${errors}`));
    });
  });
  return {
    url,
    child,
    dataDir: folder,
    stderr: () => errors,
    async stop() {
      if (child.exitCode === null) {
        const exited = new Promise((resolve) => child.once('exit', resolve));
        child.kill('SIGTERM');
        await exited;
      }
      if (!dataDir) rmSync(folder, { recursive: true, force: true });
      return child.exitCode;
    },
  };
}

export async function launchBrowser() {
  const { chromium } = await import('playwright-core');
  const profile = mkdtempSync(path.join(tmpdir(), 'cuewright-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: CHROMIUM_FLAGS,
    viewport: { width: 390, height: 844 },
  });
  return {
    context,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Opens the page and waits until it drew its first state.
export async function openPage(browser, url, viewport) {
  const page = await browser.context.newPage();
  if (viewport) await page.setViewportSize(viewport);
  await page.goto(url);
  await page.waitForFunction(() => window.cuewright?.ready === true, null, { timeout: TIMEOUT_MS, polling: 50 });
  return page;
}

// Sends an automation command through the page's own connection.
export function command(page, request) {
  return page.evaluate((r) => window.cuewright.command(r), request);
}

export function state(page) {
  return page.evaluate(() => window.cuewright.state);
}

export async function waitFor(page, predicate, argument) {
  await page.waitForFunction(predicate, argument, { timeout: TIMEOUT_MS, polling: 50 });
}

// Polls a check that runs here, in Node, until it holds.
export async function until(check, what = 'a condition') {
  const deadline = Date.now() + TIMEOUT_MS;
  while (!(await check())) {
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Controls of the screen on top (screens below stay in the page, covered).
export const onTop = (selector) => `#window > .layer:last-of-type ${selector}`;

export function waitForTop(page, screen) {
  return waitFor(page, (wanted) => window.cuewright.state.top === wanted, screen);
}

// Opens the first script tile in the prompter.
export async function openPrompter(page) {
  await page.click('[data-type="CustomCollectionViewCell"]');
  await waitForTop(page, 'scriptViewController');
}

// Opens the settings of the prompter on top.
export async function openSettings(page) {
  await page.click(onTop('[data-name="settingsButton"]'));
  await waitForTop(page, 'SettingsTableViewController');
}

// Holds the mouse on an element until a sheet comes up: a press as long as
// a finger's, timed by the device, not by the test.
export async function pressUntilSheet(page, selector) {
  const box = await page.locator(selector).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await waitForTop(page, 'AlertController');
  await page.mouse.up();
}

// --- screenshots -------------------------------------------------------

// Decodes the PNG files Chromium writes (8-bit RGB or RGBA, not
// interlaced) into rows of pixels.
export function decodePng(buffer) {
  let offset = 8;
  let width = 0, height = 0, colourType = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('ascii', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit, non-interlaced PNG files are read');
      colourType = body[9];
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const channels = colourType === 6 ? 4 : colourType === 2 ? 3 : 0;
  if (!channels) throw new Error(`PNG colour type ${colourType} is not read`);
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; y += 1) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x += 1) {
      const left = x >= channels ? pixels[y * stride + x - channels] : 0;
      const up = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const upLeft = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += left;
      else if (filter === 2) value += up;
      else if (filter === 3) value += (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
        value += pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      pixels[y * stride + x] = value & 255;
    }
  }
  return {
    width,
    height,
    at(x, y) {
      const i = Math.floor(y) * stride + Math.floor(x) * channels;
      return [pixels[i], pixels[i + 1], pixels[i + 2]];
    },
  };
}

export function sameColour(actual, expected, tolerance = 3) {
  return actual.every((value, i) => Math.abs(value - expected[i]) <= tolerance);
}
