'use strict';
// The extension's glue against a fake vscode module and the real zunrunc:
// what activation registers, diagnostics on a document, hovers and
// signature help at a position.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const fake = require('./fake-vscode');
const gen = require('../../generate');
const { readDocs } = require('../../build');
const { zunrunc } = require('../../test/paths');

const { vscode, recorded, settings } = fake.createFake();
fake.install(vscode);
const extension = require('../src/extension');

// An installed extension's folder: its data as the build makes it from the fixture manual.
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zunscript-ext-'));
const list = gen.parseList(execFileSync(zunrunc(), ['--list'], { encoding: 'utf8' }));
const { builtinFiles, keywordsText } = readDocs(path.join(__dirname, 'fixtures', 'docs'));
fs.mkdirSync(path.join(folder, 'data'));
fs.writeFileSync(path.join(folder, 'data', 'manual.json'), JSON.stringify(gen.hoverData(list, gen.readManual(builtinFiles, keywordsText, list, { allowMissing: true }))));
test.after(() => fs.rmSync(folder, { recursive: true, force: true }));

settings.zunruncPath = zunrunc();
const context = { extensionPath: folder, subscriptions: [] };
const api = extension.activate(context);

test('activation registers what package.json contributes, for the language', () => {
  const manifest = require('../package.json');
  assert.deepStrictEqual(Object.keys(recorded.commands).sort(), manifest.contributes.commands.map((c) => c.command).sort());
  for (const kind of ['hover', 'signature', 'folding']) assert.deepStrictEqual(recorded.providers[kind].selector, { language: 'zunscript' }, kind);
  assert.deepStrictEqual(recorded.providers.signature.triggers, ['(', ',']);
  assert.deepStrictEqual(manifest.activationEvents, ['onLanguage:zunscript']);
  assert.strictEqual(manifest.contributes.languages[0].id, 'zunscript');
});

test('a check puts each error at its range, with zunrunc as its source', async () => {
  const doc = fake.document('var $s = "é€😀";\r\n$t = "bad\\q";\r\n');
  assert.strictEqual(await api.checker.check(doc), 1);
  const [d] = recorded.diagnostics.get(doc.uri.toString());
  assert.deepStrictEqual([d.range.start, d.range.end], [new fake.Position(1, 10), new fake.Position(1, 11)]);
  assert.deepStrictEqual([d.message, d.source, d.severity], ['Unknown token:q', 'zunrunc', vscode.DiagnosticSeverity.Error]);
  doc.setText('print("fixed");');
  assert.strictEqual(await api.checker.check(doc), 0);
  assert.deepStrictEqual(recorded.diagnostics.get(doc.uri.toString()), []);
});

test('a check of a text that changed meanwhile is dropped', async () => {
  const doc = fake.document('$a = "\\q";', { fsPath: '/tmp/changing.zunscript' });
  const pending = api.checker.check(doc);
  doc.setText('$a = 1;');
  assert.strictEqual(await pending, null);
  assert.strictEqual(recorded.diagnostics.has(doc.uri.toString()), false);
});

test('typing checks the document after a pause; other languages and schemes are left alone', async () => {
  const doc = fake.document('/* open', { fsPath: '/tmp/typed.zunscript' });
  const other = fake.document('/* open', { fsPath: '/tmp/a.txt', languageId: 'plaintext' });
  const diff = fake.document('/* open', { fsPath: '/tmp/b.zunscript', scheme: 'git' });
  for (const d of [doc, other, diff]) vscode.workspace.onDidChangeTextDocument.fire({ document: d });
  for (let waited = 0; !recorded.diagnostics.has(doc.uri.toString()) && waited < 5000; waited += 50) await new Promise((r) => setTimeout(r, 50));
  assert.deepStrictEqual(recorded.diagnostics.get(doc.uri.toString()).map((d) => d.message), ['*\\ expected']);
  assert.strictEqual(recorded.diagnostics.has(other.uri.toString()), false);
  assert.strictEqual(recorded.diagnostics.has(diff.uri.toString()), false);
  vscode.workspace.onDidCloseTextDocument.fire(doc);
  assert.strictEqual(recorded.diagnostics.has(doc.uri.toString()), false);
});

