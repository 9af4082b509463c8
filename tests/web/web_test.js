// The web page in headless Chromium against the desktop program's tables and its PDF.
//   node web_test.js PAGE.html DESKTOP_PROGRAM BUILD_WEB_DIR
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const [pageFile, desktop, webDir] = process.argv.slice(2);
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'hb9cv-web-'));
const kArgs = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const failures = [];
function check(name, body) {
  return body().catch((e) => failures.push(`${name}: ${e.message}`));
}

// Field cases as the desktop field's table has them: [name, steps, shown, Text, anchor, caret,
// beeps]. A step is a key for keyboard.press, "type:" text, or "paste:" text.
const kCurrent = (i) => [i + 1, i];
const kFieldCases = [
  ['StartUp', [], '0000,000', '0000,000', 0, 8, 0],
  ['Type145', ['type:145'], '145_,___', '145 ,   ', ...kCurrent(3), 0],
  ['CommaMovesToDecimals', ['type:145,5'], '145_,5__', '145 ,5  ', ...kCurrent(6), 0],
  ['FillToTheEnd', ['Home', 'type:014550099'], '0145,500', '0145,500', 8, 8, 0],
  ['RefusedCharacters', ['Home', 'type:x.+- '], '0000,000', '0000,000', ...kCurrent(0), 5],
  ['CommaOnDecimalsBeeps', ['End', 'ArrowLeft', 'ArrowLeft', 'type:,'], '0000,000', '0000,000',
   ...kCurrent(6), 1],
  ['RefusedOverWholeText', ['type:x'], '____,___', '    ,   ', ...kCurrent(0), 1],
  ['BackspaceOnPlace0', ['Home', 'Backspace'], '0000,000', '0000,000', ...kCurrent(0), 0],
  ['FiveBackspacesFromEnd', ['type:1234567', ...Array(5).fill('Backspace')], '12__,___',
   '12  ,   ', ...kCurrent(2), 0],
  ['DeleteKeepsPlace', ['type:1234567', 'Home', 'ArrowRight', 'ArrowRight', 'Delete'], '12_4,567',
   '12 4,567', ...kCurrent(2), 0],
  ['RightOverComma', ['Home', ...Array(4).fill('ArrowRight')], '0000,000', '0000,000',
   ...kCurrent(5), 0],
  ['LeftWalkOverComma', ['End', ...Array(4).fill('ArrowLeft')], '0000,000', '0000,000',
   ...kCurrent(3), 0],
  ['EscRestores', ['Home', 'type:1', 'Escape'], '0000,000', '0000,000', ...kCurrent(0), 0],
  ['ShiftHome', ['Home', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'Shift+Home'], '0000,000',
   '0000,000', 0, 4, 0],
  ['ShiftEnd', ['Home', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'Shift+End'], '0000,000',
   '0000,000', 3, 8, 0],
  ['CtrlLeftWordMove', ['End', 'ArrowLeft', 'ArrowLeft', 'Control+ArrowLeft'], '0000,000',
   '0000,000', ...kCurrent(0), 0],
  ['PasteOverWholeText', ['paste:145'], '145_,___', '145 ,   ', ...kCurrent(3), 0],
  ['Paste14,5', ['Home', 'paste:14,5'], '14_5,000', '14 5,000', ...kCurrent(4), 0],
];

// The desktop's texts for typed frequencies (hb9cv --compute under a comma locale).
const kValues = [
  ['0145000', {frequency: '145 MHz', wavelength: '2,06896551724138 m', Z: '951,7 mm',
    R: '1036,5 mm', RZ: '258,6 mm', x: '20,6 mm', Tz: '130,3 mm', Tr: '140,6 mm',
    diameter: 'Průměr 2,89 až 5,17 mm'}],
  ['0028500', {frequency: '28,5 MHz', wavelength: '10,5263157894737 m', Z: '4842,1 mm',
    R: '5273,6 mm', RZ: '1315,7 mm', x: '105,2 mm', Tz: '663,1 mm', Tr: '715,7 mm',
    diameter: 'Průměr 14,73 až 26,31 mm'}],
  ['9999999', {frequency: '9999,999 MHz', wavelength: '0,0300000030000003 m', Z: '13,8 mm',
    R: '15 mm', RZ: '3,7 mm', x: '0,3 mm', Tz: '1,8 mm', Tr: '2 mm',
    diameter: 'Průměr 0,04 až 0,07 mm'}],
  ['0000001', {frequency: '0,001 MHz', wavelength: '300000 m', Z: '138000000 mm',
    R: '150300000 mm', RZ: '37500000 mm', x: '3000000 mm', Tz: '18900000 mm', Tr: '20400000 mm',
    diameter: 'Průměr 420000 až 750000 mm'}],
];

