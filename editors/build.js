#!/usr/bin/env node
'use strict';
// Builds the editor files:
//
//   node editors/build.js --zunrunc PATH [--docs DIR] [--out DIR] [--no-vsix] [--allow-missing]
//
//   OUT/vscode/                      the extension as it is packaged (VS Code can run it from here)
//   OUT/zunscript-VERSION.vsix       the packaged extension (VERSION from the file at the root)
//   OUT/notepad++/zunscript.xml      the Notepad++ language file
//
// The names come from `zunrunc --list`, the hovers from DOCS (docs/ by default):
// every built-in and keyword needs its entry there unless --allow-missing.
// OUT is build/editors by default. The .vsix is made by @vscode/vsce from
// editors/vscode/node_modules (`npm ci` there first).
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const gen = require('./generate');

const ROOT = path.resolve(__dirname, '..');
const SOURCE = path.join(__dirname, 'vscode');
// What the extension is made of besides the generated files.
const PACKAGED = ['package.json', 'README.md', 'language-configuration.json', 'snippets', 'src'];

function parseArgs(argv) {
  const args = { docs: path.join(ROOT, 'docs'), out: path.join(ROOT, 'build', 'editors'), vsix: true, allowMissing: false };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === '--zunrunc') args.zunrunc = argv[++i];
    else if (a === '--docs') args.docs = argv[++i];
    else if (a === '--out') args.out = argv[++i];
    else if (a === '--no-vsix') args.vsix = false;
    else if (a === '--allow-missing') args.allowMissing = true;
    else throw new Error(`unknown argument ${a}`);
  }
  if (!args.zunrunc) throw new Error('--zunrunc PATH is needed (build/native/hosts/zunrunc)');
  return args;
}

function readVersion() {
  const version = fs.readFileSync(path.join(ROOT, 'VERSION'), 'utf8').trim();
  if (!/^\d+\.\d+\.\d+$/.test(version)) throw new Error(`VERSION holds "${version}", not MAJOR.MINOR.PATCH`);
  return version;
}

/** docs/builtins/*.md and docs/keywords.md as readManual takes them. */
function readDocs(docs) {
  const dir = path.join(docs, 'builtins');
  const files = fs.existsSync(dir) ? fs.readdirSync(dir).filter((f) => f.endsWith('.md')).sort() : [];
  const keywords = path.join(docs, 'keywords.md');
  return {
    builtinFiles: files.map((f) => ({ file: `builtins/${f}`, text: fs.readFileSync(path.join(dir, f), 'utf8') })),
    keywordsText: fs.existsSync(keywords) ? fs.readFileSync(keywords, 'utf8') : null,
  };
}

function writeJson(file, value) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, JSON.stringify(value, null, 1) + '\n');
}

/** Lays out OUT/vscode and OUT/notepad++; returns the staged folder. */
function stage(args, version) {
  const list = gen.parseList(execFileSync(args.zunrunc, ['--list'], { encoding: 'utf8' }));
  const { builtinFiles, keywordsText } = readDocs(args.docs);
  let manual;
  try {
    manual = gen.readManual(builtinFiles, keywordsText, list, { allowMissing: args.allowMissing });
  } catch (e) {
    throw new Error(`${args.docs}: ${e.message}`);
  }

  const staged = path.join(args.out, 'vscode');
  fs.rmSync(staged, { recursive: true, force: true });
  fs.mkdirSync(staged, { recursive: true });
  for (const item of PACKAGED) {
    const from = path.join(SOURCE, item);
    if (fs.existsSync(from)) fs.cpSync(from, path.join(staged, item), { recursive: true });
  }
  const manifest = JSON.parse(fs.readFileSync(path.join(SOURCE, 'package.json'), 'utf8'));
  manifest.version = version;
  delete manifest.devDependencies; // tools of the build, not of the extension
  writeJson(path.join(staged, 'package.json'), manifest);
  writeJson(path.join(staged, 'syntaxes', 'zunscript.tmLanguage.json'), gen.grammar(list));
  writeJson(path.join(staged, 'data', 'manual.json'), gen.hoverData(list, manual));

  fs.mkdirSync(path.join(args.out, 'notepad++'), { recursive: true });
  fs.writeFileSync(path.join(args.out, 'notepad++', 'zunscript.xml'), gen.notepadXml(list));
  return staged;
}

function packageVsix(staged, out, version) {
  const vsce = path.join(SOURCE, 'node_modules', '@vscode', 'vsce', 'vsce');
  if (!fs.existsSync(vsce)) throw new Error('@vscode/vsce is not installed: run `npm ci` in editors/vscode');
  const vsix = path.join(path.resolve(out), `zunscript-${version}.vsix`);
  fs.rmSync(vsix, { force: true });
  // The extension needs no npm package at run time; no repository or
  // licence file is published with it.
  execFileSync(process.execPath, [vsce, 'package', '--no-dependencies', '--allow-missing-repository', '--skip-license', '--out', vsix], {
    cwd: staged,
    stdio: ['ignore', 'ignore', 'inherit'],
  });
  return vsix;
}

function main() {
  const args = parseArgs(process.argv.slice(2));
  const version = readVersion();
  const staged = stage(args, version);
  const made = [staged, path.join(args.out, 'notepad++', 'zunscript.xml')];
  if (args.vsix) made.push(packageVsix(staged, args.out, version));
  console.log(made.join('\n'));
}

if (require.main === module) {
  try {
    main();
  } catch (e) {
    console.error(`editors/build.js: ${e.message}`);
    process.exit(1);
  }
}

module.exports = { readDocs, stage, packageVsix, readVersion };
