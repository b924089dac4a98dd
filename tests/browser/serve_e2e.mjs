// End to end in Debian's chromium: orbe-terminal serve on a small sample
// market, driven as a person would through the page. Exit 77 (skipped) when
// chromium or playwright-core is missing.
//   node serve_e2e.mjs BIN_DIR
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';

const CHROMIUM = '/usr/bin/chromium';
const bin = process.argv[2];
const here = new URL('.', import.meta.url).pathname;
const core = join(here, 'node_modules/playwright-core/index.mjs');
if (!existsSync(CHROMIUM) || !existsSync(core)) {
  console.log('skipped: needs ' + CHROMIUM + ' and playwright-core (make deps)');
  process.exit(77);
}
const { chromium } = await import(core);
const work = mkdtempSync(join(tmpdir(), 'orbe-serve-e2e-'));
const children = [];
const failures = [];

// Starts a program and resolves with the first line of its output that matches.
function start(program, args, pattern) {
  const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'inherit'] });
  children.push(child);
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(program + ' did not start')), 60000);
    const lines = createInterface({ input: child.stdout });
    const found = {};
    lines.on('line', line => {
      for (const [name, re] of Object.entries(pattern)) {
        const m = line.match(re);
        if (m) found[name] = m[1];
      }
      if (Object.keys(found).length === Object.keys(pattern).length) {
        clearTimeout(timer);
        resolve(found);
      }
    });
    child.on('exit', code => reject(new Error(program + ' exited with ' + code)));
  });
}

// One case; whatever it left open is closed after it, so that the next
// case starts from the start page alone.
async function check(page, name, run) {
  const began = Date.now();
  try {
    await run();
    console.log('ok   ' + name + ' (' + (Date.now() - began) + ' ms)');
  } catch (e) {
    failures.push(name);
    console.log('FAIL ' + name + ': ' + e.message.split('\n')[0]);
    await page.screenshot({ path: join(tmpdir(), 'orbe-serve-e2e-' + name.split(':')[0].replace(/\W+/g, '-') + '.png') }).catch(() => {});
  }
  for (let n = 0; n < 20 && await page.locator('section.view').count() > 0; ++n) {
    await page.locator('section.view button.close').last().click().catch(() => {});
    await page.waitForTimeout(100);
  }
}

function expect(condition, what) {
  if (!condition) throw new Error(what);
}

async function startServe() {
  const db = join(work, 'market.db');
  const made = spawnSync(join(bin, 'orbe-dataserver'), ['--make-sample', db, '--scale', '0.02'], { stdio: 'ignore' });
  expect(made.status === 0, 'the sample market was not made');
  const server = await start(join(bin, 'orbe-dataserver'),
                             ['--db', db, '--port', '0', '--file-port', '0', '--log-level', 'warn'],
                             { data: /^listening on (\S+)/, files: /^file server listening on (\S+)/ });
  const { url } = await start(join(bin, 'orbe-terminal'),
                              ['serve', '--port', '0', '--server', server.data, '--files', server.files,
                               '--market', db, '--home', join(work, 'home')],
                              { url: /^serving on (\S+)/ });
  return url;
}

