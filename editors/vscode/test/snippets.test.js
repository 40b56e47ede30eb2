'use strict';
// Every snippet, expanded as VS Code inserts it untouched, is a script that
// zunrunc --check accepts.
const test = require('node:test');
const assert = require('node:assert');
const snippets = require('../snippets/zunscript.json');
const check = require('../src/check');
const { zunrunc } = require('../../test/paths');

const PIECE = /\\\$|\$\{(\d+):((?:\\.|[^\\}])*)\}|\$(\d+)/g;

/** The text of a snippet with each placeholder's default (unescaped) in its place. */
function expand(body) {
  const text = Array.isArray(body) ? body.join('\n') : body;
  const unescape = (s) => s.replace(/\\(.)/g, '$1');
  const defaults = {};
  for (const m of text.matchAll(PIECE)) if (m[1] && !(m[1] in defaults)) defaults[m[1]] = unescape(m[2]);
  return text.replace(PIECE, (all, n, value, mirror) => (all === '\\$' ? '$' : n ? unescape(value) : defaults[mirror] || ''));
}

test('the expansion of placeholders, mirrors and escapes', () => {
  assert.strictEqual(expand(['var \\$${1:i} = 0;', 'if (\\$$1 > ${2:\\$n}) $0']), 'var $i = 0;\nif ($i > $n) ');
});

test('every snippet expands to a script zunrunc --check accepts', async (t) => {
  const program = zunrunc();
  for (const [name, snippet] of Object.entries(snippets)) {
    await t.test(name, async () => {
      // A statement snippet stands alone; an else needs its if.
      const script = (name === 'else if' ? 'if ($c) { }\n' : '') + expand(snippet.body) + '\n';
      assert.ok(snippet.prefix && snippet.description, 'a prefix and a description');
      assert.deepStrictEqual(await check.runCheck(program, script), { status: 0, stderr: '' }, script);
    });
  }
});
