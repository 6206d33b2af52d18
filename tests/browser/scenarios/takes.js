// Takes in the browser: a run recorded in the prompter, then played, shared
// (a download) and deleted in the video gallery. The camera is the
// simulated one, so a take is a short test file rather than a movie.

import assert from 'node:assert/strict';
import { seedLibrary } from '../library.js';



async function recordATake(t, page) {
  await t.openPrompter(page);
  await t.openSettings(page);
  await page.click(t.onTop('[data-name="videoSwitch"]'));
  // The system asks for the camera, the microphone and the photo library.
  for (let asked = 0; asked < 3; asked += 1) {
    await page.waitForSelector('.system-prompt [data-action="Allow"]');
    await page.click('.system-prompt [data-action="Allow"]');
    await t.waitFor(page, (n) => window.cuewright.state.permissionQuestions.length <= 2 - n, asked);
  }
  await page.click(t.onTop('[data-name="closeButton"]'));
  await t.waitForTop(page, 'scriptViewController');
  await page.click(t.onTop('[data-name="startButton"]'));
  await t.waitFor(page, () => document.querySelector('#window > .layer:last-of-type [data-name="stopButton"]')?.offsetParent !== null);
  await page.click(t.onTop('[data-name="stopButton"]'));
  await t.waitFor(page, async () => (await window.cuewright.command({ cmd: 'takes' })).takes?.length === 1);
  await page.click('.navbar-back');
  await t.waitForTop(page, 'ViewController');
}

export const scenarios = [
  {
    name: 'a recorded take is played, downloaded and deleted in the gallery',
    seed: ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Take one', text: 'Lights, camera.' }]),
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await recordATake(t, page);

      await page.click('[data-name="cameraBtn"]');
      await t.waitForTop(page, 'VideoViewController');
      const take = t.onTop('[data-type="CustomVideoCell"]');
      await page.waitForSelector(take);

      await page.click(take);
      await t.waitForTop(page, 'PlayerViewController');
      const source = await page.getAttribute('.player-video', 'src');
      assert.match(source, /^\/media\/video_[0-9A-F-]{36}\.mov$/);
      // The player seeks with range requests.
      const range = await page.evaluate(async (url) => {
        const response = await fetch(url, { headers: { Range: 'bytes=0-3' } });
        return { status: response.status, length: (await response.arrayBuffer()).byteLength };
      }, source);
      assert.deepEqual(range, { status: 206, length: 4 });
      await page.click(t.onTop('[data-name="doneButton"]'));
      await t.waitForTop(page, 'VideoViewController');

      await t.pressUntilSheet(page, take);
      await page.click('.alert-action[data-action="Share"]');
      await t.waitForTop(page, 'ActivityViewController');
      const [download] = await Promise.all([
        page.waitForEvent('download'),
        page.click(t.onTop('[data-name="activity_saveToFiles"]')),
      ]);
      assert.match(download.suggestedFilename(), /^video_[0-9A-F-]{36}\.mov$/);
      await t.waitForTop(page, 'VideoViewController');

      await t.pressUntilSheet(page, take);
      await page.click('.alert-action[data-action="Delete"]');
      await t.waitFor(page, () => !document.querySelector('#window > .layer:last-of-type [data-type="CustomVideoCell"]'));
      assert.equal((await t.command(page, { cmd: 'takes' })).takes.length, 0);

      await page.keyboard.press('Escape');
      await t.waitForTop(page, 'ViewController');
    },
  },
];