test('hover: the word at the position, trusted to run only the help command', () => {
  const doc = fake.document('print(strsub($s, 1));\n// strsub\n$x = SW_SHOW;');
  const hover = recorded.providers.hover.provider.provideHover(doc, new fake.Position(0, 8));
  assert.match(hover.contents.value, /^```zunscript\nstrsub\(text, from \[, to\]\) → string/);
  assert.deepStrictEqual(hover.contents.isTrusted, { enabledCommands: ['zunrun.showHelp'] });
  assert.deepStrictEqual([hover.range.start, hover.range.end], [new fake.Position(0, 6), new fake.Position(0, 12)]);
  assert.strictEqual(recorded.providers.hover.provider.provideHover(doc, new fake.Position(1, 5)), null);
  assert.match(recorded.providers.hover.provider.provideHover(doc, new fake.Position(2, 6)).contents.value, /SW_SHOW = 5/);
});

test('signature help: forms as labels, parameters as offsets into them', () => {
  const doc = fake.document('print(strsub($s, 1, ');
  const help = recorded.providers.signature.provider.provideSignatureHelp(doc, new fake.Position(0, 20));
  const [sig] = help.signatures;
  assert.strictEqual(sig.label, 'strsub(text, from [, to]) → string');
  assert.deepStrictEqual(sig.parameters.map((p) => sig.label.slice(...p.label)), ['text', 'from', 'to']);
  assert.deepStrictEqual([help.activeSignature, help.activeParameter], [0, 2]);
  assert.strictEqual(recorded.providers.signature.provider.provideSignatureHelp(fake.document('$a = (1, '), new fake.Position(0, 9)), null);
});

test('"Check script" on a clean script says so; on a broken one shows the problems', async () => {
  vscode.window.activeTextEditor = { document: fake.document('print(1);', { fsPath: '/tmp/clean.zunscript' }) };
  recorded.messages.length = 0;
  await recorded.commands['zunrun.checkScript']();
  assert.deepStrictEqual(recorded.messages, [['information', 'ZUN Script: zunrunc --check found no error.']]);
  vscode.window.activeTextEditor = { document: fake.document('"open', { fsPath: '/tmp/broken.zunscript' }) };
  recorded.executed.length = 0;
  await recorded.commands['zunrun.checkScript']();
  assert.deepStrictEqual(recorded.executed, [['workbench.actions.view.problems']]);
});

test('without zunrunc: one warning that names where it looked, and no check', async () => {
  settings.zunruncPath = path.join(folder, 'no-such-zunrunc');
  recorded.messages.length = 0;
  const doc = fake.document('"open', { fsPath: '/tmp/missing.zunscript' });
  assert.strictEqual(await api.checker.check(doc), null);
  assert.strictEqual(await api.checker.check(doc), null);
  assert.strictEqual(recorded.messages.length, 1);
  assert.match(recorded.messages[0][1], /zunrunc was not found \(looked in the setting zunrun\.zunruncPath/);
  settings.zunruncPath = zunrunc();
});

test('a zunrunc that fails outside the check format still shows an error', async () => {
  // A program that prints no error line and ends with status 2, as zunrunc does when it cannot read its input.
  const failing = path.join(folder, 'failing');
  fs.writeFileSync(failing, '#!/bin/sh\necho "Error" >&2\nexit 2\n', { mode: 0o755 });
  settings.zunruncPath = failing;
  const doc = fake.document('print(1);', { fsPath: '/tmp/failing.zunscript' });
  assert.strictEqual(await api.checker.check(doc), 1);
  assert.deepStrictEqual(recorded.diagnostics.get(doc.uri.toString()).map((d) => [d.message, d.range.start.line]), [['Error', 0]]);
  settings.zunruncPath = zunrunc();
});

test('"Run script" saves the script and runs it in zunrunc in a terminal, quoted', async (t) => {
  if (process.platform === 'win32') return t.skip('on Windows it starts zunrun.exe');
  let saved = false;
  const doc = fake.document('print(1);', { fsPath: "/tmp/my script's.zunscript" });
  Object.assign(doc, { isDirty: true, save: async () => (saved = true) });
  vscode.window.activeTextEditor = { document: doc };
  await recorded.commands['zunrun.runScript']();
  assert.ok(saved);
  const [terminal] = recorded.terminals;
  assert.deepStrictEqual(terminal.options, { name: 'ZUN Script', cwd: '/tmp' });
  assert.deepStrictEqual(terminal.sent, [`${zunrunc()} '/tmp/my script'\\''s.zunscript'`]);
  await recorded.commands['zunrun.runScript']();
  assert.strictEqual(recorded.terminals.length, 1, 'the terminal is used again');
});

test('"Full entry" opens what zunrunc --help NAME prints', async () => {
  recorded.executed.length = 0;
  recorded.commands['zunrun.showHelp']('strsub');
  for (let waited = 0; !recorded.executed.length && waited < 5000; waited += 20) await new Promise((r) => setTimeout(r, 20));
  const [[what, opened]] = recorded.executed;
  assert.strictEqual(what, 'showTextDocument');
  assert.deepStrictEqual(opened, { content: execFileSync(zunrunc(), ['--help', 'strsub'], { encoding: 'utf8' }), language: 'plaintext' });
});
