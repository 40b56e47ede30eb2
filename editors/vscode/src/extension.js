'use strict';
// The ZUN Script extension: errors as you type (zunrunc --check), hovers and
// signature help from the manual, folding on braces, and the commands
// "Run script" and "Check script".
const vscode = require('vscode');
const path = require('path');
const fs = require('fs');
const { execFile, spawn } = require('child_process');
const host = require('./host');
const check = require('./check');
const lexer = require('./lexer');
const manualText = require('./manual');

const LANGUAGE = 'zunscript';
const CHECK_DELAY_MS = 300;

/** @type {import('./manual').Manual} */
let manual = { builtins: {}, keywords: {}, constants: {} };

const settings = () => vscode.workspace.getConfiguration('zunrun');

/** zunrunc's path, or null after telling the user where it was looked for (once per session). */
let toldMissing = false;
function zunrunc() {
  const found = host.findZunrunc(settings().get('zunruncPath', ''));
  if (!found.path && !toldMissing) {
    toldMissing = true;
    vscode.window
      .showWarningMessage(`ZUN Script: zunrunc was not found (looked in ${found.tried}).`, 'Open Settings')
      .then((choice) => choice && vscode.commands.executeCommand('workbench.action.openSettings', 'zunrun.zunruncPath'));
  }
  if (found.path) toldMissing = false;
  return found.path;
}

class Checker {
  constructor() {
    this.collection = vscode.languages.createDiagnosticCollection(LANGUAGE);
    this.timers = new Map();
  }

  /** Checks a document after a pause in typing. */
  schedule(document) {
    if (!isScript(document) || !['file', 'untitled'].includes(document.uri.scheme) || !settings().get('checkOnType', true)) return;
    const key = document.uri.toString();
    clearTimeout(this.timers.get(key));
    this.timers.set(
      key,
      setTimeout(() => {
        this.timers.delete(key);
        this.check(document);
      }, CHECK_DELAY_MS)
    );
  }

  /** @returns {Promise<number|null>} the number of errors, null when no check ran */
  async check(document) {
    const program = zunrunc();
    if (!program || document.isClosed) return null;
    const version = document.version;
    const text = document.getText();
    let result;
    try {
      result = text ? await check.runCheck(program, text) : { status: 0, stderr: '' };
    } catch (e) {
      vscode.window.showWarningMessage(`ZUN Script: could not run ${program}: ${e.message}`);
      return null;
    }
    if (document.isClosed || document.version !== version) return null; // a newer check follows
    const lines = text.split(/\r?\n/);
    const found = check.diagnosticsOf(result.stderr, lines).map((d) => {
      const diagnostic = new vscode.Diagnostic(new vscode.Range(d.line, d.start, d.line, d.end), d.message, vscode.DiagnosticSeverity.Error);
      diagnostic.source = 'zunrunc';
      return diagnostic;
    });
    if (result.status !== 0 && !found.length) {
      // zunrunc failed in a way the check's format does not cover: say so at the start.
      const first = result.stderr.split(/\r?\n/)[0] || `zunrunc --check ended with status ${result.status}`;
      found.push(new vscode.Diagnostic(new vscode.Range(0, 0, 0, 0), first, vscode.DiagnosticSeverity.Error));
    }
    this.collection.set(document.uri, found);
    return found.length;
  }

  forget(document) {
    clearTimeout(this.timers.get(document.uri.toString()));
    this.collection.delete(document.uri);
  }

  dispose() {
    for (const t of this.timers.values()) clearTimeout(t);
    this.collection.dispose();
  }
}

const isScript = (document) => document && document.languageId === LANGUAGE;

function activeScript() {
  const editor = vscode.window.activeTextEditor;
  if (editor && isScript(editor.document)) return editor.document;
  vscode.window.showInformationMessage('ZUN Script: open a .zunscript file first.');
  return null;
}

let terminal = null;

/** Saves the script, then runs it: zunrun.exe on Windows, zunrunc in a terminal elsewhere. */
async function runScript() {
  const document = activeScript();
  if (!document) return;
  if (document.isUntitled || document.isDirty) {
    if (!(await document.save()) || document.isUntitled) return;
  }
  const file = document.uri.fsPath;
  if (process.platform === 'win32') {
    const exe = host.findZunrun(host.findZunrunc(settings().get('zunruncPath', '')).path);
    if (!exe) {
      vscode.window.showWarningMessage('ZUN Script: zunrun.exe was not found beside zunrunc, in the install folder or on PATH.');
      return;
    }
    spawn(exe, [file], { detached: true, stdio: 'ignore', cwd: path.dirname(file) }).unref();
    return;
  }
  const program = zunrunc();
  if (!program) return;
  if (!terminal || terminal.exitStatus !== undefined) terminal = vscode.window.createTerminal({ name: 'ZUN Script', cwd: path.dirname(file) });
  terminal.show(true);
  terminal.sendText(`${host.shellQuote(program)} ${host.shellQuote(file)}`);
}

