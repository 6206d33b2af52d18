// The page itself: it draws the device's window from the model, takes the
// browser's viewport as the window size, and several pages show the same
// device.

import assert from 'node:assert/strict';

export const scenarios = [
  {
    name: 'the page draws the home screen from the snapshot',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      const state = await t.state(page);
      assert.equal(state.top, 'ViewController');
      assert.equal(state.root.class, 'NavigationController');
      const layers = await page.$$eval('#window > .layer', (els) => els.map((el) => el.dataset.screen));
      assert.deepEqual(layers, ['ViewController']);
      // Every view of the model is drawn, named views by their outlet names.
      const named = await page.$$eval('[data-name]', (els) => els.map((el) => el.dataset.name));
      const expected = [];
      (function collect(view) {
        if (view.name) expected.push(view.name);
        (view.subviews || []).forEach(collect);
      })(state.root.stack[0].view);
      assert.deepEqual(named.sort(), expected.sort());
    },
  },
  {
    name: 'the window takes the viewport size and follows it',
    async run(t) {
      const page = await t.open({ width: 500, height: 700 });
      let state = await t.state(page);
      assert.deepEqual([state.window.width, state.window.height], [500, 700]);
      await page.setViewportSize({ width: 640, height: 480 });
      await t.waitFor(page, () => window.cuewright.state.window.width === 640 && window.cuewright.state.window.height === 480);
      state = await t.state(page);
      const box = await page.$eval('#window > .layer > .view', (el) => el.getBoundingClientRect().toJSON());
      assert.deepEqual([box.width, box.height], [state.root.stack[0].view.frame[2], state.root.stack[0].view.frame[3]]);
      assert.deepEqual([box.width, box.height], [640, 480]);
    },
  },
  {
    name: 'a screenshot of the home screen shows the model\'s colours',
    async run(t) {
      const page = await t.open({ width: 390, height: 844 });
      const state = await t.state(page);
      const home = state.root.stack[0];
      const background = (home.view.background || [0, 0, 0, 1]).slice(0, 3).map((v) => Math.round(v * 255));
      const image = t.decodePng(await page.screenshot());
      assert.equal(image.width, 390);
      // The navigation bar is the toolkit's; below it the home screen's own
      // background shows wherever no subview covers it.
      assert.ok(t.sameColour(image.at(40, 22), [248, 248, 248], 8), `bar ${image.at(40, 22)}`);
      for (const [x, y] of [[195, 422], [10, 830], [380, 60]]) {
        assert.ok(t.sameColour(image.at(x, y), background), `at ${x},${y}: ${image.at(x, y)} is not ${background}`);
      }
    },
  },
  {
    name: 'two pages show one device; the focused one sizes the window',
    async run(t) {
      const first = await t.open({ width: 400, height: 800 });
      const second = await t.open({ width: 800, height: 600 });
      // The page opened last has the focus and gives its size.
      await t.waitFor(first, () => window.cuewright.state.window.width === 800);
      assert.equal((await t.state(second)).window.width, 800);
      assert.equal(await second.evaluate(() => window.cuewright.driving), true);
      assert.equal(await first.evaluate(() => window.cuewright.driving), false);
      // The other page scales the window to fit its viewport.
      const box = await first.$eval('#window', (el) => el.getBoundingClientRect().toJSON());
      assert.equal(Math.round(box.width), 400);
      assert.equal(Math.round(box.height), 300);
      // Focus moves: the window follows the other page.
      await first.evaluate(() => window.cuewright.command({ cmd: 'focus' }));
      await t.waitFor(second, () => window.cuewright.state.window.width === 400);
      assert.equal(await first.evaluate(() => window.cuewright.driving), true);
    },
  },
  {
    name: 'a bad message gets an error answer and the page carries on',
    async run(t) {
      const page = await t.open();
      const answers = await page.evaluate(async () => Promise.all([
        window.cuewright.command({ cmd: 'no_such_command' }),
        window.cuewright.command({ cmd: 'launch' }),
        window.cuewright.command({ cmd: 'tap_view', path: [99] }),
      ]));
      for (const answer of answers) assert.equal(answer.ok, false, JSON.stringify(answer));
      assert.match(answers[1].error, /headless/);
      const screens = await t.command(page, { cmd: 'screens' });
      assert.equal(screens.ok, true);
      assert.equal(screens.top, 'ViewController');
    },
  },
];
