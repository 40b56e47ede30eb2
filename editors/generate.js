'use strict';
// What the editor files are made of: the names `zunrunc --list` prints and the
// manual's entries, turned into the VS Code grammar, the hover data and the
// Notepad++ language file. Nothing here touches the disk; build.js does.

/** @typedef {{builtins: {name: string, family: string}[], constants: {name: string, value: string, group: string}[], keywords: string[], operators: string[]}} NameList */
/** @typedef {{label: string, result: string}} CallForm */
/** @typedef {{forms: CallForm[], summary: string, doc: string}} Entry */

/**
 * Reads the tab-separated lines of `zunrunc --list`.
 * @param {string} text
 * @returns {NameList}
 */
function parseList(text) {
  const list = { builtins: [], constants: [], keywords: [], operators: [] };
  const rows = {
    builtin: (f) => list.builtins.push({ name: f[1], family: f[2] }),
    constant: (f) => list.constants.push({ name: f[1], value: f[2], group: f[3] }),
    keyword: (f) => list.keywords.push(f[1]),
    operator: (f) => list.operators.push(f[1]),
  };
  const fieldCount = { builtin: 3, constant: 4, keyword: 2, operator: 2 };
  text.split('\n').forEach((line, i) => {
    line = line.replace(/\r$/, '');
    if (line === '') return;
    const fields = line.split('\t');
    const kind = fields[0];
    if (!rows[kind] || fields.length !== fieldCount[kind] || !fields[1])
      throw new Error(`zunrunc --list, line ${i + 1}: unexpected row "${line}"`);
    rows[kind](fields);
  });
  if (!list.builtins.length || !list.keywords.length || !list.operators.length)
    throw new Error('zunrunc --list printed no built-ins, keywords or operators');
  return list;
}

// ---------------------------------------------------------------- the manual

const RESULT_TYPES = new Set(['int', 'double', 'string', 'array', 'empty', 'any']);
// A call form: one code span, then (for a built-in) " → " and the result type.
const FORM_LINE = /^`([^`]+)`(?: → (.+))?$/;

/** The heading's anchor as the rendered help and GitHub make it. */
function anchorOf(heading) {
  return heading.trim().toLowerCase().replace(/[^\p{L}\p{N} _-]/gu, '').replace(/ /g, '-');
}

/**
 * The `## NAME` sections of a Markdown file with their first paragraphs
 * (fenced blocks are skipped, so a heading inside an example is no section).
 * @returns {{name: string, line: number, paragraphs: string[][]}[]}
 */
