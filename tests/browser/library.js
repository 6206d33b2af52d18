// Libraries for the scenarios and measurements, made the way a user makes
// them: the first script through the headless driver's own create-script
// dialog and editor (so every stored list has its real shape), the rest as
// copies of it with their own titles and texts, written with the store tool.

import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import path from 'node:path';

function tool(program, relative) {
  const build = path.dirname(path.dirname(program));
  const found = path.join(build, relative);
  if (!existsSync(found)) throw new Error(`no ${relative} beside ${program}`);
  return found;
}

// Fills the store in `dataDir` with `scripts`: [{ title, text }].
export function seedLibrary(program, dataDir, scripts) {
  const sim = tool(program, 'sim/cuewright-sim');
  const store = tool(program, 'tools/cuewright-store');
  const [first] = scripts;
  const requests = [
    { cmd: 'launch', data_dir: dataDir },
    { cmd: 'create_script' },
    { cmd: 'answer', fields: [first.title], choose: 'Create Script' },
    { cmd: 'editor_replace', text: first.text },
    { cmd: 'tap', name: 'saveButton' },
  ];
  const answers = execFileSync(sim, { input: requests.map((r) => JSON.stringify(r)).join('\n') }).toString().trim().split('\n');
  for (const answer of answers) {
    if (!JSON.parse(answer).ok) throw new Error(`seeding failed: ${answer}`);
  }
  const document = JSON.parse(execFileSync(store, ['export', '--data-dir', dataDir]).toString());
  const values = document.values;
  for (const [key, value] of Object.entries(values)) {
    if (!key.endsWith('Array') || !value.list || value.list.length !== 1) continue;
    const [element] = value.list;
    value.list = scripts.map((script) => {
      if (key === 'scriptTitlesArray') return { string: script.title };
      if (key === 'scriptTextArray') return { string: script.text };
      return element;
    });
  }
  values.combinedDataSource = {
    list: scripts.map((script, index) => ({
      record: {
        name: { string: script.title },
        type: { string: 'Script' },
        uniqueID: { string: `${script.title}_${1800000000 + index}.000000` },
      },
    })),
  };
  execFileSync(store, ['import', '--data-dir', dataDir, '-'], { input: JSON.stringify(document) });
}

// Many short paragraphs, far taller than any window.
export function longText(paragraphs = 400) {
  return Array.from({ length: paragraphs }, (_, i) => `Paragraph ${i + 1}. Good evening, everyone, and welcome to the show.`).join('\n');
}