let browser;
try {
  // A server already running when set (while working on the page).
  const url = process.env.ORBE_SERVE_URL || await startServe();
  browser = await chromium.launch({ executablePath: CHROMIUM, args: ['--no-sandbox'] });
  const context = await browser.newContext({ viewport: { width: 1700, height: 1100 }, acceptDownloads: true });
  const page = await context.newPage();
  page.on('pageerror', e => failures.push('page error: ' + e.message));
  await page.goto(url);
  await page.waitForSelector('body[data-session]');
  const view = n => page.locator('section.view').nth(n);
  const status = n => view(n).locator('.status');

  await check(page, 'screening: a board checked, a scheme loaded, run, the summary read', async () => {
    await page.click('button[data-open=screen]');
    const screen = view(0);
    // A leaf by its own text (a branch's text holds its children's).
    const leaf = text => screen.locator('li[data-item]').filter({ hasText: new RegExp('^[☐☑▣]? ?' + text + '$') });
    // The boards checked last time are kept: start from an unchecked box.
    const box = leaf('中小企业').locator('> .box');
    await box.waitFor();
    if ((await box.textContent()).includes('☑')) {
      await box.click();
      await leaf('中小企业').locator('> .box', { hasText: '☐' }).waitFor();
    }
    await box.click();
    await leaf('中小企业').locator('> .box', { hasText: '☑' }).waitFor();
    // A right click on a system indicator opens the tree's pop-up menu; a pick closes it.
    const branch = name => screen.locator('li[data-item]').filter({ hasText: new RegExp('^[▸▾] ' + name) });
    for (const name of ['财务', '利润表']) {
      await branch(name).locator('> .tog').click();
      await screen.locator('li[data-item]').filter({ hasText: new RegExp('^▾ ' + name) }).waitFor();
    }
    const indicator = branch('利润表').locator('ul > li').first();
    await indicator.click({ button: 'right' });
    const menu = page.locator('#menu');
    await menu.waitFor();
    expect((await menu.textContent()).includes('指标说明'), 'the menu offers 指标说明');
    await menu.locator('div', { hasText: '指标说明' }).click();
    await menu.waitFor({ state: 'detached' });
    // The description it opens is a dialog panel or a notice; a panel is closed.
    await page.waitForTimeout(300);
    for (const close of await page.locator('section.view.dialog button.close').all()) await close.click();
    await screen.locator('.tab', { hasText: '系统方案' }).click();
    await leaf('低市盈率').dblclick();
    await screen.locator('td[data-r]', { hasText: '市盈率' }).first().waitFor();
    await screen.locator('button', { hasText: '执行选股' }).click();
    await page.waitForFunction(() => !/总数：0，/.test(document.querySelector('section.view .status').textContent),
                               null, { timeout: 60000 });
    const summary = await status(0).textContent();
    expect(/选中数量：\d+，总数：[1-9]\d*，选中比例：[\d.]+%/.test(summary), 'summary line: ' + summary);
  });

  await check(page, 'report: term changed, a pop-up cell opened, the .xlsx exported', async () => {
    await page.selectOption('[data-feature=report] select[name=report]', 'balance_sheet.ini');
    await page.click('button[data-open=report]');
    const report = view(0);
    await page.waitForFunction(() => document.querySelector('section.view .status')?.textContent === '就绪',
                               null, { timeout: 60000 });
    const term = report.locator('select.combo').first();
    const terms = await term.locator('option').allTextContents();
    expect(terms.length > 1, 'the report offers terms: ' + terms);
    const before = await report.locator('.live').innerHTML();
    await term.selectOption({ index: 1 });
    await page.waitForFunction(old => document.querySelector('section.view .live').innerHTML !== old &&
                                      document.querySelector('section.view .status').textContent === '就绪',
                               before, { timeout: 60000 });
    expect(await term.evaluate(s => s.selectedIndex) === 1, 'the term shown is the one picked');
    // The second list's first row opens the period's pop-up.
    await report.locator('table.g').nth(1).locator('td[data-r="1"]').first().click();
    const dialog = page.locator('section.view.dialog');
    await dialog.waitFor({ timeout: 60000 });
    await dialog.locator('td[data-r]').first().waitFor();
    await dialog.locator('button.close').click();
    await dialog.waitFor({ state: 'detached' });
    const [download] = await Promise.all([page.waitForEvent('download'),
                                          report.locator('a[data-format=xlsx]').click()]);
    const saved = join(work, 'report.xlsx');
    await download.saveAs(saved);
    expect(readFileSync(saved).subarray(0, 2).toString() === 'PK', 'the download is an .xlsx (zip) file');
  });

  await check(page, 'script page: the combo changed, the grid refreshed', async () => {
    await page.selectOption('[data-feature=script] select[name=script]', 'security_picker.py');
    await page.click('button[data-open=script]');
    const script = view(0);
    const combo = script.locator('select.combo');
    await combo.waitFor();
    await page.waitForFunction(() => [...document.querySelectorAll('section.view td[data-c="1"]')]
                                          .some(td => /\d/.test(td.textContent)), null, { timeout: 30000 });
    const grid = () => script.locator('td[data-c="1"]').allTextContents();
    const before = (await grid()).join('|');
    const options = await combo.locator('option').count();
    expect(options > 2, 'the combo offers securities');
    await combo.selectOption({ index: 2 });
    await page.waitForFunction(old => [...document.querySelectorAll('section.view td[data-c="1"]')]
                                          .map(td => td.textContent).join('|') !== old, before, { timeout: 30000 });
    expect(await combo.evaluate(s => s.selectedIndex) === 2, 'the combo shows the pick');
  });

  await check(page, 'topic tree: a branch checked, the selection read', async () => {
    await page.click('button[data-open=topics][data-kind=zq]');
    const tree = view(0);
    const branch = tree.locator('li[data-item]', { has: page.locator('> .tog') }).first();
    await branch.waitFor();
    await branch.locator('> .box').click();
    await page.waitForFunction(() => /已选 [1-9]/.test(document.querySelector('section.view .status').textContent),
                               null, { timeout: 30000 });
    expect(/已选 \d+: \S+/.test(await status(0).textContent()), 'the selection names codes');
  });
} catch (e) {
  failures.push(e.message);
  console.log('FAIL ' + e.message);
} finally {
  if (browser) await browser.close();
  // The front end first, then the data service it talks to; each waited for.
  for (const child of children.reverse()) {
    const exited = child.exitCode !== null ? Promise.resolve() : new Promise(r => child.once('exit', r));
    child.kill('SIGTERM');
    await Promise.race([exited, new Promise(r => setTimeout(r, 10000))]);
    // A clean stop: every window destroyed, nothing reported by a sanitizer.
    if (child.exitCode !== 0) failures.push(child.spawnfile + ' exited with ' + child.exitCode + ' ' + child.signalCode);
  }
  if (failures.length) console.log('FAIL ' + failures.join('; '));
  rmSync(work, { recursive: true, force: true });
}
process.exit(failures.length === 0 ? 0 : 1);