async function checkScript(checker) {
  const document = activeScript();
  if (!document) return;
  const errors = await checker.check(document);
  if (errors === 0) vscode.window.showInformationMessage('ZUN Script: zunrunc --check found no error.');
  else if (errors) vscode.commands.executeCommand('workbench.actions.view.problems');
}

/** The full entry of a name, as `zunrunc --help NAME` prints it, in an editor beside. */
function showHelp(name) {
  const program = zunrunc();
  if (!program || typeof name !== 'string') return;
  execFile(program, ['--help', name], { windowsHide: true }, async (error, stdout, stderr) => {
    if (error && !stdout) {
      vscode.window.showWarningMessage(`ZUN Script: zunrunc --help ${name}: ${(stderr || error.message).trim()}`);
      return;
    }
    const document = await vscode.workspace.openTextDocument({ content: stdout, language: 'plaintext' });
    vscode.window.showTextDocument(document, { viewColumn: vscode.ViewColumn.Beside, preview: true });
  });
}

const hoverProvider = {
  provideHover(document, position) {
    const tokens = lexer.tokenize(document.getText());
    const token = lexer.tokenAt(tokens, document.offsetAt(position));
    if (!token || token.kind !== 'word') return null;
    const markdown = manualText.hoverMarkdown(manual, token.text);
    if (!markdown) return null;
    const text = new vscode.MarkdownString(markdown);
    text.isTrusted = { enabledCommands: ['zunrun.showHelp'] };
    return new vscode.Hover(text, new vscode.Range(document.positionAt(token.start), document.positionAt(token.end)));
  },
};

const signatureProvider = {
  provideSignatureHelp(document, position) {
    const call = lexer.callAt(lexer.tokenize(document.getText()), document.offsetAt(position));
    const help = call && manualText.signatureHelp(manual, call.name, call.argument);
    if (!help) return null;
    const result = new vscode.SignatureHelp();
    result.signatures = help.signatures.map((s) => {
      const info = new vscode.SignatureInformation(s.label, s.documentation);
      info.parameters = s.parameters.map((p) => new vscode.ParameterInformation([p.start, p.end]));
      return info;
    });
    result.activeSignature = help.activeSignature;
    result.activeParameter = help.activeParameter;
    return result;
  },
};

const foldingProvider = {
  provideFoldingRanges(document) {
    return lexer
      .foldingRanges(document.getText())
      .map((r) => new vscode.FoldingRange(r.start, r.end, r.comment ? vscode.FoldingRangeKind.Comment : undefined));
  },
};

/** @param {import('vscode').ExtensionContext} context */
function activate(context) {
  const data = path.join(context.extensionPath, 'data', 'manual.json');
  if (fs.existsSync(data)) manual = JSON.parse(fs.readFileSync(data, 'utf8'));
  const checker = new Checker();
  const selector = { language: LANGUAGE };
  context.subscriptions.push(
    checker,
    vscode.languages.registerHoverProvider(selector, hoverProvider),
    vscode.languages.registerSignatureHelpProvider(selector, signatureProvider, '(', ','),
    vscode.languages.registerFoldingRangeProvider(selector, foldingProvider),
    vscode.commands.registerCommand('zunrun.runScript', runScript),
    vscode.commands.registerCommand('zunrun.checkScript', () => checkScript(checker)),
    vscode.commands.registerCommand('zunrun.showHelp', showHelp),
    vscode.workspace.onDidOpenTextDocument((d) => checker.schedule(d)),
    vscode.workspace.onDidChangeTextDocument((e) => checker.schedule(e.document)),
    vscode.workspace.onDidCloseTextDocument((d) => checker.forget(d)),
    vscode.workspace.onDidChangeConfiguration((e) => {
      if (!e.affectsConfiguration('zunrun')) return;
      if (!settings().get('checkOnType', true)) checker.collection.clear();
      vscode.workspace.textDocuments.forEach((d) => checker.schedule(d));
    }),
    { dispose: () => terminal && terminal.dispose() }
  );
  vscode.workspace.textDocuments.forEach((d) => checker.schedule(d));
  return { checker, manual };
}

function deactivate() {}

module.exports = { activate, deactivate };
