'use strict';
// `zunrunc --check -`: the script goes in on standard input, each error comes
// back as one line on standard error:
//   (pos N, line L, column C) : MESSAGE, code snippet:"..."
// with lines and columns counted from 1, columns in UTF-16 units.
const { spawn } = require('child_process');

const ERROR_LINE = /^\(pos (\d+), line (\d+), column (\d+)\) : (.*?), code snippet:"/;
const NAME_CHAR = /[\p{L}\p{N}_:$]/u;

/**
 * @typedef {{line: number, column: number, pos: number, message: string}} CheckError  line and column 0-based
 * @returns {CheckError[]}
 */
function parseCheckOutput(stderr) {
  const errors = [];
  for (const line of stderr.split(/\r?\n/)) {
    const m = ERROR_LINE.exec(line);
    if (m) errors.push({ pos: Number(m[1]), line: Number(m[2]) - 1, column: Number(m[3]) - 1, message: m[4] });
  }
  return errors;
}

/**
 * The span to underline on a line: the name at the column, else the one
 * character there; past the line's end, its last character.
 * @returns {{start: number, end: number}}  columns on that line
 */
function spanAt(lineText, column) {
  if (column >= lineText.length) {
    const start = Math.max(lineText.length - 1, 0);
    return { start, end: lineText.length };
  }
  let end = column + 1;
  if (NAME_CHAR.test(lineText[column])) while (end < lineText.length && NAME_CHAR.test(lineText[end]) && lineText[end] !== '$') end++;
  return { start: column, end };
}

/**
 * The errors of a check with their ranges in the document's lines.
 * @param {string[]} lines  the document's lines
 * @returns {{message: string, line: number, start: number, end: number}[]}
 */
function diagnosticsOf(stderr, lines) {
  return parseCheckOutput(stderr).map((e) => {
    const line = Math.min(e.line, Math.max(lines.length - 1, 0));
    const column = line === e.line ? e.column : (lines[line] || '').length;
    return { message: e.message, line, ...spanAt(lines[line] || '', column) };
  });
}

/**
 * The text as zunrunc reads it exactly: UTF-16 with its byte order mark
 * (ANSI text would be read in the machine's code page, and columns counted
 * in bytes for anything past ASCII).
 */
function encodeScript(text) {
  return Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(text, 'utf16le')]);
}

/**
 * Runs `zunrunc --check -` on a text.
 * @returns {Promise<{status: number|null, stderr: string}>}  rejects when zunrunc cannot start
 */
function runCheck(zunrunc, text, timeoutMs = 10000) {
  return new Promise((resolve, reject) => {
    const child = spawn(zunrunc, ['--check', '-'], { stdio: ['pipe', 'ignore', 'pipe'], windowsHide: true });
    const chunks = [];
    const timer = setTimeout(() => child.kill(), timeoutMs);
    child.stderr.on('data', (c) => chunks.push(c));
    child.on('error', (e) => {
      clearTimeout(timer);
      reject(e);
    });
    child.on('close', (status) => {
      clearTimeout(timer);
      resolve({ status, stderr: Buffer.concat(chunks).toString('utf8') });
    });
    child.stdin.on('error', () => {}); // it may end before reading everything
    child.stdin.end(encodeScript(text));
  });
}

module.exports = { parseCheckOutput, spanAt, diagnosticsOf, encodeScript, runCheck };
