// A person's session with `fmhost serve`, played in Debian's headless Chromium through
// Playwright: the page shows the dialog, a click reaches the text field, typing fills it, a
// click on OK closes it, and the script's printed result appears on the page and on fmhost's
// standard output. Also: a calculation from the page's box, a second tab refused, and the host
// ending cleanly once the page is closed.
//
//   FMHOST=build/fmhost/fmhost PLUGIN=build/plugin/Brelka.so OUT_DIR=build/fmhost/browser \
//     node --test fmhost/tests/browser/live_preview.test.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, writeFileSync, rmSync } from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const FMHOST = process.env.FMHOST;
const PLUGIN = process.env.PLUGIN;
const OUT_DIR = process.env.OUT_DIR || os.tmpdir();
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
// Every wait is bounded: a fault fails the test with a message instead of hanging it.
const STEP_MS = 20000;

assert.ok(FMHOST && PLUGIN, 'set FMHOST and PLUGIN to the fmhost program and the plug-in to load');

mkdirSync(OUT_DIR, { recursive: true });
const work = mkdtempSync(path.join(os.tmpdir(), 'fmhost-browser-'));
process.on('exit', () => rmSync(work, { recursive: true, force: true }));

const DIALOG = 'Brelka_InputDialog ( "Who is there?" ; "OK¶Cancel" ; "text¶Name:" ; "" )';

function script(name, text) {
  const file = path.join(work, name);
  writeFileSync(file, text);
  return file;
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// The layout of a dialog (`@dump`) as the scripted host reports it for the same call.
function dumpOf(name, setup, call) {
  const file = script(`${name}.fmscript`, `${setup}\n@dump\n@tap "Cancel"\n${call}\n`);
  let stdout;
  try {
    stdout = execFileSync(FMHOST, ['--json', '--plugin', PLUGIN, file], { encoding: 'utf8', timeout: STEP_MS });
  } catch (e) {
    stdout = e.stdout || '';  // the dump was printed even if the run ended badly afterwards
  }
  const line = stdout.split('\n').find(l => l.startsWith('{"dump"'));
  assert.ok(line, `fmhost printed no @dump line:\n${stdout}`);
  return { dump: JSON.parse(line).dump, line };
}

// Where the dialog's panel, its name field and its buttons are, in screen points.
function dialogLayout() {
  const { dump, line } = dumpOf('layout', 'Brelka_Set ( "dialog-title" ; "Browser check" )', DIALOG);
  const [px, py] = dump.panel;
  const centre = ([x, y, w, h]) => ({ x: px + x + w / 2, y: py + y + h / 2 });
  const ok = dump.buttons.find(b => b.title === 'OK');
  assert.ok(ok, `no OK button in ${line}`);
  const field = dump.sections.find(s => Object.values(s.texts || {}).includes('Name:') && s.class !== 'CustomMessage');
  let fieldPoint = null;
  if (field) {
    // The input sits right of its title: aim at the section's right part.
    const [x, y, w, h] = field.frame;
    fieldPoint = { x: px + x + w * 0.75, y: py + y + h / 2 };
  } else {
    // A host whose dump leaves the field out: the sections are stacked, so the field is the
    // one between the message and the button bar.
    const message = dump.sections.find(s => s.class === 'CustomMessage');
    assert.ok(message, `no message section in ${line}`);
    const messageBottom = message.frame[1] + message.frame[3];
    const barTop = dump.buttons[0].frame[1];
    fieldPoint = { x: px + dump.panel[2] * 0.75, y: py + (messageBottom + barTop) / 2 };
  }
  return { screen: dump.screen, ok: centre(ok.frame), field: fieldPoint };
}

// fmhost serve, with its output collected and its end awaited.
function serve(port, file) {
  const child = spawn(FMHOST, ['serve', '--port', String(port), '--plugin', PLUGIN, file], { stdio: ['ignore', 'pipe', 'pipe'] });
  const run = { child, stdout: '', stderr: '' };
  child.stdout.on('data', d => { run.stdout += d; });
  child.stderr.on('data', d => { run.stderr += d; });
  run.exited = new Promise(resolve => child.on('exit', (code, signal) => resolve({ code, signal })));
  run.ready = new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`fmhost serve did not start:\n${run.stderr}`)), STEP_MS);
    child.stderr.on('data', () => {
      if (run.stderr.includes('live preview at http://127.0.0.1:')) { clearTimeout(timer); resolve(); }
    });
    child.on('exit', code => { clearTimeout(timer); reject(new Error(`fmhost serve exited (${code}):\n${run.stderr}`)); });
  });
  return run;
}

