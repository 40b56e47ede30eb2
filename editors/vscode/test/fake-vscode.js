'use strict';
// The part of the vscode module the extension uses, recording what it is
// given, so that its glue can run under node's test runner.
const Module = require('module');

class Position {
  constructor(line, character) {
    Object.assign(this, { line, character });
  }
}
class Range {
  constructor(a, b, c, d) {
    [this.start, this.end] = a instanceof Position ? [a, b] : [new Position(a, b), new Position(c, d)];
  }
}
class Diagnostic {
  constructor(range, message, severity) {
    Object.assign(this, { range, message, severity });
  }
}
class MarkdownString {
  constructor(value) {
    this.value = value;
  }
}
class Hover {
  constructor(contents, range) {
    Object.assign(this, { contents, range });
  }
}
class SignatureHelp {}
class SignatureInformation {
  constructor(label, documentation) {
    Object.assign(this, { label, documentation, parameters: [] });
  }
}
class ParameterInformation {
  constructor(label) {
    this.label = label;
  }
}
class FoldingRange {
  constructor(start, end, kind) {
    Object.assign(this, { start, end, kind });
  }
}

function emitter() {
  const listeners = [];
  const event = (listener) => {
    listeners.push(listener);
    return { dispose() {} };
  };
  event.fire = (value) => listeners.forEach((l) => l(value));
  return event;
}

/** A text document over a string, with the offsets VS Code uses (UTF-16 units). */
function document(text, { languageId = 'zunscript', fsPath = '/tmp/test.zunscript', scheme = 'file' } = {}) {
  const doc = {
    uri: { scheme, fsPath, toString: () => `${scheme}://${fsPath}` },
    languageId,
    version: 1,
    isClosed: false,
    isDirty: false,
    isUntitled: false,
    getText: () => text,
    setText(newText) {
      text = newText;
      doc.version++;
    },
    offsetAt(p) {
      const lines = text.split('\n');
      return lines.slice(0, p.line).reduce((n, l) => n + l.length + 1, 0) + p.character;
    },
    positionAt(offset) {
      const before = text.slice(0, offset).split('\n');
      return new Position(before.length - 1, before[before.length - 1].length);
    },
    save: async () => true,
  };
  return doc;
}

function createFake() {
  const recorded = { providers: {}, commands: {}, messages: [], diagnostics: new Map(), executed: [], terminals: [] };
  const settings = {};
  const vscode = {
    Position, Range, Diagnostic, MarkdownString, Hover, SignatureHelp, SignatureInformation, ParameterInformation, FoldingRange,
    DiagnosticSeverity: { Error: 0, Warning: 1 },
    FoldingRangeKind: { Comment: 1 },
    ViewColumn: { Beside: -2 },
    languages: {
      createDiagnosticCollection: () => ({
        set: (uri, list) => recorded.diagnostics.set(uri.toString(), list),
        delete: (uri) => recorded.diagnostics.delete(uri.toString()),
        clear: () => recorded.diagnostics.clear(),
        dispose() {},
      }),
      registerHoverProvider: (selector, provider) => ((recorded.providers.hover = { selector, provider }), { dispose() {} }),
      registerSignatureHelpProvider: (selector, provider, ...triggers) => ((recorded.providers.signature = { selector, provider, triggers }), { dispose() {} }),
      registerFoldingRangeProvider: (selector, provider) => ((recorded.providers.folding = { selector, provider }), { dispose() {} }),
    },
    commands: {
      registerCommand: (id, fn) => ((recorded.commands[id] = fn), { dispose() {} }),
      executeCommand: async (...args) => recorded.executed.push(args),
    },
    workspace: {
      getConfiguration: () => ({ get: (key, fallback) => (key in settings ? settings[key] : fallback) }),
      onDidOpenTextDocument: emitter(),
      onDidChangeTextDocument: emitter(),
      onDidCloseTextDocument: emitter(),
      onDidChangeConfiguration: emitter(),
      textDocuments: [],
      openTextDocument: async (options) => ({ ...options }),
    },
    window: {
      activeTextEditor: undefined,
      showWarningMessage: async (text) => (recorded.messages.push(['warning', text]), undefined),
      showInformationMessage: async (text) => (recorded.messages.push(['information', text]), undefined),
      showTextDocument: async (doc) => recorded.executed.push(['showTextDocument', doc]),
      createTerminal(options) {
        const terminal = { options, sent: [], exitStatus: undefined, show() {}, sendText: (text) => terminal.sent.push(text), dispose() {} };
        recorded.terminals.push(terminal);
        return terminal;
      },
    },
  };
  return { vscode, recorded, settings };
}

/** Makes require('vscode') answer `fake` for the code loaded after it. */
function install(fake) {
  const resolve = Module._resolveFilename;
  Module._resolveFilename = function (request, ...rest) {
    return request === 'vscode' ? 'vscode' : resolve.call(this, request, ...rest);
  };
  require.cache.vscode = { id: 'vscode', filename: 'vscode', loaded: true, exports: fake };
}

module.exports = { createFake, install, document, Position };
