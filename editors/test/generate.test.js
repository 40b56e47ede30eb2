'use strict';
// The generator: reading `zunrunc --list` and the manual's entries, and what
// it makes of them.
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { execFileSync } = require('child_process');
const gen = require('../generate');
const { readDocs } = require('../build');
const { zunrunc } = require('./paths');

const FIXTURE_DOCS = path.join(__dirname, '..', 'vscode', 'test', 'fixtures', 'docs');
const realList = () => gen.parseList(execFileSync(zunrunc(), ['--list'], { encoding: 'utf8' }));

const SMALL_LIST = ['builtin\tstrsub\tStrings', 'builtin\tstrlen\tStrings', 'builtin\tArray\tArrays', 'constant\tSW_SHOW\t5\tSW_',
  'keyword\tif', 'keyword\tand', 'operator\t=', 'operator\t==', ''].join('\n');

test('the list: rows by kind, and what is no row fails', () => {
  const list = gen.parseList(SMALL_LIST);
  assert.deepStrictEqual(list.constants, [{ name: 'SW_SHOW', value: '5', group: 'SW_' }]);
  assert.deepStrictEqual(list.keywords, ['if', 'and']);
  assert.deepStrictEqual(list.operators, ['=', '==']);
  for (const bad of ['builtin\tstrsub', 'constant\tPI\t3.14', 'widget\tx', 'builtin\t\tStrings'])
    assert.throws(() => gen.parseList(`${bad}\n${SMALL_LIST}`), /line 1: unexpected row/, bad);
  assert.throws(() => gen.parseList('constant\tPI\t3\t\n'), /no built-ins/);
});

test("the real list: every built-in, the constants once each, and nothing the grammar has no scope for", () => {
  const list = realList();
  assert.strictEqual(list.builtins.length, 103);
  const names = list.constants.map((c) => c.name);
  assert.strictEqual(new Set(names).size, names.length);
  const grammar = JSON.stringify(gen.grammar(list)); // throws on an unknown keyword or operator
  for (const name of ['strsub', 'FileIsFolder', 'WinShowMenu', 'SW_SHOW', 'VK_F12', 'CSIDL_APPDATA']) assert.match(grammar, new RegExp(`[|:]${name}[|)]`));
});

test("the fixture manual: call forms, summaries joined over lines, links, and headings in examples skipped", () => {
  const { builtinFiles, keywordsText } = readDocs(FIXTURE_DOCS);
  const manual = gen.readManual(builtinFiles, keywordsText, gen.parseList(SMALL_LIST), { allowMissing: false });
  assert.deepStrictEqual(manual.builtins.strsub, {
    forms: [{ label: 'strsub(text, from [, to])', result: 'string' }],
    summary: 'The part of a text between two positions, or the one character at a position.',
    doc: 'builtins/strings.md#strsub',
  });
  assert.strictEqual(manual.builtins.strlen.summary, 'The number of characters in a text, counted in UTF-16 units.');
  assert.deepStrictEqual(manual.builtins.Array.forms.map((f) => f.label), ['Array()', 'Array(value, ...)']);
  assert.strictEqual(manual.builtins.Array.doc, 'builtins/arrays.md#array');
  assert.deepStrictEqual(manual.keywords.if.forms, [{ label: 'if (condition) statement [else statement]', result: '' }]);
  assert.deepStrictEqual(manual.keywords.and.forms, []);
  assert.match(manual.keywords.and.summary, /^Both conditions hold/);
});

// Each malformed entry, the message that must name its problem, and its line
// (3 unless given).
const MALFORMED = [
  ['no call form', '## strlen\n\nThe length.\n', /strlen: the first paragraph must be the call form/],
  ['prose in the form paragraph', '## strlen\n\n`strlen(text)` → int\nand more\n\nThe length.\n', /the first paragraph must be the call form/],
  ['no result type', '## strlen\n\n`strlen(text)`\n\nThe length.\n', /needs " → " and a result type/],
  ['an unknown result type', '## strlen\n\n`strlen(text)` → number\n\nThe length.\n', /not "number"/],
  ['another name in the form', '## strlen\n\n`strlength(text)` → int\n\nThe length.\n', /must start with "strlen\("/],
  ['no summary', '## strlen\n\n`strlen(text)` → int\n', /one plain sentence/],
  ['a table for a summary', '## strlen\n\n`strlen(text)` → int\n\n| a | b |\n', /one plain sentence/],
  ['a summary without its full stop', '## strlen\n\n`strlen(text)` → int\n\nThe length\n', /one plain sentence/],
  ['a heading that is no built-in', '## strlength\n\n`strlength(text)` → int\n\nThe length.\n', /"## strlength" is no built-in/],
  ['two entries', '## strlen\n\n`strlen(t)` → int\n\nA.\n\n## strlen\n\n`strlen(t)` → int\n\nA.\n', /a second entry for strlen/, 9],
];

test('malformed entries fail with the file, the line and the problem', async (t) => {
  const list = gen.parseList(SMALL_LIST);
  for (const [what, markdown, message, line = 3] of MALFORMED) {
    await t.test(what, () => {
      assert.throws(() => gen.readManual([{ file: 'builtins/strings.md', text: `# Strings\n\n${markdown}` }], null, list, { allowMissing: true }), (e) => {
        assert.match(e.message, message);
        assert.match(e.message, new RegExp(`builtins/strings\\.md:${line}: `));
        return true;
      });
    });
  }
});

