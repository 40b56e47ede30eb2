'use strict';
// Check output into diagnostics: the parser on its own, then against zunrunc.
const test = require('node:test');
const assert = require('node:assert');
const check = require('../src/check');
const { zunrunc } = require('../../test/paths');

test('error lines into 0-based lines and columns; other lines are no errors', () => {
  const stderr = [
    '(pos 22, line 2, column 11) : Unknown token:q, code snippet:"var $a = 1; $b = "abc\\q"; "',
    'zunrunc: something else',
    '(pos 0, line 1, column 1) : a message, with a comma, code snippet:"x, code snippet:"y"',
    '',
  ].join('\r\n');
  assert.deepStrictEqual(check.parseCheckOutput(stderr), [
    { pos: 22, line: 1, column: 10, message: 'Unknown token:q' },
    { pos: 0, line: 0, column: 0, message: 'a message, with a comma' },
  ]);
  assert.deepStrictEqual(check.parseCheckOutput(''), []);
});

test('the underlined span: the name at the column, one character, or the end of the line', () => {
  const cases = [
    // line, column, start, end
    ['print(strsub(x));', 6, 6, 12],
    ['print(strsub(x));', 5, 5, 6],
    ['$a = $b:c_1+1', 5, 5, 11],
    ['$a$b', 0, 0, 2],
    ['"abc\\q";', 5, 5, 6],
    ['$x = 0x;', 7, 7, 8],
    ['abc', 3, 2, 3],
    ['abc', 9, 2, 3],
    ['', 0, 0, 0],
    ['x = "é€😀" + wörd;', 13, 13, 17],
  ];
  for (const [line, column, start, end] of cases) assert.deepStrictEqual(check.spanAt(line, column), { start, end }, `${line} @${column}`);
});

test('an error past the last line lands on the last line', () => {
  const d = check.diagnosticsOf('(pos 9, line 3, column 1) : " expected, code snippet:""\n', ['var $a;', '$b = "x']);
  assert.deepStrictEqual(d, [{ message: '" expected', line: 1, start: 6, end: 7 }]);
});

// Scripts with one lexical error, and where zunrunc must put it. Non-ASCII
// text before the error and CRLF line ends must not move it.
const SCRIPTS = [
  ['an unknown escape', 'var $a = 1;\n$b = "abc\\q";\n', { line: 1, start: 10, end: 11, message: 'Unknown token:q' }],
  ['after wide characters', 'var $s = "é€😀"; $x = 0x;\n', { line: 0, start: 24, end: 25, message: 'Didit expected' }],
  ['CRLF line ends', 'var $a = 1;\r\n\r\n  $b = "x\\y";\r\n', { line: 2, start: 10, end: 11, message: 'Unknown token:y' }],
  ['an unclosed comment', 'print(1);\n/* never closed\n', { line: 1, start: 0, end: 1, message: '*\\ expected' }],
];

test('zunrunc --check - on documents: each error at its line and column', async (t) => {
  const program = zunrunc();
  for (const [what, text, expected] of SCRIPTS) {
    await t.test(what, async () => {
      const result = await check.runCheck(program, text);
      assert.strictEqual(result.status, 1, result.stderr);
      assert.deepStrictEqual(check.diagnosticsOf(result.stderr, text.split(/\r?\n/)), [expected]);
    });
  }
  await t.test('a clean script', async () => {
    const result = await check.runCheck(program, 'var $s = "é€😀";\r\nprint($s);\n');
    assert.deepStrictEqual(result, { status: 0, stderr: '' });
  });
});

test('a zunrunc that cannot start rejects', async () => {
  await assert.rejects(check.runCheck('/nonexistent/zunrunc', 'print(1);'), /ENOENT/);
});

test('the script goes to zunrunc as UTF-16 with its byte order mark', () => {
  assert.deepStrictEqual([...check.encodeScript('a€')], [0xff, 0xfe, 0x61, 0x00, 0xac, 0x20]);
});
