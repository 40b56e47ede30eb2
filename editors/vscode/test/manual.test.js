'use strict';
// Hovers and signature help from the fixture manual, and the script reading
// they rest on (words, calls, folding).
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { execFileSync } = require('child_process');
const gen = require('../../generate');
const { readDocs } = require('../../build');
const { zunrunc } = require('../../test/paths');
const manualText = require('../src/manual');
const lexer = require('../src/lexer');

function fixtureManual() {
  const list = gen.parseList(execFileSync(zunrunc(), ['--list'], { encoding: 'utf8' }));
  const { builtinFiles, keywordsText } = readDocs(path.join(__dirname, 'fixtures', 'docs'));
  return gen.hoverData(list, gen.readManual(builtinFiles, keywordsText, list, { allowMissing: true }));
}
const manual = fixtureManual();

test('a built-in: call form, summary, family and the link to its full entry', () => {
  assert.strictEqual(
    manualText.hoverMarkdown(manual, 'strsub'),
    '```zunscript\nstrsub(text, from [, to]) → string\n```\n\n' +
      'The part of a text between two positions, or the one character at a position.\n\n' +
      'Built-in (Strings) · [Full entry](command:zunrun.showHelp?%5B%22strsub%22%5D)'
  );
  assert.match(manualText.hoverMarkdown(manual, 'Array'), /^```zunscript\nArray\(\) → array\nArray\(value, \.\.\.\) → array\n```/);
});

test('keywords: the word operators in any case, the statements as written', () => {
  for (const word of ['and', 'AND', 'aNd']) assert.match(manualText.hoverMarkdown(manual, word), /^Both conditions hold.*\n\nKeyword · \[Full entry\]\(command:zunrun\.showHelp\?%5B%22and%22%5D\)$/s, word);
  assert.match(manualText.hoverMarkdown(manual, 'if'), /^```zunscript\nif \(condition\) statement \[else statement\]\n```\n\nRuns a statement/);
  assert.strictEqual(manualText.hoverMarkdown(manual, 'If'), null);
});

test('constants: value and group', () => {
  assert.strictEqual(manualText.hoverMarkdown(manual, 'SW_SHOW'), '```zunscript\nSW_SHOW = 5\n```\n\nConstant of the group `SW_`.');
  assert.strictEqual(manualText.hoverMarkdown(manual, 'ENDL'), '```zunscript\nENDL = "\\r\\n"\n```\n\nConstant.');
});

test('no hover for unknown words, other cases, or names an object has anyway', () => {
  for (const word of ['Strsub', 'strlen2', 'sw_show', 'toString', 'constructor', '__proto__', 'hasOwnProperty'])
    assert.strictEqual(manualText.hoverMarkdown(manual, word), null, word);
  assert.strictEqual(manualText.signatureHelp(manual, 'toString', 0), null);
  // A built-in without an entry in this manual has no hover, but is highlighted.
  assert.strictEqual(manualText.hoverMarkdown(manual, 'FileCopy'), null);
});

test('parameters with their offsets in the call form', () => {
  const label = 'strsub(text, from [, to])';
  const names = (l) => manualText.parametersOf(l).map((p) => l.slice(p.start, p.end));
  assert.deepStrictEqual(names(label), ['text', 'from', 'to']);
  assert.deepStrictEqual(names('Array(value, ...)'), ['value', '...']);
  assert.deepStrictEqual(names('Array()'), []);
  assert.deepStrictEqual(names('MessageBox(text [, caption [, flags]])'), ['text', 'caption', 'flags']);
});

test('signature help: the form that has the argument, and the argument marked', () => {
  const help = manualText.signatureHelp(manual, 'strsub', 2);
  assert.strictEqual(help.signatures[0].label, 'strsub(text, from [, to]) → string');
  assert.strictEqual(help.activeParameter, 2);
  // Past the last parameter the last stays marked.
  assert.strictEqual(manualText.signatureHelp(manual, 'strsub', 5).activeParameter, 2);
  // Array() has none: the second form, whose "..." takes any number.
  const array = manualText.signatureHelp(manual, 'Array', 3);
  assert.deepStrictEqual([array.activeSignature, array.activeParameter], [1, 1]);
  assert.strictEqual(manualText.signatureHelp(manual, 'Array', 0).activeSignature, 1);
  assert.strictEqual(manualText.signatureHelp(manual, 'nosuch', 0), null);
});

// Text with "|" where the cursor is, and the call found there.
const CALLS = [
  ['print(strsub($s, |', { name: 'strsub', argument: 1 }],
  ['print(strsub($s, 1), |', { name: 'print', argument: 1 }],
  ['strsub("a,(b", $a[1, 2], |', { name: 'strsub', argument: 2 }],
  ['strsub(/* ( , */ $s, // ,\n |', { name: 'strsub', argument: 1 }],
  ['strsub($s, (1 + |', null],
  ['strsub($s); print(|', { name: 'print', argument: 0 }],
  ['strsub($s; |', null],
  ['$x = (|', null],
  ['strsub|(', null],
  ['"print(|', null],
];

test('the call the cursor is in', () => {
  for (const [marked, expected] of CALLS) {
    const offset = marked.indexOf('|');
    const text = marked.replace('|', '');
    assert.deepStrictEqual(lexer.callAt(lexer.tokenize(text), offset), expected, marked);
  }
});

test('the word under the cursor, and none inside strings, comments or variables', () => {
  const text = 'print("strsub" + $strsub); // strsub\nSW_SHOW';
  const tokens = lexer.tokenize(text);
  const wordAt = (offset) => {
    const t = lexer.tokenAt(tokens, offset);
    return t && t.kind === 'word' ? t.text : null;
  };
  assert.strictEqual(wordAt(0), 'print');
  assert.strictEqual(wordAt(5), 'print'); // right after the word
  assert.strictEqual(wordAt(text.indexOf('strsub') + 2), null);
  assert.strictEqual(wordAt(text.indexOf('$strsub') + 3), null);
  assert.strictEqual(wordAt(text.lastIndexOf('strsub') + 1), null);
  assert.strictEqual(wordAt(text.length - 1), 'SW_SHOW');
});

test('tokens as the engine reads them', () => {
  const kinds = (text) => lexer.tokenize(text).map((t) => `${t.kind}:${t.text}`);
  assert.deepStrictEqual(kinds('$a:b1+=0x1Fg 1.2.3 "a\\"b" /* c */ $$ x'), [
    'variable:$a:b1', 'operator:+=', 'number:0x1F', 'word:g', 'number:1.2.3', 'string:"a\\"b"', 'comment:/* c */', 'variable:$$', 'word:x',
  ]);
  assert.deepStrictEqual(kinds('a<=b!c "open'), ['word:a', 'operator:<=', 'word:b', 'operator:!', 'word:c', 'string:"open']);
});

test('folding: braces over several lines, block comments, nested', () => {
  const text = ['repeat {', '  if ($a) {', '    break;', '  }', '}', '/* one', '   two */', '{ $a = 1; }', '{', '}'].join('\n');
  assert.deepStrictEqual(lexer.foldingRanges(text), [
    { start: 0, end: 3, comment: false },
    { start: 1, end: 2, comment: false },
    { start: 5, end: 6, comment: true },
  ]);
  assert.deepStrictEqual(lexer.foldingRanges('"{\n}"\n// {\n{\n'), []);
});