test('every problem is named at once, missing entries too unless allowed', () => {
  const list = gen.parseList(SMALL_LIST);
  const files = [{ file: 'builtins/strings.md', text: '## strlen\n\nThe length.\n' }];
  assert.throws(() => gen.readManual(files, '## if\n\n`if (c) s`\n', list), (e) => {
    assert.match(e.message, /strings\.md:1: ## strlen: the first paragraph/);
    assert.match(e.message, /keywords\.md:1: ## if: the paragraph after the call form must be one plain sentence/);
    assert.match(e.message, /builtins\/\*\.md: no entry for strsub, strlen, Array/);
    assert.match(e.message, /keywords\.md: no entry for if, and/);
    return true;
  });
  assert.deepStrictEqual(gen.readManual([], null, list, { allowMissing: true }), { builtins: {}, keywords: {} });
});

test('anchors as the rendered help makes them', () => {
  const cases = [['strsub', 'strsub'], ['GetLastError', 'getlasterror'], ['if and else', 'if-and-else'], ['What "break" does!', 'what-break-does'], ['var_type', 'var_type']];
  for (const [heading, anchor] of cases) assert.strictEqual(gen.anchorOf(heading), anchor);
});

test('a keyword or operator the generator does not know fails the build', () => {
  assert.throws(() => gen.grammar(gen.parseList(SMALL_LIST.replace('keyword\tand', 'keyword\tunless'))), /keyword "unless"/);
  assert.throws(() => gen.grammar(gen.parseList(SMALL_LIST.replace('operator\t==', 'operator\t<>'))), /operator "<>"/);
});

/** The elements of an XML text, checked for nesting; throws where it is not well-formed. */
function xmlElements(xml) {
  const body = xml.replace(/^<\?xml[^>]*\?>/, '').replace(/<!--([\s\S]*?)-->/g, (all, text) => {
    if (text.includes('--')) throw new Error('"--" inside a comment');
    return '';
  });
  const open = [];
  const elements = [];
  for (const m of body.matchAll(/<(\/?)([\w]+)((?:\s+[\w]+="[^"<&]*(?:&(?:amp|lt|gt|quot);[^"<&]*)*")*)\s*(\/?)>|([<>])|&(?!(?:amp|lt|gt|quot);)/g)) {
    if (m[5] || m[0].startsWith('&')) throw new Error(`stray "${m[0]}" at ${m.index}`);
    const [, closing, name, attrs, selfClosing] = m;
    if (closing) {
      if (open.pop() !== name) throw new Error(`</${name}> closes nothing open`);
    } else {
      elements.push({ name, attrs: Object.fromEntries([...attrs.matchAll(/(\w+)="([^"]*)"/g)].map((a) => [a[1], a[2]])), at: m.index + m[0].length });
      if (!selfClosing) open.push(name);
    }
  }
  if (open.length) throw new Error(`<${open.pop()}> is not closed`);
  return { body, elements };
}

test('the Notepad++ file: well-formed, with the keyword lists of zunrunc --list', () => {
  const list = realList();
  const xml = gen.notepadXml(list);
  const { body, elements } = xmlElements(xml);
  const unescape = (s) => s.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&amp;/g, '&');
  const words = {};
  for (const e of elements.filter((e) => e.name === 'Keywords')) words[e.attrs.name] = unescape(body.slice(e.at, body.indexOf('</Keywords>', e.at)));
  const split = (s) => s.split(' ').filter(Boolean);
  assert.deepStrictEqual(split(words.Keywords1), ['var', 'if', 'else', 'repeat', 'break']);
  assert.strictEqual(split(words.Keywords2).length, 8 + 4 + 8);
  assert.ok(split(words.Keywords2).includes('nOt'));
  assert.deepStrictEqual(split(words.Keywords3), list.builtins.map((b) => b.name));
  assert.deepStrictEqual(split(words.Keywords4), list.constants.map((c) => c.name));
  assert.deepStrictEqual(split(words.Operators1).sort(), [...new Set(list.operators.join(''))].filter((c) => c !== '{' && c !== '}').sort());
  assert.ok(split(words.Operators1).includes('&') && split(words.Operators1).includes('<'));
  assert.strictEqual(words['Folders in code1, open'], '{');
  assert.strictEqual(words.Comments, '00// 01 02 03/* 04*/');
  assert.match(words.Delimiters, /^00" 01\\ 02" 03 04/);
  const lang = elements.find((e) => e.name === 'UserLang');
  assert.deepStrictEqual([lang.attrs.name, lang.attrs.ext, lang.attrs.udlVersion], ['ZUN Script', 'zunscript', '2.1']);
  assert.strictEqual(elements.filter((e) => e.name === 'WordsStyle').length, 24);
  assert.throws(() => xmlElements('<a><b></a></b>'), /closes nothing/);
  assert.throws(() => xmlElements('<a>x & y</a>'), /stray/);
  assert.throws(() => xmlElements('<!-- a -- b --><a/>'), /inside a comment/);
});
