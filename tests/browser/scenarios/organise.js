// Organising the library in the browser: the option sheets of a long press,
// folders, editing a script from the prompter, and deleting it.

import assert from 'node:assert/strict';
import { seedLibrary } from '../library.js';



const tile = (text) => `[data-type="CustomCollectionViewCell"]:has-text("${text}")`;

function tileTexts(page) {
  return page.$$eval('[data-type="CustomCollectionViewCell"]', (cells) => cells.map((cell) => cell.textContent.trim()));
}

async function chooseAction(t, page, title) {
  await page.click(`.alert-action[data-action="${title}"]`);
}

async function storedTitles(t, page) {
  const answer = await t.command(page, { cmd: 'store', key: 'scriptTitlesArray' });
  return (answer.value?.list || []).map((item) => item.string);
}

export const scenarios = [
  {
    name: 'a script moves into a folder, is edited from the prompter and deleted',
    seed: ({ program, dataDir }) => seedLibrary(program, dataDir, [{ title: 'Evening talk', text: 'Good evening.' }]),
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await page.click('[data-name="addScriptButton"]');
      await chooseAction(t, page, 'Create New Folder');
      await page.fill('.alert-field', 'Talks');
      await chooseAction(t, page, 'Save');
      await t.waitFor(page, () => document.querySelectorAll('[data-type="CustomCollectionViewCell"]').length === 2);

      await t.pressUntilSheet(page, tile('Evening talk'));
      await chooseAction(t, page, 'Move to Folder');
      await t.waitFor(page, () => document.querySelector('.alert-action[data-action="Talks"]'));
      await chooseAction(t, page, 'Talks');
      await t.waitFor(page, () => document.querySelectorAll('[data-type="CustomCollectionViewCell"]').length === 1);
      assert.deepEqual(await tileTexts(page), ['Talks']);

      await page.click(tile('Talks'));
      await t.waitFor(page, () => [...document.querySelectorAll('[data-type="CustomCollectionViewCell"]')].some((c) => c.textContent.includes('Evening talk')));
      await page.click(tile('Evening talk'));
      await t.waitForTop(page, 'scriptViewController');
      await page.click(t.onTop('[data-name="editButton"]'));
      await t.waitForTop(page, 'editScriptViewController');
      await page.fill(t.onTop('[data-name="editTextView"] textarea'), 'Good evening, and welcome.');
      await t.waitFor(page, () => document.querySelector('#window > .layer:last-of-type [data-name="editTextView"] textarea').value.endsWith('welcome.'));
      await page.click(t.onTop('[data-name="saveButton"]'));
      await t.waitForTop(page, 'scriptViewController');
      await t.waitFor(page, () => document.querySelector('#window > .layer:last-of-type [data-name="ScriptTextView"]').textContent.includes('and welcome'));
      const texts = await t.command(page, { cmd: 'store', key: 'scriptTextArray' });
      assert.equal(texts.value.list[0].string, 'Good evening, and welcome.');

      await page.click('.navbar-back');
      await t.waitForTop(page, 'ViewController');
      await t.waitFor(page, () => [...document.querySelectorAll('[data-type="CustomCollectionViewCell"]')].some((c) => c.textContent.includes('Evening talk')));
      await t.pressUntilSheet(page, tile('Evening talk'));
      await chooseAction(t, page, 'Delete');
      await t.waitFor(page, () => document.querySelector('.alert-title')?.textContent === 'Confirm Deletion');
      await chooseAction(t, page, 'Delete');
      // The folder stays open, now empty.
      await t.waitFor(page, async () => (await window.cuewright.command({ cmd: 'grid' })).itemCount === 0);
      assert.equal((await t.command(page, { cmd: 'grid' })).folder, 'Talks');
      await t.waitFor(page, () => ![...document.querySelectorAll('[data-type="CustomCollectionViewCell"]')].some((c) => c.textContent.includes('Evening talk')));
      assert.deepEqual(await storedTitles(t, page), []);
    },
  },
];
