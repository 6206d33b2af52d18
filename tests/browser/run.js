// Runs every browser scenario (scenarios/*.js) against a fresh `cuewright`
// each, in the system's headless Chromium. Exits 0 when all pass, 1 when
// one fails, and 77 (skipped) when Chromium, playwright-core or the program
// is missing.
//
// A scenario file exports `scenarios`: a list of
//   { name, args: [extra cuewright arguments] or args({ dataDir }), seed({ program, dataDir }), async run(t) }
// `seed`, when given, fills the data folder before the program starts.
// where `t` holds the server's `url`, the `browser`, `open(viewport)` for a
// new page, and the harness helpers.
//
//   node run.js [name filter]

import { existsSync, mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import * as harness from './harness.js';

const here = path.dirname(fileURLToPath(import.meta.url));
const SKIP = 77;

function skip(reason) {
  console.log(`SKIP: ${reason}`);
  process.exit(SKIP);
}

async function main() {
  if (!existsSync(harness.CHROMIUM)) skip(`no Chromium at ${harness.CHROMIUM} (apt-get install chromium)`);
  try {
    await import('playwright-core');
  } catch {
    skip('playwright-core is not installed (npm ci in tests/browser)');
  }
  const program = harness.findProgram();
  if (!program) skip('no cuewright program (set CUEWRIGHT_BIN or build build/web/cuewright)');

  const filter = process.argv[2] || '';
  const files = readdirSync(path.join(here, 'scenarios')).filter((f) => f.endsWith('.js')).sort();
  const browser = await harness.launchBrowser();
  let failed = 0, passed = 0;
  try {
    for (const file of files) {
      const { scenarios } = await import(pathToFileURL(path.join(here, 'scenarios', file)));
      for (const scenario of scenarios) {
        const name = `${file.replace(/\.js$/, '')}: ${scenario.name}`;
        if (!name.includes(filter)) continue;
        const dataDir = mkdtempSync(path.join(tmpdir(), 'cuewright-browser-'));
        if (scenario.seed) scenario.seed({ program, dataDir });
        const args = typeof scenario.args === 'function' ? scenario.args({ dataDir }) : scenario.args || [];
        const server = await harness.startServer({ program, dataDir, args });
        const pages = [];
        const t = {
          ...harness,
          url: server.url,
          server,
          browser,
          async open(viewport) {
            const page = await harness.openPage(browser, server.url, viewport);
            pages.push(page);
            return page;
          },
        };
        try {
          await scenario.run(t);
          for (const page of pages) await page.close();
          const status = await server.stop();
          if (status !== 0) throw new Error(`cuewright did not quit cleanly (exit status ${status}):\n${server.stderr()}`);
          passed += 1;
          console.log(`ok - ${name}`);
        } catch (error) {
          failed += 1;
          console.log(`FAILED - ${name}\n${error.stack || error}`);
          for (const page of pages) await page.close().catch(() => {});
          await server.stop().catch(() => {});
        }
        rmSync(dataDir, { recursive: true, force: true });
      }
    }
  } finally {
    await browser.close();
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
