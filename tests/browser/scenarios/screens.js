// The other screens as a presenter meets them in the browser: folders from
// the add menu, dismissing menus, the settings screen with the platform's
// colour picker and permission prompt.

import assert from 'node:assert/strict';
import { seedLibrary } from '../library.js';



// The share of pixels in a band of the text where `after` is `before`
// turned left to right, and where it is simply `before`.
function mirroredShare(t, before, after, box) {
  let mirrored = 0, same = 0, total = 0;
  const left = Math.round(box.x), right = Math.round(box.x + box.width) - 1;
  for (let y = Math.round(box.y) + 20; y < Math.round(box.y) + 220; y += 2) {
    for (let x = left; x <= right; x += 1) {
      total += 1;
      if (t.sameColour(after.at(x, y), before.at(left + right - x, y), 40)) mirrored += 1;
      if (t.sameColour(after.at(x, y), before.at(x, y), 40)) same += 1;
    }
  }
  return { mirrored: mirrored / total, same: same / total };
}

const oneShortScript = ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Short', text: 'Hi' }]);

export const scenarios = [
  {
    name: 'a folder made from the add menu shows in the grid',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await page.click('[data-name="addScriptButton"]');
      await page.click('.alert-action[data-action="Create New Folder"]');
      await page.fill('.alert-field', 'Talks');
      await page.click('.alert-action[data-action="Save"]');
      await t.waitForTop(page, 'ViewController');
      await t.waitFor(page, () => document.querySelectorAll('[data-type="CustomCollectionViewCell"]').length === 1);
      assert.match(await page.textContent('[data-type="CustomCollectionViewCell"]'), /Talks/);
      const store = await t.command(page, { cmd: 'store', key: 'folders' });
      assert.equal(store.value.list[0].record.name.string, 'Talks');
    },
  },
  {
    name: 'Esc and a tap beside the sheet close the add menu',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      for (const close of [() => page.keyboard.press('Escape'), () => page.mouse.click(195, 200)]) {
        await page.click('[data-name="addScriptButton"]');
        await t.waitForTop(page, 'AlertController');
        assert.equal(await page.isVisible('.sheet'), true);
        await close();
        await t.waitForTop(page, 'ViewController');
        assert.equal(await page.$('.sheet'), null);
      }
    },
  },
  {
    name: 'a background colour picked in the settings shows in the prompter',
    seed: oneShortScript,
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await t.openPrompter(page);
      await t.openSettings(page);
      await page.click(t.onTop('[data-name="colorButton"]'));
      await t.waitForTop(page, 'ColorPickerScreen');
      await page.fill('.picker-well', '#ff0000');
      await t.waitFor(page, () => {
        const picker = window.cuewright.state.root.stack.at(-1).presented.presented;
        return picker.selectedColor[0] === 1 && picker.selectedColor[1] === 0;
      });
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'SettingsTableViewController');
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      // A point of the text view that neither the text nor a control covers.
      await t.waitFor(page, () => document.querySelector('[data-name="ScriptTextView"]').style.backgroundColor === 'rgb(255, 0, 0)');
      const image = t.decodePng(await page.screenshot());
      assert.ok(t.sameColour(image.at(195, 400), [255, 0, 0]), `${image.at(195, 400)}`);
    },
  },
  {
    name: 'the prompter shows its text mirrored left to right, or upside down',
    seed: ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Mirror', text: 'Left words first.\nThen more on the right side, ending here.' }]),
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await t.openPrompter(page);
      const box = await page.locator(t.onTop('[data-name="ScriptTextView"]')).boundingBox();
      const before = t.decodePng(await page.screenshot());

      await t.openSettings(page);
      await page.click(t.onTop('[data-name="horimirrorSwitch"]'));
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      await t.waitFor(page, () => /matrix\(-1|scale\(-1/.test(getComputedStyle(document.querySelector('#window > .layer:last-of-type [data-name="ScriptTextView"]')).transform
        + document.querySelector('#window > .layer:last-of-type [data-name="ScriptTextView"]').style.transform));
      const after = t.decodePng(await page.screenshot());
      const share = mirroredShare(t, before, after, box);
      assert.ok(share.mirrored > 0.98, `only ${share.mirrored} of the text is mirrored`);
      assert.ok(share.same < 0.97, `the text looks the same either way (${share.same})`);

      // Upside down: one mirror at a time, so the newer one replaces the
      // left-to-right turn.
      await t.openSettings(page);
      await page.click(t.onTop('[data-name="mirrorSwitch"]'));
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      await t.waitFor(page, () => {
        const view = document.querySelector('#window > .layer:last-of-type [data-name="ScriptTextView"]');
        const matrix = new DOMMatrix(getComputedStyle(view).transform);
        return matrix.a > 0 && matrix.d < 0;
      });
    },
  },
  {
    name: 'the remote screen opens over the library and closes with Back',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await page.click('[data-name="remoteBtn"]');
      await t.waitForTop(page, 'RemoteCommandSenderViewController');
      for (const name of ['startButton', 'stopButton', 'backToStartButton', 'slider']) {
        assert.equal(await page.isVisible(t.onTop(`[data-name="${name}"]`)), true, name);
      }
      await page.click(t.onTop('[data-name="backButton"]'));
      await t.waitForTop(page, 'ViewController');
    },
  },
  {
    name: 'the platform asks for the microphone as the system does',
    seed: oneShortScript,
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await t.openPrompter(page);
      await t.openSettings(page);
      await page.click(t.onTop('[data-name="magicSwitch"]'));
      await page.waitForSelector('.system-prompt');
      assert.match(await page.textContent('.system-prompt .alert-title'), /microphone/);
      // The prompt holds the screen below until it is answered.
      await page.mouse.click(195, 700);
      assert.deepEqual((await t.state(page)).permissionQuestions, ['microphone']);
      await page.click('.system-prompt [data-action="Allow"]');
      await t.waitFor(page, () => window.cuewright.state.permissionQuestions.length === 0 && !document.querySelector('.system-prompt'));
      const permissions = await t.command(page, { cmd: 'permissions' });
      assert.equal(permissions.microphone, 'granted');
    },
  },
];
