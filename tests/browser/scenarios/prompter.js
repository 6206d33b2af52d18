// A presenter's session in the browser: make a script with the dialogs and
// the editor, open it, run it, and drive it from the keyboard.

import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { longText, seedLibrary } from '../library.js';

// A second of a loud tone, as a 16-bit mono WAV file: a voice the
// microphone stand-in hears over and over.
function loudWav(file) {
  const rate = 16000;
  const samples = rate;
  const data = Buffer.alloc(samples * 2);
  for (let i = 0; i < samples; i += 1) data.writeInt16LE(Math.round(16000 * Math.sin((2 * Math.PI * 220 * i) / rate)), i * 2);
  const header = Buffer.alloc(44);
  header.write('RIFF', 0);
  header.writeUInt32LE(36 + data.length, 4);
  header.write('WAVEfmt ', 8);
  header.writeUInt32LE(16, 16);
  header.writeUInt16LE(1, 20);
  header.writeUInt16LE(1, 22);
  header.writeUInt32LE(rate, 24);
  header.writeUInt32LE(rate * 2, 28);
  header.writeUInt16LE(2, 32);
  header.writeUInt16LE(16, 34);
  header.write('data', 36);
  header.writeUInt32LE(data.length, 40);
  writeFileSync(file, Buffer.concat([header, data]));
}

const top = (page) => page.evaluate(() => window.cuewright.state.top);

function findView(view, name) {
  if (!view) return null;
  if (view.name === name) return view;
  for (const child of view.subviews || []) {
    const found = findView(child, name);
    if (found) return found;
  }
  return null;
}

// The named view on the screen on top of the navigation stack.
async function modelView(page, name) {
  const state = await page.evaluate(() => window.cuewright.state);
  const stack = state.root.stack;
  return findView(stack[stack.length - 1].view, name);
}


function offsetOf(t, page) {
  return page.evaluate(() => {
    const stack = window.cuewright.state.root.stack;
    const find = (v) => (v.name === 'ScriptTextView' ? v : (v.subviews || []).map(find).find(Boolean));
    return find(stack[stack.length - 1].view).contentOffset[1];
  });
}

function oneScript(text) {
  return ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Evening talk', text }]);
}


