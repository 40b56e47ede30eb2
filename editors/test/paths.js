'use strict';
// Where the tests find the repository and the zunrunc they check against.
const fs = require('fs');
const path = require('path');

const ROOT = path.resolve(__dirname, '..', '..');

/** ZUNRUNC, or the native build's zunrunc (tools/zun test builds it first). */
function zunrunc() {
  const program = process.env.ZUNRUNC || path.join(ROOT, 'build', 'native', 'hosts', 'zunrunc');
  if (!fs.existsSync(program)) throw new Error(`${program} is missing: build it (cmake --build --preset native --target zunrunc) or set ZUNRUNC`);
  return program;
}

module.exports = { ROOT, zunrunc };
