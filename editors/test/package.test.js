'use strict';
// The built extension: the .vsix holds what VS Code needs, and the generated
// grammar gives every scope the fixture scripts assert (vscode-tmgrammar-test).
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { execFileSync, spawnSync } = require('child_process');
const { ROOT, zunrunc } = require('./paths');

const VSCODE = path.join(__dirname, '..', 'vscode');
const out = fs.mkdtempSync(path.join(os.tmpdir(), 'zunscript-build-'));
test.after(() => fs.rmSync(out, { recursive: true, force: true }));

// The build as tools/zun package runs it, on the fixture manual.
const version = fs.readFileSync(path.join(ROOT, 'VERSION'), 'utf8').trim();
execFileSync(process.execPath, [path.join(__dirname, '..', 'build.js'), '--zunrunc', zunrunc(), '--docs', path.join(VSCODE, 'test', 'fixtures', 'docs'), '--out', out, '--allow-missing'], {
  stdio: ['ignore', 'ignore', 'inherit'],
});

/** The files of a zip archive by name. */
function unzip(file) {
  const zip = fs.readFileSync(file);
  const end = zip.lastIndexOf(Buffer.from([0x50, 0x4b, 0x05, 0x06]));
  assert.ok(end >= 0, 'a zip archive');
  const files = new Map();
  let at = zip.readUInt32LE(end + 16);
  for (let n = zip.readUInt16LE(end + 10); n > 0; n--) {
    assert.strictEqual(zip.readUInt32LE(at), 0x02014b50, 'a central directory entry');
    const [method, size, nameLength] = [zip.readUInt16LE(at + 10), zip.readUInt32LE(at + 20), zip.readUInt16LE(at + 28)];
    const name = zip.toString('utf8', at + 46, at + 46 + nameLength);
    const local = zip.readUInt32LE(at + 42);
    const data = local + 30 + zip.readUInt16LE(local + 26) + zip.readUInt16LE(local + 28);
    const raw = zip.subarray(data, data + size);
    files.set(name, method === 8 ? zlib.inflateRawSync(raw) : raw);
    at += 46 + nameLength + zip.readUInt16LE(at + 30) + zip.readUInt16LE(at + 32);
  }
  return files;
}

test('the .vsix: its version from VERSION, and every file package.json points at', () => {
  const files = unzip(path.join(out, `zunscript-${version}.vsix`));
  const text = (name) => {
    assert.ok(files.has(`extension/${name}`), `the .vsix holds ${name}`);
    return files.get(`extension/${name}`).toString('utf8');
  };
  const manifest = JSON.parse(text('package.json'));
  assert.strictEqual(manifest.version, version);
  assert.strictEqual(manifest.devDependencies, undefined);
  assert.match(files.get('extension.vsixmanifest').toString(), new RegExp(`Version="${version.replace(/\./g, '\\.')}"`));

  const { languages, grammars, snippets, commands, configuration } = manifest.contributes;
  assert.deepStrictEqual(languages.map((l) => [l.id, l.extensions]), [['zunscript', ['.zunscript']]]);
  const languageConfiguration = JSON.parse(text(languages[0].configuration.replace('./', '')));
  assert.deepStrictEqual(languageConfiguration.comments, { lineComment: '//', blockComment: ['/*', '*/'] });
  const grammar = JSON.parse(text(grammars[0].path.replace('./', '')));
  assert.strictEqual(grammar.scopeName, grammars[0].scopeName);
  assert.ok(Object.keys(JSON.parse(text(snippets[0].path.replace('./', '')))).length > 0);
  assert.deepStrictEqual(commands.map((c) => c.command).sort(), ['zunrun.checkScript', 'zunrun.runScript', 'zunrun.showHelp']);
  assert.deepStrictEqual(Object.keys(configuration.properties).sort(), ['zunrun.checkOnType', 'zunrun.zunruncPath']);

  // The extension and what it loads, as the source has them.
  for (const file of fs.readdirSync(path.join(VSCODE, 'src'))) assert.strictEqual(text(`src/${file}`), fs.readFileSync(path.join(VSCODE, 'src', file), 'utf8'));
  assert.ok(text(manifest.main.replace('./', '')));
  const data = JSON.parse(text('data/manual.json'));
  assert.strictEqual(data.builtins.strsub.summary, 'The part of a text between two positions, or the one character at a position.');
  assert.strictEqual(Object.keys(data.constants).length, 548);
  assert.match(text('readme.md'), /^# ZUN Script for Visual Studio Code/);
  for (const name of files.keys()) assert.doesNotMatch(name, /node_modules|\/test\//, name);
});

test('the Notepad++ file beside it', () => {
  assert.match(fs.readFileSync(path.join(out, 'notepad++', 'zunscript.xml'), 'utf8'), /<UserLang name="ZUN Script" ext="zunscript"/);
});

test('the grammar on the fixture scripts (vscode-tmgrammar-test)', () => {
  const tool = path.join(VSCODE, 'node_modules', 'vscode-tmgrammar-test', 'dist', 'unit.js');
  const run = spawnSync(process.execPath, [tool, '--compact', path.join(VSCODE, 'test', 'grammar', '*.zunscript')], { cwd: path.join(out, 'vscode'), encoding: 'utf8' });
  assert.strictEqual(run.status, 0, run.stdout + run.stderr);
  assert.match(run.stdout, /names\.zunscript/);
  assert.match(run.stdout, /tokens\.zunscript/);
});

test('the fixture scripts assert every scope the grammar gives', () => {
  const grammar = JSON.parse(fs.readFileSync(path.join(out, 'vscode', 'syntaxes', 'zunscript.tmLanguage.json'), 'utf8'));
  const scopes = new Set();
  JSON.stringify(grammar, (key, value) => {
    if (key === 'name' && typeof value === 'string' && value.endsWith('.zunscript')) scopes.add(value);
    return value;
  });
  const fixtures = fs.readdirSync(path.join(VSCODE, 'test', 'grammar')).map((f) => fs.readFileSync(path.join(VSCODE, 'test', 'grammar', f), 'utf8'));
  // Only what an assertion requires counts, not what it excludes after " - ".
  const asserted = fixtures.join('\n').split('\n').filter((l) => /^\/\/\s*(\^|<~*-)/.test(l)).map((l) => l.split(' - ')[0]).join(' ');
  const missing = [...scopes].filter((s) => !new RegExp(`[ ]${s.replace(/\./g, '\\.')}(?= |$)`, 'm').test(asserted));
  assert.ok(scopes.size >= 20, `${scopes.size} scopes`);
  assert.deepStrictEqual(missing, []);
});