async function within(promise, what) {
  let timer;
  const timeout = new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(`timed out: ${what}`)), STEP_MS); });
  try { return await Promise.race([promise, timeout]); } finally { clearTimeout(timer); }
}

// Waits until the page shows the newest picture the host has sent and no newer one has come
// for a moment: the screen has caught up with the input so far.
async function settled(page) {
  let last = null, since = Date.now();
  const deadline = Date.now() + STEP_MS;
  for (;;) {
    const { frame, latest } = await page.locator('#screen').evaluate(e => ({ ...e.dataset }));
    if (frame !== latest || frame !== last) { last = frame; since = Date.now(); }
    else if (Date.now() - since >= 600) return;
    if (Date.now() > deadline) throw new Error('the screen did not settle');
    await page.waitForTimeout(100);
  }
}

// The page's point for a screen point.
async function toPage(page, point, screen) {
  const box = await page.locator('#frame').boundingBox();
  return { x: box.x + point.x * box.width / screen[0], y: box.y + point.y * box.height / screen[1] };
}

// A browser with a fresh profile and a page of `fmhost serve` on `port`.
async function openBrowser(port) {
  const userDataDir = mkdtempSync(path.join(work, 'chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: CHROMIUM, headless: true, args: CHROMIUM_FLAGS, timeout: STEP_MS,
    viewport: { width: 1500, height: 1000 }
  });
  context.setDefaultTimeout(STEP_MS);
  const page = context.pages()[0] || await context.newPage();
  await page.goto(`http://127.0.0.1:${port}/`);
  return { context, page };
}

test('a person fills in a dialog in the browser and the script goes on with the answer', { timeout: 120000 }, async () => {
  const layout = dialogLayout();
  const port = await freePort();
  const file = script('live.fmscript', [
    'Brelka_Set ( "dialog-title" ; "Browser check" )',
    DIALOG,
    '"Pressed " & Brelka_Get ( "dialog-button" ) & ", name " & Brelka_Get ( "dialog-value" ; 1 )',
    ''].join('\n'));
  const host = serve(port, file);
  let context;
  try {
    await host.ready;
    const opened = await openBrowser(port);
    context = opened.context;
    const page = opened.page;

    // The dialog is on screen once the host says so and a picture has arrived.
    await page.locator('#status', { hasText: 'A dialog is waiting for you' }).waitFor();
    await page.waitForFunction(() => Number(document.querySelector('#screen').dataset.frame) > 0);

    // A click into the name field, typing, and a click on OK.
    const field = await toPage(page, layout.field, layout.screen);
    await page.mouse.click(field.x, field.y);
    await page.keyboard.type('Ann Lee');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('e');
    await page.locator('#keyboard').waitFor({ state: 'visible' });
    await settled(page);
    await page.screenshot({ path: path.join(OUT_DIR, 'live-preview-typed.png') });
    // The first press of OK only ends the editing (the keyboard goes down); the second closes.
    await page.locator('#keyboard').waitFor({ state: 'visible' });
    const ok = await toPage(page, layout.ok, layout.screen);
    await page.mouse.click(ok.x, ok.y);
    await page.locator('#keyboard').waitFor({ state: 'hidden' });
    await page.mouse.click(ok.x, ok.y);

    // The script goes on: its next result appears on the page.
    await page.locator('#log .line.out', { hasText: 'Pressed 1, name Ann Lee' }).waitFor();
    await page.locator('#status', { hasText: 'Ready' }).waitFor();
    await settled(page);
    await page.screenshot({ path: path.join(OUT_DIR, 'live-preview.png') });

    // A reload keeps the session: the host waits for the page to come back and sends the log
    // again.
    await page.reload();
    await page.locator('#log .line.out', { hasText: 'Pressed 1, name Ann Lee' }).waitFor();
    await page.locator('#status', { hasText: 'Ready' }).waitFor();

    // A further calculation typed on the page runs in the same host, with the same state.
    await page.fill('#calc', 'Brelka_Set ( "dialog-title" ; "Second" ) & " / " & Brelka_Get ( "dialog-value" ; 1 )');
    await page.click('#evaluate');
    await page.locator('#log .line.out', { hasText: 'Second / Ann Lee' }).waitFor();
    // Another dialog opened from the page: Return in its last field presses the default button.
    await page.fill('#calc', `${DIALOG.replace('Who is there?', 'And now?')} & " " & Brelka_Get ( "dialog-value" ; 1 )`);
    await page.click('#evaluate');
    await page.locator('#status', { hasText: 'A dialog is waiting for you (page #2' }).waitFor();
    await page.mouse.click(field.x, field.y);
    await page.keyboard.type('Bo');
    await page.keyboard.press('Enter');
    await page.locator('#log .line.out', { hasText: '0 Bo' }).waitFor();
    // A calculation that cannot run is refused on the page, with the reason.
    await page.fill('#calc', 'Length ( "unclosed ');
    await page.click('#evaluate');
    await page.locator('#evalError', { hasText: 'never balances' }).waitFor();

    // A second tab does not take over the session.
    const second = await context.newPage();
    await second.goto(`http://127.0.0.1:${port}/`);
    await second.locator('body[data-state="refused"]').waitFor();
    assert.match(await second.locator('#status').innerText(), /another page already shows this session/);
    await second.close();

    // Closing the page ends the host, cleanly.
    await page.close();
    const { code, signal } = await within(host.exited, 'fmhost serve to end after the page was closed');
    assert.equal(signal, null, host.stderr);
    assert.equal(code, 0, host.stderr);
    assert.match(host.stderr, /the page was closed; ending/);
    assert.deepEqual(host.stdout.trim().split('\n'), [
      'Browser check', '0', 'Pressed 1, name Ann Lee', 'Second / Ann Lee', '0 Bo']);
  } finally {
    if (context) await context.close().catch(() => {});
    if (host.child.exitCode === null) host.child.kill('SIGKILL');
  }
});

