// The page opened from file:// in Chromium: offline, named as the desktop,
// its count messages, tabs, files and the very runs of the batch program.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, openPage, runProgram } from './browser.mjs';

const configurations = fileURLToPath(new URL('configurations/', import.meta.url));
const scratch = mkdtempSync(join(tmpdir(), 'molvane-page-'));
let browser;

before(async () => {
  browser = await launch();
});
after(async () => {
  await browser?.close();
});

async function withPage(options, body) {
  const { page, context, problems } = await openPage(browser, options);
  try {
    await body(page);
  } finally {
    await context.close();
  }
  assert.deepEqual(problems, [], 'no request leaves the page and no error shows');
}

const control = (page, name) => page.locator(`[data-control="${name}"]`);
const box = (page, name) => page.locator(`[data-control="${name}"] input, input[data-control="${name}"]`);

async function openFile(page, path) {
  const chooser = page.waitForEvent('filechooser');
  await control(page, 'Command2').click();
  await (await chooser).setFiles(path);
}

async function downloadOf(page, action) {
  const waiting = page.waitForEvent('download');
  await action();
  const download = await waiting;
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

describe('the page', () => {
  test('opens offline, titled and built from the control table', async () => {
    await withPage({}, async (page) => {
      assert.equal(await page.title(), 'Équilibre dynamique');
      const cases = [
        ['Text1_0', 'aria-label', 'Nombre initial de particules A'],
        ['Command1', 'title', 'Quitter cette application'],
        ['Command5', 'title', 'Retrouver l\'état initial'],
        ['animpic', 'aria-label', 'Récipient de la réaction'],
        ['HScroll1', 'aria-description', 'Vers la droite, les particules vont plus vite'],
        ['VScroll2', 'aria-valuetext', '20 s'],
        ['VScroll3', 'aria-valuetext', '51 lignes'],
        ['VScroll4_0', 'aria-valuetext', '50 %'],
        ['Command11', 'aria-keyshortcuts', 'Alt+E'],
      ];
      for (const [name, attribute, value] of cases)
        assert.equal(await control(page, name).getAttribute(attribute), value, `${name} ${attribute}`);
      // Every control of the table is in the page, found by its design name
      // (the page leaves out the display size, the browser's zoom).
      const table = readFileSync(new URL('../../../core/controltable.cpp', import.meta.url), 'utf8');
      const names = [...table.matchAll(/\.name = "([^"]+)"/g)].map((match) => match[1]);
      assert.ok(names.length > 50);
      for (const name of names.filter((n) => n !== 'Comtaille'))
        assert.equal(await control(page, name).count(), 1, name);
      // The key letters: Alt+O opens the file picker at once.
      const chooser = page.waitForEvent('filechooser');
      await page.keyboard.press('Alt+o');
      await chooser;
      // The recording's clock runs.
      const clock = await control(page, 'Label1').textContent();
      await page.waitForFunction(
        (before) => document.querySelector('[data-control="Label1"]').textContent !== before,
        clock,
      );
    });
  });

  test("the clock and the table write the browser language's decimal separator", async () => {
    for (const [locale, clock, qr] of [
      ['fr-FR', /^00 h 00 min 0\d,\d s$/, /^0,\d+$/],
      ['en-GB', /^00 h 00 min 0\d\.\d s$/, /^0\.\d+$/],
    ]) {
      await withPage({ locale, clock: true }, async (page) => {
        await page.clock.runFor(1500);
        assert.match(await control(page, 'Label1').textContent(), clock, locale);
        await page.getByRole('tab', { name: 'Suivi du système' }).click();
        await box(page, 'Option1_1').check();
        const cell = page.getByRole('table').locator('tbody tr').nth(2).locator('td').last();
        assert.match((await cell.textContent()).trim(), qr, locale);
      });
    }
  });

  test('a total over the limit is brought back with the desktop message', async () => {
    await withPage({}, async (page) => {
      const a = box(page, 'Text1_0');
      await a.fill('2000');
      await a.press('Enter');
      const dialog = page.getByRole('alertdialog');
      await assert.doesNotReject(dialog.waitFor());
      assert.equal(await dialog.locator('h2').textContent(), 'Dépassement de capacité');
      assert.equal(
        await dialog.locator('p').textContent(),
        'Le nombre total de particules ne peut être supérieur à 1 000',
      );
      await page.keyboard.press('Enter');
      await dialog.waitFor({ state: 'detached' });
      assert.equal(await a.inputValue(), '900');
      assert.equal(await page.evaluate(() => document.activeElement?.getAttribute('data-input') ?? document.activeElement?.dataset.control), 'Text1_0');
      // Too few: the box left changes; Escape closes the box as well.
      await a.fill('0');
      await a.press('Tab');
      const b = box(page, 'Text1_1');
      await b.fill('3');
      await b.press('Tab');
      await dialog.waitFor();
      assert.equal(await dialog.locator('p').textContent(), 'Le nombre total de particules ne peut être inférieur à 10');
      await page.keyboard.press('Escape');
      await dialog.waitFor({ state: 'detached' });
      assert.equal(await b.inputValue(), '10');
    });
  });

  test('arrows turn the tabs', async () => {
    await withPage({}, async (page) => {
      const tabs = page.getByRole('tab');
      await tabs.first().focus();
      const steps = [
        ['ArrowRight', 'Affichage', 'Frame2'],
        ['ArrowRight', 'Suivi du système', 'Picture1'],
        ['ArrowRight', 'Paramètres', 'Picture3'],
        ['ArrowLeft', 'Suivi du système', 'Picture1'],
      ];
      for (const [key, name, panel] of steps) {
        await page.keyboard.press(key);
        assert.equal(await page.getByRole('tab', { selected: true }).textContent(), name);
        assert.equal(await control(page, panel).isVisible(), true, panel);
      }
    });
  });

  test('the table of values shows its rows under column headers', async () => {
    await withPage({}, async (page) => {
      await page.getByRole('tab', { name: 'Suivi du système' }).click();
      await box(page, 'Option1_1').check();
      const table = page.getByRole('table', { name: 'Tableau de valeurs' });
      await table.waitFor();
      assert.equal(await table.locator('thead th').count(), 6);
      assert.equal(await table.locator('tbody tr').count(), 51);
      assert.equal(await control(page, 'option2_0').locator('input').isDisabled(), true);
    });
  });

  test('a saved configuration holds the bytes the desktop wrote', async () => {
    for (const file of ['vers-equilibre.C11', 'chaud.C11', 'exces-de-b.C11']) {
      await withPage({}, async (page) => {
        const path = join(configurations, file);
        await openFile(page, path);
        await page.waitForFunction((name) => document.title.endsWith(name), file);
        const saved = await downloadOf(page, async () => {
          await control(page, 'Command11').click();
          await page.getByRole('dialog').getByRole('button', { name: 'ENREGISTRER' }).click();
        });
        assert.equal(saved.name, file);
        assert.deepEqual(saved.bytes, readFileSync(path), file);
      });
    }
  });

  test('a bad file is refused with the desktop message, and the run goes on', async () => {
    const huge = join(scratch, 'enorme.C11');
    writeFileSync(huge, Buffer.concat([readFileSync(join(configurations, 'chaud.C11')), Buffer.alloc(8 << 20, 7)]));
    const binary = join(scratch, 'binaire.C11');
    writeFileSync(binary, Buffer.from(Array.from({ length: 5000 }, (_, k) => (k * 151 + 7) % 256)));
    const truncated = join(scratch, 'tronque.C11');
    writeFileSync(truncated, readFileSync(join(configurations, 'chaud.C11')).subarray(0, 900));
    const signature = join(scratch, 'signature.C11');
    const wrong = Buffer.from(readFileSync(join(configurations, 'chaud.C11')));
    wrong[2] = 'm'.charCodeAt(0);
    writeFileSync(signature, wrong);
    const cases = [
      [binary, 'Fichier non valide', 'Ce fichier ne correspond pas à cette application'],
      [signature, 'Fichier non valide', 'Ce fichier ne correspond pas à cette application'],
      [truncated, 'Erreur lors du chargement du fichier', 'Lecture impossible sur disque'],
    ];
    await withPage({}, async (page) => {
      for (const [path, title, text] of cases) {
        await openFile(page, path);
        const dialog = page.getByRole('alertdialog');
        await dialog.waitFor();
        assert.equal(await dialog.locator('h2').textContent(), title, path);
        assert.equal(await dialog.locator('p').textContent(), text, path);
        await dialog.getByRole('button', { name: 'OK' }).click();
        await dialog.waitFor({ state: 'detached' });
      }
      assert.equal(await page.title(), 'Équilibre dynamique');
      // A huge file loads from its records alone.
      await openFile(page, huge);
      await page.waitForFunction(() => document.title.endsWith('enorme.C11'));
      const clock = await control(page, 'Label1').textContent();
      await page.waitForFunction(
        (before) => document.querySelector('[data-control="Label1"]').textContent !== before,
        clock,
      );
    });
  });

  test('with ?graine=N the recording is the batch program\'s run', async () => {
    // Some recorded straight after the opening, some after "Retour à l'état initial".
    const cases = [
      ['chaud.C11', 20, 5, false],
      ['exces-de-b.C11', 30, 123456, true],
      ['peu-de-particules.C11', 90, 1, true],
      ['vers-equilibre.C11', 60, 42, false],
    ];
    for (const [file, seconds, seed, restart] of cases) {
      await withPage({ query: `?graine=${seed}`, clock: true }, async (page) => {
        const path = join(configurations, file);
        await openFile(page, path);
        await page.waitForFunction((name) => document.title.endsWith(name), file);
        if (restart) {
          // A restart seeds the generator again: the run after it is the same.
          await page.clock.runFor(1500);
          await control(page, 'Command5').click();
        }
        await page.clock.runFor(seconds * 1000 + 500);
        const csv = await downloadOf(page, async () => {
          // As on the desktop, the export is the copy menu's last entry.
          await control(page, 'Command4').click();
          await page.locator('[data-item="exportcsv"]').click();
          const dialog = page.getByRole('dialog');
          await dialog.getByLabel('Python / international').check();
          await dialog.getByRole('button', { name: 'OK' }).click();
        });
        assert.equal(csv.name, 'mesures.csv');
        const expected = execFileSync(runProgram, [
          path,
          '--duree',
          String(seconds),
          '--graine',
          String(seed),
          '--format',
          'python',
        ]);
        assert.equal(csv.bytes.toString('utf8'), expected.toString('utf8'), `${file} seed ${seed}`);
      });
    }
  });

  test('display choices come back at the next visit, and a dropped file opens', async () => {
    await withPage({}, async (page) => {
      await page.getByRole('tab', { name: 'Affichage' }).click();
      await box(page, 'Check1').check();
      await box(page, 'Check3').uncheck();
      await page.reload();
      await page.waitForSelector('html[data-ready="true"]');
      assert.equal(await box(page, 'Check1').isChecked(), true);
      assert.equal(await box(page, 'Check3').isChecked(), false);
      assert.equal(await box(page, 'Check2').isChecked(), true);

      const bytes = [...readFileSync(join(configurations, 'exces-de-b.C11'))];
      const transfer = await page.evaluateHandle((data) => {
        const dt = new DataTransfer();
        dt.items.add(new File([new Uint8Array(data)], 'exces-de-b.C11'));
        return dt;
      }, bytes);
      await page.dispatchEvent('body', 'drop', { dataTransfer: transfer });
      await page.waitForFunction(() => document.title.endsWith('exces-de-b.C11'));
      assert.equal(await box(page, 'Text1_1').inputValue(), '600');
    });
  });

  test('"Agrandir" shows the vessel at twice the size; "Fermer" asks, then stops the run', async () => {
    await withPage({ clock: true }, async (page) => {
      await control(page, 'Comloupe').click();
      const loupe = page.getByRole('dialog', { name: 'Agrandissement du récipient' });
      await loupe.waitFor();
      const size = await loupe.locator('canvas').evaluate((c) => {
        const box = c.getBoundingClientRect();
        return [Math.round(box.width), Math.round(box.height), c.width / c.height];
      });
      assert.deepEqual(size, [786, 314, 786 / 314]);
      await page.keyboard.press('Escape');
      await loupe.waitFor({ state: 'detached' });

      await control(page, 'Command1').click();
      const question = page.getByRole('alertdialog');
      await question.waitFor();
      assert.equal(await question.locator('p').textContent(), 'Quitter vraiment Molvane chimique ?');
      await question.getByRole('button', { name: 'Annuler' }).click();
      await page.clock.runFor(1000);
      const running = await control(page, 'Label1').textContent();
      await page.clock.runFor(1000);
      assert.notEqual(await control(page, 'Label1').textContent(), running);

      await control(page, 'Command1').click();
      await question.getByRole('button', { name: 'OK' }).click();
      await page.clock.runFor(300);
      const stopped = await control(page, 'Label1').textContent();
      await page.clock.runFor(2000);
      assert.equal(await control(page, 'Label1').textContent(), stopped);
    });
  });

  test('the spreadsheet dialect starts with its mark and its heading', async () => {
    await withPage({ clock: true }, async (page) => {
      await page.clock.runFor(1000);
      const csv = await downloadOf(page, async () => {
        await control(page, 'Command4').click();
        await page.locator('[data-item="exportcsv"]').click();
        await page.getByRole('dialog').getByRole('button', { name: 'OK' }).click();
      });
      assert.equal(csv.name, 'mesures.csv');
      assert.deepEqual([...csv.bytes.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
      assert.match(csv.bytes.toString('utf8'), /;/);
    });
  });
});