function sectionsOf(markdown) {
  const sections = [];
  let current = null;
  let paragraph = null;
  let fence = null;
  markdown.split(/\r?\n/).forEach((line, i) => {
    const opening = /^(```+|~~~+)/.exec(line);
    if (fence) {
      if (line.startsWith(fence)) fence = null;
      return;
    }
    if (opening) {
      fence = opening[1];
      paragraph = null;
      return;
    }
    const heading = /^(#+)\s+(.*?)\s*$/.exec(line);
    if (heading) {
      current = heading[1] === '##' ? { name: heading[2], line: i + 1, paragraphs: [] } : null;
      if (current) sections.push(current);
      paragraph = null;
      return;
    }
    if (!current) return;
    if (line.trim() === '') {
      paragraph = null;
    } else {
      if (!paragraph) current.paragraphs.push((paragraph = []));
      paragraph.push(line.trim());
    }
  });
  return sections;
}

/**
 * An entry's call forms (the first paragraph, when every line of it is a call
 * form) and its one-sentence summary (the paragraph after them).
 * @returns {{forms: CallForm[], summary: string}}
 */
function readEntry(section, needForms) {
  const [first = [], second = []] = section.paragraphs;
  const where = `## ${section.name}`;
  const isForm = (line) => FORM_LINE.test(line);
  const hasForms = first.length > 0 && first.every(isForm);
  if (needForms && !hasForms)
    throw new Error(`${where}: the first paragraph must be the call form, "\`${section.name}(...)\` → type", one per line`);
  const forms = hasForms
    ? first.map((line) => {
        const [, label, result = ''] = FORM_LINE.exec(line);
        if (!needForms) return { label, result };
        if (!label.startsWith(section.name + '('))
          throw new Error(`${where}: the call form "${label}" must start with "${section.name}("`);
        if (!result.split(' or ').every((type) => RESULT_TYPES.has(type)))
          throw new Error(`${where}: "${label}" needs " → " and a result type (${[...RESULT_TYPES].join(', ')}), not "${result}"`);
        return { label, result };
      })
    : [];
  const summaryLines = hasForms ? second : first;
  const summary = summaryLines.join(' ');
  if (!summary || /^(\||```|\*\*|[-*] |>)/.test(summary) || !/[.!?]$/.test(summary))
    throw new Error(`${where}: ${hasForms ? 'the paragraph after the call form' : 'the first paragraph'} must be one plain sentence (the summary)`);
  return { forms, summary };
}

/**
 * Reads the built-ins' entries from builtins/*.md and the keywords' from
 * keywords.md. Every problem is collected, so one run names them all.
 * @param {{file: string, text: string}[]} builtinFiles  paths relative to docs/
 * @param {string | null} keywordsText  docs/keywords.md, null when missing
 * @param {NameList} list
 * @param {{allowMissing?: boolean}} options  true: a name without an entry is no error
 */
function readManual(builtinFiles, keywordsText, list, options = {}) {
  const problems = [];
  const builtins = {};
  const keywords = {};
  const wanted = new Set(list.builtins.map((b) => b.name));
  const collect = (file, text, into, accept, needForms) => {
    for (const section of sectionsOf(text)) {
      if (!accept.has(section.name)) {
        problems.push(`${file}:${section.line}: "## ${section.name}" is no ${needForms ? 'built-in' : 'keyword'} that zunrunc --list names`);
        continue;
      }
      if (into[section.name]) {
        problems.push(`${file}:${section.line}: a second entry for ${section.name}`);
        continue;
      }
      try {
        into[section.name] = { ...readEntry(section, needForms), doc: `${file}#${anchorOf(section.name)}` };
      } catch (e) {
        problems.push(`${file}:${section.line}: ${e.message}`);
      }
    }
  };
  for (const { file, text } of builtinFiles) collect(file, text, builtins, wanted, true);
  if (keywordsText !== null) collect('keywords.md', keywordsText, keywords, new Set(list.keywords), false);
  if (!options.allowMissing) {
    const missingB = [...wanted].filter((n) => !builtins[n]);
    const missingK = list.keywords.filter((k) => !keywords[k]);
    if (missingB.length) problems.push(`builtins/*.md: no entry for ${missingB.join(', ')}`);
    if (missingK.length) problems.push(`keywords.md: no entry for ${missingK.join(', ')}`);
  }
  if (problems.length) throw new Error(`the manual's entries cannot be read:\n  ${problems.join('\n  ')}`);
  return { builtins, keywords };
}

/** What the hovers and signature help read: entries, families, constants. */
function hoverData(list, manual) {
  const builtins = {};
  for (const { name, family } of list.builtins)
    if (manual.builtins[name]) builtins[name] = { ...manual.builtins[name], family };
  const constants = {};
  for (const { name, value, group } of list.constants) constants[name] = { value, group };
  return { builtins, keywords: manual.keywords, constants };
}

// ---------------------------------------------------------------- the grammar

// Every keyword and operator `zunrunc --list` names must have a scope here:
// a new one fails the build instead of going uncoloured.
const KEYWORD_SCOPES = {
  var: 'storage.type.var',
  if: 'keyword.control.conditional',
  else: 'keyword.control.conditional',
  repeat: 'keyword.control.loop',
  break: 'keyword.control.loop',
  and: 'keyword.operator.logical.word',
  or: 'keyword.operator.logical.word',
  not: 'keyword.operator.logical.word',
};
// The word operators are read in any case, every other name as written.
const ANY_CASE = new Set(['and', 'or', 'not']);

const OPERATOR_SCOPES = {
  ';': 'punctuation.terminator.statement',
  ',': 'punctuation.separator.comma',
  '(': 'punctuation.section.parens.begin',
  ')': 'punctuation.section.parens.end',
  '{': 'punctuation.section.block.begin',
  '}': 'punctuation.section.block.end',
  '[': 'punctuation.section.brackets.begin',
  ']': 'punctuation.section.brackets.end',
  '=': 'keyword.operator.assignment',
  '+=': 'keyword.operator.assignment.compound',
  '-=': 'keyword.operator.assignment.compound',
  '*=': 'keyword.operator.assignment.compound',
  '/=': 'keyword.operator.assignment.compound',
  '&=': 'keyword.operator.assignment.compound',
  '|=': 'keyword.operator.assignment.compound',
  '&&': 'keyword.operator.logical',
  '||': 'keyword.operator.logical',
  '!': 'keyword.operator.logical',
  '&': 'keyword.operator.bitwise',
  '|': 'keyword.operator.bitwise',
  '<': 'keyword.operator.comparison',
  '<=': 'keyword.operator.comparison',
  '>': 'keyword.operator.comparison',
  '>=': 'keyword.operator.comparison',
  '==': 'keyword.operator.comparison',
  '!=': 'keyword.operator.comparison',
  '-': 'keyword.operator.arithmetic',
  '+': 'keyword.operator.arithmetic',
  '*': 'keyword.operator.arithmetic',
  '/': 'keyword.operator.arithmetic',
  '%': 'keyword.operator.arithmetic',
};

const escapeRegex = (s) => s.replace(/[\\^$.*+?()[\]{}|/-]/g, '\\$&');
const NAME_END = '(?![\\w:])';

function scopeOf(table, what, key) {
  if (!table[key]) throw new Error(`zunrunc --list names the ${what} "${key}", which editors/generate.js has no scope for`);
  return table[key] + '.zunscript';
}

/** Names as one alternation, longest first, ending where a name ends. */
function wordsPattern(names, anyCase) {
  const body = [...names].sort((a, b) => b.length - a.length || (a < b ? -1 : 1)).map(escapeRegex).join('|');
  return `\\b(?${anyCase ? 'i' : ''}:${body})${NAME_END}`;
}

/** One pattern per scope, in the order of the table's first spelling. */
function groupBy(keys, scopeFor) {
  const groups = new Map();
  for (const key of keys) {
    const scope = scopeFor(key);
    if (!groups.has(scope)) groups.set(scope, []);
    groups.get(scope).push(key);
  }
  return groups;
}

/**
 * Each operator, unless a longer one starts with it there: "=" is not the
 * start of "==", "&" not of "&&" or "&=".
 */
function operatorPatterns(operators) {
  const guard = (op) => {
    const tails = operators.filter((o) => o.length > op.length && o.startsWith(op)).map((o) => escapeRegex(o.slice(op.length)));
    return tails.length ? `(?!${tails.join('|')})` : '';
  };
  return [...groupBy(operators, (op) => scopeOf(OPERATOR_SCOPES, 'operator', op))].map(([scope, ops]) => ({
    name: scope,
    match: ops.sort((a, b) => b.length - a.length).map((op) => escapeRegex(op) + guard(op)).join('|'),
  }));
}

/** The TextMate grammar, following engine/lexer.cpp's rules. */
function grammar(list) {
  // The word operators, read in any case, are a pattern of their own.
  const keywordPatterns = [...groupBy(list.keywords, (k) => scopeOf(KEYWORD_SCOPES, 'keyword', k) + (ANY_CASE.has(k) ? ' i' : ''))].map(
    ([key, words]) => ({ name: key.split(' ')[0], match: wordsPattern(words, key.endsWith(' i')) })
  );
  return {
    name: 'ZUN Script',
    scopeName: 'source.zunscript',
    fileTypes: ['zunscript'],
    comment: 'Generated by editors/generate.js from zunrunc --list; do not edit.',
    patterns: [
      { include: '#comments' },
      { include: '#strings' },
      { include: '#numbers' },
      { include: '#variables' },
      { include: '#keywords' },
      { include: '#builtins' },
      { include: '#constants' },
      { include: '#words' },
      { include: '#operators' },
    ],
    repository: {
      comments: {
        patterns: [
          {
            name: 'comment.block.zunscript',
            begin: '/\\*',
            end: '\\*/',
            captures: { 0: { name: 'punctuation.definition.comment.zunscript' } },
          },
          {
            name: 'comment.line.double-slash.zunscript',
            match: '(//).*',
            captures: { 1: { name: 'punctuation.definition.comment.zunscript' } },
          },
        ],
      },
      strings: {
        name: 'string.quoted.double.zunscript',
        begin: '"',
        end: '"',
        beginCaptures: { 0: { name: 'punctuation.definition.string.begin.zunscript' } },
        endCaptures: { 0: { name: 'punctuation.definition.string.end.zunscript' } },
        patterns: [
          { name: 'constant.character.escape.zunscript', match: '\\\\[\\\\nrt"]' },
          { name: 'invalid.illegal.escape.zunscript', match: '\\\\.?' },
        ],
      },
      // A digit and a lower-case x start a hexadecimal number (any digit, as
      // the engine reads it); otherwise digits and dots.
      numbers: {
        patterns: [
          { name: 'constant.numeric.hex.zunscript', match: '[0-9]x[0-9A-Fa-f]+' },
          { name: 'invalid.illegal.numeric.hex.zunscript', match: '[0-9]x' },
          { name: 'constant.numeric.decimal.zunscript', match: '[0-9][0-9.]*' },
        ],
      },
      // "$", any one character, then name characters.
      variables: {
        name: 'variable.other.zunscript',
        match: '(\\$).[\\w:]*',
        captures: { 1: { name: 'punctuation.definition.variable.zunscript' } },
      },
      keywords: { patterns: keywordPatterns },
      builtins: { name: 'support.function.builtin.zunscript', match: wordsPattern(list.builtins.map((b) => b.name), false) },
      constants: { name: 'support.constant.zunscript', match: wordsPattern(list.constants.map((c) => c.name), false) },
      // Any other word, taken whole, so that no name is found inside it.
      words: { match: '[\\p{L}_][\\w:]*' },
      operators: { patterns: operatorPatterns(list.operators) },
    },
  };
}

// ---------------------------------------------------------------- Notepad++

const xmlEscape = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

/** Every spelling of a word in upper and lower case letters: or, oR, Or, OR. */
function caseVariants(word) {
  let out = [''];
  for (const ch of word) out = out.flatMap((v) => [...new Set([v + ch.toLowerCase(), v + ch.toUpperCase()])]);
  return out;
}

const STYLES = [
  // name, foreground colour, font style (1 bold, 2 italic)
  ['DEFAULT', '000000', 0],
  ['COMMENTS', '008000', 2],
  ['LINE COMMENTS', '008000', 2],
  ['NUMBERS', '098658', 0],
  ['KEYWORDS1', '0000FF', 1],
  ['KEYWORDS2', '0000FF', 1],
  ['KEYWORDS3', '795E26', 0],
  ['KEYWORDS4', '0070C1', 0],
  ['KEYWORDS5', '001080', 0],
  ['KEYWORDS6', '000000', 0],
  ['KEYWORDS7', '000000', 0],
  ['KEYWORDS8', '000000', 0],
  ['OPERATORS', '000000', 0],
  ['FOLDER IN CODE1', '000000', 0],
  ['FOLDER IN CODE2', '000000', 0],
  ['FOLDER IN COMMENT', '000000', 0],
  ['DELIMITERS1', 'A31515', 0],
  ...[2, 3, 4, 5, 6, 7, 8].map((n) => [`DELIMITERS${n}`, '000000', 0]),
];

/**
 * The Notepad++ user-defined language (UDL 2.1): keywords, the word operators
 * in every case, built-ins, constants, variables (words starting with "$"),
 * comments, strings, numbers, operators and folding on braces.
 */
function notepadXml(list) {
  const plain = list.keywords.filter((k) => !ANY_CASE.has(k));
  const anyCase = list.keywords.filter((k) => ANY_CASE.has(k)).flatMap(caseVariants);
  const folds = new Set(['{', '}']);
  const operatorChars = [...new Set(list.operators.join(''))].filter((c) => !folds.has(c));
  const delimiters = ['"', '\\', '"'].concat(Array(21).fill('')).map((d, i) => String(i).padStart(2, '0') + d);
  const lists = [
    ['Comments', '00// 01 02 03/* 04*/'],
    ['Numbers, prefix1', '0123456789'.split('').map((d) => d + 'x').join(' ')],
    ['Numbers, prefix2', ''],
    ['Numbers, extras1', 'A B C D E F a b c d e f'],
    ['Numbers, extras2', ''],
    ['Numbers, suffix1', ''],
    ['Numbers, suffix2', ''],
    ['Numbers, range', ''],
    ['Operators1', operatorChars.join(' ')],
    ['Operators2', ''],
    ['Folders in code1, open', '{'],
    ['Folders in code1, middle', ''],
    ['Folders in code1, close', '}'],
    ...['Folders in code2', 'Folders in comment'].flatMap((f) => ['open', 'middle', 'close'].map((p) => [`${f}, ${p}`, ''])),
    ['Keywords1', plain.join(' ')],
    ['Keywords2', anyCase.join(' ')],
    ['Keywords3', list.builtins.map((b) => b.name).join(' ')],
    ['Keywords4', list.constants.map((c) => c.name).join(' ')],
    ['Keywords5', '$'],
    ['Keywords6', ''],
    ['Keywords7', ''],
    ['Keywords8', ''],
    ['Delimiters', delimiters.join(' ')],
  ];
  const prefix = [1, 2, 3, 4, 5, 6, 7, 8].map((n) => `Keywords${n}="${n === 5 ? 'yes' : 'no'}"`).join(' ');
  return [
    '<?xml version="1.0" encoding="UTF-8" ?>',
    '<!-- ZUN Script for Notepad++, made by editors/generate.js from the names zunrunc lists.',
    '     Import it with Language > User Defined Language > Define your language... > Import. -->',
    '<NotepadPlus>',
    '    <UserLang name="ZUN Script" ext="zunscript" udlVersion="2.1">',
    '        <Settings>',
    '            <Global caseIgnored="no" allowFoldOfComments="no" foldCompact="no" forcePureLC="0" decimalSeparator="0" />',
    `            <Prefix ${prefix} />`,
    '        </Settings>',
    '        <KeywordLists>',
    ...lists.map(([name, words]) => `            <Keywords name="${xmlEscape(name)}">${xmlEscape(words)}</Keywords>`),
    '        </KeywordLists>',
    '        <Styles>',
    ...STYLES.map(
      ([name, fg, font]) =>
        `            <WordsStyle name="${name}" fgColor="${fg}" bgColor="FFFFFF" fontName="" fontStyle="${font}" nesting="0" />`
    ),
    '        </Styles>',
    '    </UserLang>',
    '</NotepadPlus>',
    '',
  ].join('\r\n');
}

module.exports = { parseList, sectionsOf, readManual, hoverData, grammar, notepadXml, anchorOf };