test('the wheel scrolls a list and a click picks a row that was out of sight', { timeout: 120000 }, async () => {
  const LIST = 'Brelka_InputDialog ( "Pick" ; "OK¶Cancel" ; "list¶Colour:¶lines=3" ; "a¶b¶c¶d¶e¶f¶g¶h" ; "" )';
  const { dump, line } = dumpOf('list-layout', '', LIST);
  const list = dump.sections.find(s => s.class === 'CustomList');
  assert.ok(list, `no list in ${line}`);
  const [px, py] = dump.panel;
  const [lx, ly, lw, lh] = list.frame;
  // The rows are in the section's right part; the top row is 40 points high.
  const inList = { x: px + lx + lw * 0.7, y: py + ly + lh / 2 };
  const topRow = { x: inList.x, y: py + ly + 20 };
  const ok = dump.buttons.find(b => b.title === 'OK');
  const okPoint = { x: px + ok.frame[0] + ok.frame[2] / 2, y: py + ok.frame[1] + ok.frame[3] / 2 };

  const port = await freePort();
  const host = serve(port, script('list.fmscript', `${LIST}\nBrelka_Get ( "dialog-text" ; 1 )\n`));
  let context;
  try {
    await host.ready;
    const opened = await openBrowser(port);
    context = opened.context;
    const page = opened.page;
    await page.locator('#status', { hasText: 'A dialog is waiting for you' }).waitFor();
    await settled(page);
    const at = await toPage(page, inList, dump.screen);
    await page.mouse.move(at.x, at.y);
    // Far past the end: the list stops at its last rows, f, g and h.
    await page.mouse.wheel(0, 1000);
    await settled(page);
    const row = await toPage(page, topRow, dump.screen);
    await page.mouse.click(row.x, row.y);
    const okAt = await toPage(page, okPoint, dump.screen);
    await page.mouse.click(okAt.x, okAt.y);
    await page.locator('#log .line.out', { hasText: /^f$/ }).waitFor();
    await page.close();
    const { code } = await within(host.exited, 'fmhost serve to end after the page was closed');
    assert.equal(code, 0, host.stderr);
    assert.deepEqual(host.stdout.trim().split('\n'), ['0', 'f']);
  } finally {
    if (context) await context.close().catch(() => {});
    if (host.child.exitCode === null) host.child.kill('SIGKILL');
  }
});
