'use strict';
// The script's tokens as the engine reads them (engine/lexer.cpp), with their
// offsets in UTF-16 units, for hovers, signature help and folding. Errors are
// zunrunc's business: an unclosed comment or string runs to the end here.

/** @typedef {{kind: 'comment'|'string'|'number'|'variable'|'word'|'operator', start: number, end: number, text: string}} Token */

const NAME_CHAR = /[\p{L}\p{N}_:]/u;
const WORD_START = /[\p{L}_]/u;
const TWO_CHAR = new Set(['==', '!=', '<=', '>=', '&&', '||', '&=', '|=', '+=', '-=', '*=', '/=']);

/** Where the name that starts at `i` ends. */
function nameEnd(text, i) {
  while (i < text.length && NAME_CHAR.test(text[i])) i++;
  return i;
}

/**
 * @param {string} text
 * @returns {Token[]}
 */
function tokenize(text) {
  const tokens = [];
  let i = 0;
  const n = text.length;
  while (i < n) {
    const c = text[i];
    const start = i;
    let kind;
    if (/\s/.test(c)) {
      i++;
      continue;
    } else if (c === '/' && text[i + 1] === '/') {
      kind = 'comment';
      while (i < n && text[i] !== '\n' && text[i] !== '\r') i++;
    } else if (c === '/' && text[i + 1] === '*') {
      kind = 'comment';
      const close = text.indexOf('*/', i);
      i = close < 0 ? n : close + 2;
    } else if (c === '"') {
      kind = 'string';
      for (i++; i < n && text[i] !== '"'; i++) if (text[i] === '\\') i++;
      i = Math.min(i + 1, n);
    } else if (/[0-9]/.test(c)) {
      kind = 'number';
      i++;
      if (text[i] === 'x') for (i++; i < n && /[0-9a-fA-F]/.test(text[i]); ) i++;
      else while (i < n && /[0-9.]/.test(text[i])) i++;
    } else if (c === '$') {
      kind = 'variable';
      i = i + 1 < n ? nameEnd(text, i + 2) : n;
    } else if (WORD_START.test(c)) {
      kind = 'word';
      i = nameEnd(text, i + 1);
    } else {
      kind = 'operator';
      i += TWO_CHAR.has(text.slice(i, i + 2)) ? 2 : 1;
    }
    tokens.push({ kind, start, end: i, text: text.slice(start, i) });
  }
  return tokens;
}

/** The token that holds `offset` (or ends right at it), or null. */
function tokenAt(tokens, offset) {
  for (const t of tokens) {
    if (t.start <= offset && offset <= t.end && (offset < t.end || t.kind === 'word')) return t;
    if (t.start > offset) break;
  }
  return null;
}

/**
 * The built-in call the cursor is in, and which argument: the innermost open
 * "name(" before `offset` whose brackets are not closed yet.
 * @returns {{name: string, argument: number} | null}
 */
function callAt(tokens, offset) {
  const open = [];
  for (let k = 0; k < tokens.length && tokens[k].end <= offset; k++) {
    const t = tokens[k];
    if (t.kind !== 'operator') continue;
    if (t.text === '(' || t.text === '[') {
      const before = tokens[k - 1];
      const name = t.text === '(' && before && before.kind === 'word' ? before.text : null;
      open.push({ name, argument: 0 });
    } else if (t.text === ')' || t.text === ']') {
      open.pop();
    } else if (t.text === ',' && open.length) {
      open[open.length - 1].argument++;
    } else if (t.text === ';' || t.text === '{' || t.text === '}') {
      open.length = 0; // a call never spans a statement
    }
  }
  const inner = open[open.length - 1];
  return inner && inner.name ? inner : null;
}

/**
 * Lines to fold: braces that open and close on different lines, and block
 * comments over several lines.
 * @returns {{start: number, end: number, comment: boolean}[]}  0-based lines
 */
function foldingRanges(text, tokens = tokenize(text)) {
  const lineStarts = [0];
  for (let i = 0; i < text.length; i++) if (text[i] === '\n') lineStarts.push(i + 1);
  const lineOf = (offset) => {
    let lo = 0;
    let hi = lineStarts.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (lineStarts[mid] <= offset) lo = mid;
      else hi = mid - 1;
    }
    return lo;
  };
  const ranges = [];
  const braces = [];
  for (const t of tokens) {
    if (t.kind === 'comment' && t.text.startsWith('/*')) {
      const start = lineOf(t.start);
      const end = lineOf(t.end - 1);
      if (end > start) ranges.push({ start, end, comment: true });
    } else if (t.text === '{' && t.kind === 'operator') {
      braces.push(lineOf(t.start));
    } else if (t.text === '}' && t.kind === 'operator' && braces.length) {
      const start = braces.pop();
      // The closing line stays visible, as in other brace languages.
      const end = lineOf(t.start) - 1;
      if (end > start) ranges.push({ start, end, comment: false });
    }
  }
  return ranges.sort((a, b) => a.start - b.start || b.end - a.end);
}

module.exports = { tokenize, tokenAt, callAt, foldingRanges };