export const scenarios = [
  {
    name: 'with magic scrolling on, the text moves while the microphone hears a voice',
    args: ({ dataDir }) => ['--mic-file', path.join(dataDir, 'voice.wav')],
    seed: (where) => {
      oneScript(longText(120))(where);
      loudWav(path.join(where.dataDir, 'voice.wav'));
    },
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await t.openPrompter(page);
      await t.openSettings(page);
      await page.click(t.onTop('[data-name="magicSwitch"]'));
      await page.click('.system-prompt [data-action="Allow"]');
      await t.waitFor(page, () => window.cuewright.state.permissionQuestions.length === 0);
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      await page.click(t.onTop('[data-name="startButton"]'));
      await t.until(async () => (await offsetOf(t, page)) > 20, 'the voice to move the text');
      // The voice gate, not a plain run, moved it.
      const lines = (await t.command(page, { cmd: 'log' })).lines;
      assert.ok(lines.includes('Voice detected, starting scroll'), lines.slice(-10).join('\n'));
      await page.click(t.onTop('[data-name="stopButton"]'));
    },
  },
  {
    name: 'text size and reversed scrolling set in the settings show in the prompter',
    seed: oneScript(longText(120)),
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await t.openPrompter(page);
      const sizeBefore = (await modelView(page, 'ScriptTextView')).fontSize;
      await t.openSettings(page);
      // The right half of each control: the stepper's "+", "Reversed".
      const rightHalf = async (name) => {
        const control = page.locator(t.onTop(`[data-name="${name}"]`));
        const { width, height } = await control.boundingBox();
        await control.click({ position: { x: width * 0.75, y: height / 2 } });
      };
      for (let i = 0; i < 4; i += 1) await rightHalf('textStepper');
      await rightHalf('scrollDirectionButton');
      await page.click(t.onTop('[data-name="closeButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      await t.waitFor(page, (size) => {
        const el = document.querySelector('#window > .layer:last-of-type [data-name="ScriptTextView"] .text-content');
        return el && el.style.font.includes(`${size + 4}px`);
      }, sizeBefore);
      assert.equal((await modelView(page, 'ScriptTextView')).fontSize, sizeBefore + 4);

      // Reversed, a run moves back towards the start: scroll down first.
      const box = await page.locator(t.onTop('[data-name="ScriptTextView"]')).boundingBox();
      await page.mouse.move(box.x + box.width / 2, box.y + 200);
      await page.mouse.wheel(0, 1500);
      await t.until(async () => (await offsetOf(t, page)) > 1000, 'the text to scroll down');
      const start = await offsetOf(t, page);
      await page.click(t.onTop('[data-name="startButton"]'));
      await t.until(async () => (await offsetOf(t, page)) < start - 5, 'the run to move back');
      await page.click(t.onTop('[data-name="stopButton"]'));
    },
  },
  {
    name: 'a script made with the dialogs and the editor runs in the prompter',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await page.click('[data-name="addScriptButton"]');
      await page.click('.alert-action[data-action="Create New Script"]');
      await page.fill('.alert-field', 'Opening night');
      await page.click('.alert-action[data-action="Create Script"]');
      await t.waitForTop(page, 'editScriptViewController');
      const text = longText(80);
      await page.fill('[data-name="editTextView"] textarea', text);
      await t.waitFor(page, () => {
        const stack = window.cuewright.state.root.stack;
        const find = (v) => (v.name === 'editTextView' ? v : (v.subviews || []).map(find).find(Boolean));
        return find(stack[stack.length - 1].view).text.length > 1000;
      });
      await page.click('#window > .layer:last-of-type [data-name="saveButton"]');
      await t.waitForTop(page, 'ViewController');
      await t.waitFor(page, () => document.querySelectorAll('[data-type="CustomCollectionViewCell"]').length === 1);
      assert.match(await page.textContent('[data-type="CustomCollectionViewCell"]'), /Opening night/);

      await t.openPrompter(page);
      assert.match(await page.textContent('[data-name="ScriptTextView"]'), /Paragraph 80\./);
      assert.equal(await offsetOf(t, page), 0);

      await page.click('[data-name="startButton"]');
      await t.waitFor(page, () => window.cuewright.driving && window.cuewright.state.wantsTicks);
      // The text moves, and what the page shows is where the model is.
      await t.waitFor(page, () => {
        const el = document.querySelector('[data-name="ScriptTextView"] .text-content');
        return /translate\(0px, -[1-9]/.test(el.style.transform);
      });
      assert.ok(await offsetOf(t, page) > 0);
      assert.equal(await page.isVisible('[data-name="stopButton"]'), true);
      assert.equal(await page.isVisible('[data-name="startButton"]'), false);
    },
  },
  {
    name: 'each painted frame shows whole steps while the page drives',
    seed: oneScript(longText(2000)),
    async run(t) {
      const page = await t.open({ width: 800, height: 600 });
      await t.openPrompter(page);
      assert.equal((await t.command(page, { cmd: 'set_value', name: 'SpeedSlider', value: 50 })).ok, true);
      await page.click('[data-name="startButton"]');
      await t.waitFor(page, () => window.cuewright.driving && window.cuewright.state.wantsTicks);
      await page.evaluate(() => { window.cuewright.frameLog = []; window.cuewright.recordFrames = true; });
      await t.waitFor(page, () => window.cuewright.frameLog.length > 60);
      const log = await page.evaluate(() => { window.cuewright.recordFrames = false; return window.cuewright.frameLog; });
      const offsets = log.map((frame) => frame.offsets.ScriptTextView);
      // How many frames got their step in time depends on the machine; that
      // the text only ever moves forward by whole steps of 0.5 points does
      // not.
      for (let i = 1; i < offsets.length; i += 1) {
        const moved = offsets[i] - offsets[i - 1];
        assert.ok(moved >= 0 && Number.isInteger(moved / 0.5), `frame ${i} moved ${moved}`);
      }
      assert.ok(offsets[offsets.length - 1] > offsets[0]);
    },
  },
  {
    name: 'the keyboard starts, stops, changes the speed and goes back to the start',
    seed: oneScript(longText(400)),
    async run(t) {
      const page = await t.open({ width: 1024, height: 768 });
      await t.openPrompter(page);
      const speed = async () => (await modelView(page, 'SpeedSlider')).value;
      const before = await speed();
      await page.keyboard.press('ArrowUp');
      await t.waitFor(page, (b) => {
        const stack = window.cuewright.state.root.stack;
        const find = (v) => (v.name === 'SpeedSlider' ? v : (v.subviews || []).map(find).find(Boolean));
        return find(stack[stack.length - 1].view).value === b + 5;
      }, before);

      await page.keyboard.press('Space');
      await t.waitFor(page, () => !document.querySelector('[data-name="stopButton"]').style.display);
      await t.waitFor(page, () => /translate\(0px, -[1-9]/.test(document.querySelector('[data-name="ScriptTextView"] .text-content').style.transform));
      await page.keyboard.press('Space');
      await t.waitFor(page, () => !document.querySelector('[data-name="startButton"]').style.display);
      assert.ok(await offsetOf(t, page) > 0);
      await page.keyboard.press('Home');
      await t.waitFor(page, () => document.querySelector('[data-name="ScriptTextView"] .text-content').style.transform === 'translate(0px, 0px)');
      assert.equal(await offsetOf(t, page), 0);
    },
  },
  {
    name: 'the text is as tall in the model as the page draws it, so a run ends at its last line',
    seed: oneScript(Array.from({ length: 60 }, (_, i) => `Sentence ${i} of a speech that goes on for a while, with ordinary words.`).join(' ')),
    async run(t) {
      for (const viewport of [{ width: 390, height: 844 }, { width: 1280, height: 800 }]) {
        const page = await t.open(viewport);
        await t.openPrompter(page);
        await t.waitFor(page, () => {
          const el = document.querySelector('[data-name="ScriptTextView"]');
          return el._snap.contentSize[1] === el.querySelector('.text-content').scrollHeight;
        });
        assert.equal((await t.command(page, { cmd: 'navigate_back' })).ok, true);
        await page.close();
      }
    },
  },
];