// Fragments: [hash, frequency label or null, error box text or null, print view open].
const kFragments = [
  ['#f=145,5', '145,5 MHz', null, false],
  ['#f=145.5&print', '145,5 MHz', null, true],
  ['#f=12345', null, "'12345' has more than four integer digits (the most is 9999,999 MHz)", false],
  ['#f=1,2345', null, "'1,2345' has more than three decimals (the finest step is 0,001 MHz)", false],
  ['#f=%E0x', null, "'%E0x' is not a frequency: expected up to four digits, then ',' or '.' and up to three decimals.", false],
  ['#print', '0', null, false],
];

async function main() {
  const context = await chromium.launchPersistentContext(path.join(tmp, 'profile'), {
    executablePath: '/usr/bin/chromium', args: kArgs, headless: true,
    locale: 'cs-CZ'});
  const page = context.pages()[0] || await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  const url = 'file://' + path.resolve(pageFile);
  async function open(hash = '') {
    await page.goto('about:blank');
    await page.goto(url + hash);
    await page.waitForFunction(() => window.HB9CV && window.HB9CV.ready);
  }
  const value = (name) => page.$eval(`#window [data-name="${name}"], #report [data-name="${name}"]`,
                                     (e) => e.textContent);
  const all = (name) => page.$$eval(`[data-name="${name}"]`, (es) => es.map((e) => e.textContent));

  for (const [name, steps, shown, text, anchor, caret, beeps] of kFieldCases) {
    await check(`field ${name}`, async () => {
      await open();
      for (const step of steps) {
        if (step.startsWith('type:')) await page.keyboard.type(step.slice(5));
        else if (step.startsWith('paste:')) {
          await page.$eval('#field', (f, t) => {
            const data = new DataTransfer();
            data.setData('text/plain', t);
            f.dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true}));
          }, step.slice(6));
        } else await page.keyboard.press(step);
      }
      const seen = await page.$eval('#field', (f) => [f.value, window.HB9CV.text(),
        f.selectionDirection === 'backward' ? f.selectionEnd : f.selectionStart,
        f.selectionDirection === 'backward' ? f.selectionStart : f.selectionEnd,
        window.HB9CV.beeps]);
      assert.deepEqual(seen, [shown, text, anchor, caret, beeps]);
    });
  }

  for (const [typed, texts] of kValues) {
    await check(`values ${typed}`, async () => {
      await open();
      await page.keyboard.press('Home');
      await page.keyboard.type(typed);
      await page.keyboard.press('F5');
      for (const [name, text] of Object.entries(texts)) {
        for (const seen of await all(name)) assert.equal(seen, text, name);
      }
    });
  }

  await check('zero warning, F5 does not reload, Nový', async () => {
    await open();
    await page.evaluate(() => { window.notReloaded = true; });
    await page.keyboard.press('F5');
    assert.equal(await page.isVisible('#warning'), true);
    assert.equal(await page.isDisabled('#Nov1'), true);
    assert.equal(await page.isDisabled('#Tisk1'), true);
    await page.keyboard.press('Alt+z');
    assert.equal(await page.isVisible('#warning'), false);
    await page.keyboard.press('Home');
    await page.keyboard.type('0145');
    await page.keyboard.press('F5');
    await page.keyboard.press('Alt+n');
    assert.deepEqual([await page.evaluate(() => window.notReloaded), await value('Z'),
      (await all('Z'))[1], await page.isDisabled('#Tisk1'), await page.inputValue('#field')],
    [true, '0', '0 mm', false, '0000,000']);
    await open();
    await page.keyboard.type('145');
    await page.keyboard.press('Enter');
    assert.equal(await page.textContent('#error-text'), "'145 ,   ' is not a valid floating point value.");
  });

  for (const [hash, frequency, error, print] of kFragments) {
    await check(`fragment ${hash}`, async () => {
      await open(hash);
      if (frequency) assert.equal(await value('frequency'), frequency);
      assert.equal(await page.isVisible('#error'), error !== null);
      if (error) assert.equal(await page.textContent('#error-text'), error);
      assert.equal(await page.isVisible('#preview'), print);
      if (frequency && frequency !== '0') {
        assert.equal(await page.evaluate(() => location.hash), hash.replace('.', ',').replace('&print', ''));
      }
    });
  }

  await check('printed page against the desktop PDF', async () => {
    await open('#f=145&print');
    await page.emulateMedia({media: 'print'});
    await page.pdf({path: path.join(tmp, 'web.pdf'), preferCSSPageSize: true});
    execFileSync(desktop, ['--compute', '145', '--pdf', path.join(tmp, 'desktop.pdf')]);
    const words = (pdf) => [...execFileSync('pdftotext', ['-bbox', pdf, '-'], {encoding: 'utf8'})
      .matchAll(/<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</g)]
      .map((m) => [m[3].replace(',', '.'), +m[1] * 25.4 / 72, +m[2] * 25.4 / 72]);
    const [web, desk] = [words(path.join(tmp, 'web.pdf')), words(path.join(tmp, 'desktop.pdf'))];
    assert.equal(web.length, desk.length);
    assert.ok(web.length > 100);
    desk.forEach(([text, x, y], i) => {
      assert.equal(web[i][0], text);
      assert.ok(Math.abs(web[i][1] - x) <= 0.5 && Math.abs(web[i][2] - y) <= 0.5,
                `${text}: ${web[i].slice(1)} against ${[x, y]}`);
    });
    await page.emulateMedia({media: 'screen'});
  });

  // The browser's language picks the desktop's translation, for the windows' texts, the values
  // and the messages alike; a language without one keeps the Czech source texts.
  const kRefusal = "'x' is not a frequency: expected up to four digits, then ',' or '.' and up " +
    'to three decimals.';
  for (const [language, title, compute, diameter, refusal] of [
    ['de-DE', 'Abmessungen einer HB9CV-Antenne', 'Berechnen', 'Durchmesser 2,89 bis 5,17 mm',
     "'x' ist keine Frequenz: erwartet werden bis zu vier Ziffern, dann ',' oder '.' und bis " +
     'zu drei Nachkommastellen.'],
    ['en-GB', 'HB9CV antenna dimensions', 'Compute', 'Diameter 2,89 to 5,17 mm', kRefusal],
    ['fr-FR', 'Výpočet rozměrů antény typu HB9CV', 'Počítej', 'Průměr 2,89 až 5,17 mm', kRefusal],
  ]) {
    await check(`language ${language}`, async () => {
      const tab = await context.newPage();
      await tab.addInitScript((l) => Object.defineProperty(navigator, 'languages', {get: () => [l]}), language);
      await tab.goto(url + '#f=145');
      await tab.waitForFunction(() => window.HB9CV && window.HB9CV.ready);
      const seen = [await tab.textContent('#title'), await tab.textContent('#Potej1'),
        await tab.$eval('#window [data-name="diameter"]', (e) => e.textContent)];
      await tab.goto(url + '#f=x');
      assert.deepEqual([...seen, await tab.textContent('#error-text')],
                       [title, compute, diameter, refusal]);
      await tab.close();
    });
  }

  assert.deepEqual(errors, [], 'errors thrown in the page');
  await context.close();
}

main().catch((e) => failures.push(`run: ${e.stack}`)).finally(() => {
  fs.rmSync(tmp, {recursive: true, force: true});
  for (const f of failures) console.error(`FAIL ${f}`);
  console.log(failures.length ? `web_test: ${failures.length} failed` : 'web_test: all passed');
  process.exit(failures.length ? 1 : 0);
});
