'use strict';
// Where the programs are: zunrunc from the setting, else on PATH, else in the
// install folder; zunrun.exe (Windows) beside that zunrunc, else in the
// install folder, else on PATH.
const fs = require('fs');
const path = require('path');

/**
 * @typedef {{platform: string, env: Object<string, string|undefined>, isFile: (p: string) => boolean}} Machine
 */

/** The machine this runs on. */
function thisMachine() {
  return {
    platform: process.platform,
    env: process.env,
    isFile: (p) => {
      try {
        if (!fs.statSync(p).isFile()) return false;
        if (process.platform !== 'win32') fs.accessSync(p, fs.constants.X_OK);
        return true;
      } catch {
        return false;
      }
    },
  };
}

const pathsOf = (machine) => (machine.platform === 'win32' ? path.win32 : path.posix);

/** %LOCALAPPDATA%\Programs\ZunRun on Windows (the installer's folder), else null. */
function installFolder(machine) {
  const base = machine.env.LOCALAPPDATA;
  return machine.platform === 'win32' && base ? path.win32.join(base, 'Programs', 'ZunRun') : null;
}

function onPath(machine, file) {
  const p = pathsOf(machine);
  // Windows keeps the variable as "Path"; node's env object ignores the case
  // there, a test's plain object does not.
  const value = machine.env.PATH || machine.env.Path || '';
  for (const dir of value.split(p.delimiter)) {
    const bare = dir.replace(/^"(.*)"$/, '$1');
    if (!bare) continue;
    const candidate = p.join(bare, file);
    if (machine.isFile(candidate)) return candidate;
  }
  return null;
}

/**
 * @param {string} setting  zunrun.zunruncPath: a program, or a folder holding it; '' when unset
 * @returns {{path: string|null, tried: string}}  tried: where it was looked for, for the message
 */
function findZunrunc(setting, machine = thisMachine()) {
  const p = pathsOf(machine);
  const exe = machine.platform === 'win32' ? 'zunrunc.exe' : 'zunrunc';
  if (setting) {
    const candidates = [setting, p.join(setting, exe)];
    const found = candidates.find((c) => machine.isFile(c));
    return { path: found || null, tried: `the setting zunrun.zunruncPath (${setting})` };
  }
  const folder = installFolder(machine);
  const found = onPath(machine, exe) || (folder && machine.isFile(p.join(folder, exe)) ? p.join(folder, exe) : null);
  return { path: found, tried: folder ? `PATH and ${folder}` : 'PATH' };
}

/** zunrun.exe for running a script on the desktop (Windows only). */
function findZunrun(zunruncPath, machine = thisMachine()) {
  const exe = 'zunrun.exe';
  const folder = installFolder(machine);
  const candidates = [zunruncPath && path.win32.join(path.win32.dirname(zunruncPath), exe), folder && path.win32.join(folder, exe)];
  return candidates.find((c) => c && machine.isFile(c)) || onPath(machine, exe);
}

/** A path as one word of a POSIX shell's command line. */
function shellQuote(word) {
  return /^[\w@%+=:,./-]+$/.test(word) ? word : `'${word.replace(/'/g, `'\\''`)}'`;
}

module.exports = { findZunrunc, findZunrun, installFolder, shellQuote, thisMachine };
