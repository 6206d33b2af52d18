// Importing a document from the browser: the file chooser uploads it, and
// the device takes it from its document picker.

import assert from 'node:assert/strict';


async function openPicker(t, page) {
  await page.click('[data-name="addScriptButton"]');
  await page.click('.alert-action[data-action="Import Existing Script"]');
  await t.waitForTop(page, 'DocumentPickerScreen');
  await page.waitForSelector('.document-picker-file');
}

function alertText(page) {
  return page.evaluate(() => {
    const alert = document.querySelector('.alert');
    return alert && {
      title: alert.querySelector('.alert-title')?.textContent,
      message: alert.querySelector('.alert-message')?.textContent,
    };
  });
}

const rtf = '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Caf\\\'e9 and friends\\par Second line\\par}';

export const scenarios = [
  {
    name: 'an uploaded rich-text document becomes a script',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await openPicker(t, page);
      await page.setInputFiles('.document-picker-file', { name: 'Café talk.rtf', mimeType: 'application/rtf', buffer: Buffer.from(rtf) });
      await t.waitFor(page, () => document.querySelector('.alert-title')?.textContent.startsWith('File Imported'));
      assert.equal((await alertText(page)).message, 'Successfully imported file Café talk.rtf. Tap OK to edit your imported script');
      await page.click('.alert-action[data-action="Ok"]');
      await t.waitFor(page, () => document.querySelector('.alert-title')?.textContent === 'Create Imported Script');
      await page.fill('.alert-field', 'Monday');
      await page.click('.alert-action[data-action="Create Script"]');
      await t.waitForTop(page, 'editScriptViewController');
      const imported = await t.command(page, { cmd: 'store', key: 'ImportedText' });
      assert.equal(imported.value.string, 'Café and friends\nSecond line\n');
      await t.waitFor(page, () => [...document.querySelectorAll('textarea.text-edit')].some((area) => area.value.startsWith('Café and friends')));
    },
  },
  {
    name: 'a file of another kind is refused by name',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      await openPicker(t, page);
      await page.setInputFiles('.document-picker-file', { name: 'slides.pdf', mimeType: 'application/pdf', buffer: Buffer.from('%PDF-1.4') });
      await t.waitFor(page, () => document.querySelector('.alert-title')?.textContent === 'File not Imported');
      assert.match((await alertText(page)).message, / slides\.pdf, is not supported\.$/);
      await page.click('.alert-action[data-action="Ok"]');
      await t.waitForTop(page, 'ViewController');
      const titles = await t.command(page, { cmd: 'store', key: 'scriptTitlesArray' });
      assert.equal(titles.value?.list?.length ?? 0, 0);
    },
  },
];
