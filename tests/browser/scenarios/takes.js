// Takes in the browser: a run recorded in the prompter, then played, shared
// (a download) and deleted in the video gallery. The camera is the
// simulated one, so a take is a short test file rather than a movie.

import assert from 'node:assert/strict';
import { seedLibrary } from '../library.js';

const onTop = (selector) => `#window > .layer:last-of-type ${selector}`;

function waitForTop(t, page, screen) {
  return t.waitFor(page, (wanted) => window.cuewright.state.top === wanted, screen);
}

async function pressUntilSheet(t, page, selector) {
  const box = await page.locator(selector).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await waitForTop(t, page, 'AlertController');
  await page.mouse.up();
}

async function recordATake(t, page) {
  await page.click('[data-type="CustomCollectionViewCell"]');
  await waitForTop(t, page, 'scriptViewController');
  await page.click(onTop('[data-name="settingsButton"]'));
  await waitForTop(t, page, 'SettingsTableViewController');
  await page.click(onTop('[data-name="videoSwitch"]'));
  // The system asks for the camera, the microphone and the photo library.
  for (let asked = 0; asked < 3; asked += 1) {
    await page.waitForSelector('.system-prompt [data-action="Allow"]');
    await page.click('.system-prompt [data-action="Allow"]');
    await t.waitFor(page, (n) => window.cuewright.state.permissionQuestions.length <= 2 - n, asked);
  }
  await page.click(onTop('[data-name="closeButton"]'));
  await waitForTop(t, page, 'scriptViewController');
  await page.click(onTop('[data-name="startButton"]'));
  await t.waitFor(page, () => document.querySelector('#window > .layer:last-of-type [data-name="stopButton"]')?.offsetParent !== null);
  await page.click(onTop('[data-name="stopButton"]'));
  await t.waitFor(page, async () => (await window.cuewright.command({ cmd: 'takes' })).takes?.length === 1);
  await page.click('.navbar-back');
  await waitForTop(t, page, 'ViewController');
}

export const scenarios = [
  {
    name: 'a recorded take is played, downloaded and deleted in the gallery',
    seed: ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Take one', text: 'Lights, camera.' }]),
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await recordATake(t, page);

      await page.click('[data-name="cameraBtn"]');
      await waitForTop(t, page, 'VideoViewController');
      const take = onTop('[data-type="CustomVideoCell"]');
      await page.waitForSelector(take);

      await page.click(take);
      await waitForTop(t, page, 'PlayerViewController');
      const source = await page.getAttribute('.player-video', 'src');
      assert.match(source, /^\/media\/video_[0-9A-F-]{36}\.mov$/);
      // The player seeks with range requests.
      const range = await page.evaluate(async (url) => {
        const response = await fetch(url, { headers: { Range: 'bytes=0-3' } });
        return { status: response.status, length: (await response.arrayBuffer()).byteLength };
      }, source);
      assert.deepEqual(range, { status: 206, length: 4 });
      await page.click(onTop('[data-name="doneButton"]'));
      await waitForTop(t, page, 'VideoViewController');

      await pressUntilSheet(t, page, take);
      await page.click('.alert-action[data-action="Share"]');
      await waitForTop(t, page, 'ActivityViewController');
      const [download] = await Promise.all([
        page.waitForEvent('download'),
        page.click(onTop('[data-name="activity_saveToFiles"]')),
      ]);
      assert.match(download.suggestedFilename(), /^video_[0-9A-F-]{36}\.mov$/);
      await waitForTop(t, page, 'VideoViewController');

      await pressUntilSheet(t, page, take);
      await page.click('.alert-action[data-action="Delete"]');
      await t.waitFor(page, () => !document.querySelector('#window > .layer:last-of-type [data-type="CustomVideoCell"]'));
      assert.equal((await t.command(page, { cmd: 'takes' })).takes.length, 0);

      await page.keyboard.press('Escape');
      await waitForTop(t, page, 'ViewController');
    },
  },
];
