'use strict';
// Finding zunrunc and zunrun.exe on a machine described by a table of files.
const test = require('node:test');
const assert = require('node:assert');
const host = require('../src/host');

const LOCAL = 'C:\\Users\\ann\\AppData\\Local';
const INSTALLED = `${LOCAL}\\Programs\\ZunRun`;

function windows(files, env = {}) {
  return { platform: 'win32', env: { LOCALAPPDATA: LOCAL, ...env }, isFile: (p) => files.includes(p) };
}
function linux(files, env = {}) {
  return { platform: 'linux', env, isFile: (p) => files.includes(p) };
}

// setting, machine, expected path (null: not found)
const ZUNRUNC = [
  ['a program in the setting wins over PATH', '/opt/z/zunrunc', linux(['/opt/z/zunrunc', '/usr/bin/zunrunc'], { PATH: '/usr/bin' }), '/opt/z/zunrunc'],
  ['a folder in the setting', '/opt/z', linux(['/opt/z/zunrunc']), '/opt/z/zunrunc'],
  ['a setting that names nothing is not replaced by PATH', '/opt/none', linux(['/usr/bin/zunrunc'], { PATH: '/usr/bin' }), null],
  ['PATH, in order', '', linux(['/b/zunrunc', '/c/zunrunc'], { PATH: '/a::/b:/c' }), '/b/zunrunc'],
  ['nothing on Linux', '', linux([], { PATH: '/usr/bin' }), null],
  ['Windows: PATH before the install folder', '', windows(['D:\\tools\\zunrunc.exe', `${INSTALLED}\\zunrunc.exe`], { PATH: 'C:\\Windows;"D:\\tools"' }), 'D:\\tools\\zunrunc.exe'],
  ['Windows: "Path" as Windows spells it', '', windows(['D:\\tools\\zunrunc.exe'], { Path: 'D:\\tools' }), 'D:\\tools\\zunrunc.exe'],
  ['Windows: the install folder', '', windows([`${INSTALLED}\\zunrunc.exe`], { PATH: 'C:\\Windows' }), `${INSTALLED}\\zunrunc.exe`],
  ['Windows: only zunrunc.exe counts', '', windows(['C:\\Windows\\zunrunc'], { PATH: 'C:\\Windows' }), null],
  ['Windows: a folder in the setting', 'E:\\ZunRun', windows(['E:\\ZunRun\\zunrunc.exe']), 'E:\\ZunRun\\zunrunc.exe'],
];

test('zunrunc: the setting, else PATH, else the install folder', () => {
  for (const [what, setting, machine, expected] of ZUNRUNC) assert.strictEqual(host.findZunrunc(setting, machine).path, expected, what);
});

test('where zunrunc was looked for, for the message', () => {
  assert.strictEqual(host.findZunrunc('', windows([])).tried, `PATH and ${INSTALLED}`);
  assert.strictEqual(host.findZunrunc('', linux([])).tried, 'PATH');
  assert.match(host.findZunrunc('/opt/none', linux([])).tried, /zunrun\.zunruncPath \(\/opt\/none\)/);
  assert.strictEqual(host.installFolder(windows([], { LOCALAPPDATA: undefined })), null);
});

test('zunrun.exe: beside zunrunc, else the install folder, else PATH', () => {
  const cases = [
    ['D:\\tools\\zunrunc.exe', windows(['D:\\tools\\zunrun.exe', `${INSTALLED}\\zunrun.exe`]), 'D:\\tools\\zunrun.exe'],
    ['D:\\tools\\zunrunc.exe', windows([`${INSTALLED}\\zunrun.exe`, 'E:\\zunrun.exe'], { PATH: 'E:\\' }), `${INSTALLED}\\zunrun.exe`],
    [null, windows(['E:\\bin\\zunrun.exe'], { PATH: 'E:\\bin' }), 'E:\\bin\\zunrun.exe'],
    [null, windows([]), null],
  ];
  for (const [zunrunc, machine, expected] of cases) assert.strictEqual(host.findZunrun(zunrunc, machine), expected);
});

test('paths quoted for the terminal', () => {
  const cases = [
    ['/home/ann/a.zunscript', '/home/ann/a.zunscript'],
    ['/home/ann/my scripts/a.zunscript', "'/home/ann/my scripts/a.zunscript'"],
    ["/tmp/it's $HOME.zunscript", "'/tmp/it'\\''s $HOME.zunscript'"],
  ];
  for (const [path, quoted] of cases) assert.strictEqual(host.shellQuote(path), quoted);
});
