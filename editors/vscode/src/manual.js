'use strict';
// Hover text and signature help from the manual's entries (data/manual.json,
// generated from docs/ and `zunrunc --list` when the extension is built).

/**
 * @typedef {{label: string, result: string}} CallForm
 * @typedef {{forms: CallForm[], summary: string, doc: string, family?: string}} Entry
 * @typedef {{builtins: Object<string, Entry>, keywords: Object<string, Entry>, constants: Object<string, {value: string, group: string}>}} Manual
 */

const WORD_OPERATORS = new Set(['and', 'or', 'not']);

// A table's own entry: a script's word "toString" is no entry.
const entryOf = (table, key) => (Object.hasOwn(table, key) ? table[key] : undefined);

/** The link that shows an entry in full (`zunrunc --help NAME`). */
function helpLink(name) {
  return `command:zunrun.showHelp?${encodeURIComponent(JSON.stringify([name]))}`;
}

const formText = (f) => (f.result ? `${f.label} → ${f.result}` : f.label);

function codeBlock(lines) {
  return ['```zunscript', ...lines, '```'].join('\n');
}

/**
 * Markdown for the word under the mouse, or null when the manual does not
 * know it. Built-ins and constants are case-sensitive; and/or/not are not.
 * @param {Manual} manual
 * @param {string} word
 */
function hoverMarkdown(manual, word) {
  const lower = word.toLowerCase();
  const keyword = entryOf(manual.keywords, word) ? word : WORD_OPERATORS.has(lower) && entryOf(manual.keywords, lower) ? lower : null;
  const name = entryOf(manual.builtins, word) ? word : keyword;
  if (name) {
    const entry = name === keyword ? manual.keywords[name] : manual.builtins[name];
    const parts = [];
    if (entry.forms.length) parts.push(codeBlock(entry.forms.map(formText)));
    parts.push(entry.summary);
    const kind = name === keyword ? 'Keyword' : `Built-in${entry.family ? ` (${entry.family})` : ''}`;
    parts.push(`${kind} · [Full entry](${helpLink(name)})`);
    return parts.join('\n\n');
  }
  const constant = entryOf(manual.constants, word);
  if (constant) {
    const group = constant.group ? `Constant of the group \`${constant.group}\`.` : 'Constant.';
    return `${codeBlock([`${word} = ${constant.value}`])}\n\n${group}`;
  }
  return null;
}

/**
 * The parameters of a call form with their offsets in the label:
 * `strsub(text, from [, to])` gives text, from and to.
 * @returns {{name: string, start: number, end: number}[]}
 */
function parametersOf(label) {
  const open = label.indexOf('(');
  const close = label.lastIndexOf(')');
  if (open < 0 || close < open) return [];
  const params = [];
  const pattern = /[\p{L}_][\p{L}\p{N}_]*|\.\.\./gu;
  pattern.lastIndex = open + 1;
  for (let m; (m = pattern.exec(label)) && m.index < close; ) params.push({ name: m[0], start: m.index, end: m.index + m[0].length });
  return params;
}

/**
 * Signature help for a call of `name` with the cursor in argument `argument`
 * (0-based): every form of the entry, the first that has such an argument
 * active. Null for a name the manual has no call form for.
 * @param {Manual} manual
 */
function signatureHelp(manual, name, argument) {
  const entry = entryOf(manual.builtins, name);
  if (!entry || !entry.forms.length) return null;
  const signatures = entry.forms.map((form) => {
    const params = parametersOf(form.label);
    const variadic = params.length > 0 && params[params.length - 1].name === '...';
    return { label: formText(form), documentation: entry.summary, parameters: params, variadic };
  });
  let active = signatures.findIndex((s) => s.parameters.length > argument || s.variadic);
  if (active < 0) active = signatures.length - 1;
  const params = signatures[active].parameters;
  const activeParameter = Math.min(argument, Math.max(params.length - 1, 0));
  return { signatures, activeSignature: active, activeParameter };
}

module.exports = { hoverMarkdown, signatureHelp, parametersOf, helpLink };
