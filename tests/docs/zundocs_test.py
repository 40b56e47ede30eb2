#!/usr/bin/env python3
"""zundocs.py on a small manual of its own (tests/docs/complete): the whole
manual passes every check, and each fault planted in a copy of it is
reported, all at once. Also the anchors, the highlighting, the generated
pages and the search; and the messages check on a small source tree of its
own (tests/docs/messages), the same way."""

import importlib.util
import json
import pathlib
import re
import shutil
import subprocess
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]
_spec = importlib.util.spec_from_file_location("zundocs", ROOT / "tools/docs/zundocs.py")
zundocs = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(zundocs)

COMPLETE = HERE / "complete"
NAMES = zundocs.Names((COMPLETE / "names.list").read_text(encoding="utf-8"))


class Manual:
    """A copy of the complete manual to plant faults in."""

    def __enter__(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="zundocs-test-")
        self.docs = pathlib.Path(self.tmp.name, "docs")
        shutil.copytree(COMPLETE / "docs", self.docs)
        return self

    def __exit__(self, *exc):
        self.tmp.cleanup()

    def edit(self, path, old, new):
        file = self.docs / path
        text = file.read_text(encoding="utf-8")
        assert old in text, f"{old!r} not in {path}"
        file.write_text(text.replace(old, new, 1), encoding="utf-8")

    def build(self):
        site = zundocs.Site(self.docs, NAMES)
        out = pathlib.Path(self.tmp.name, "html")
        site.build(out)
        return site, out


def build_complete(tmp):
    site = zundocs.Site(COMPLETE / "docs", NAMES)
    out = pathlib.Path(tmp, "html")
    site.build(out)
    return site, out


class Anchors(unittest.TestCase):
    def test_headings_become_github_anchors(self):
        cases = [
            ("strsub", "strsub"),
            ("If and else", "if-and-else"),
            ("Message box buttons (`MB_`)".replace("`", ""), "message-box-buttons-mb_"),
            ("The engine's own", "the-engines-own"),
            ("Exit statuses: 0 to 3", "exit-statuses-0-to-3"),
            ("a  b", "a--b"),
            ("Café → menu", "café--menu"),
        ]
        for text, anchor in cases:
            self.assertEqual(zundocs.slug(text), anchor, text)

    def test_repeated_headings_are_numbered(self):
        with Manual() as m:
            m.edit("keywords.md", "## or\n", "## or\n\n### Example\n\n## Example\n")
            site, _ = m.build()
            self.assertEqual([i for _, t, i in site.pages["keywords.md"].headings if t == "Example"],
                             ["example", "example-1"])


class Coverage(unittest.TestCase):
    def test_the_complete_manual_has_no_problems(self):
        self.assertEqual(zundocs.coverage_problems(NAMES, COMPLETE / "docs"), [])

    def test_every_fault_is_reported(self):
        with Manual() as m:
            m.edit("builtins/strings.md", "`strlen(text)` → int", "`strlen(text)` returns an int")
            m.edit("builtins/strings.md", "**On Linux.** The same.\n\n```zunscript\nprint(str(", "```zunscript\nprint(str(")
            m.edit("builtins/strings.md", "## strsub", "## strstr")
            m.edit("builtins/common.md", "Shows a text in a box and returns the button that closed it.",
                   "Shows a text in a box. Returns the button.")
            m.edit("builtins/common.md", "**Errors.** None of its own.", "**Erors.** None of its own.")
            m.edit("builtins/common.md", "**Result.** As for `MessageBox`.\n\n**Errors.** As for `MessageBox`.",
                   "**Errors.** As for `MessageBox`.\n\n**Result.** As for `MessageBox`.")
            m.edit("builtins/common.md", "```zunscript\nprint(\"hi\");\n```\n\n```output\nhi\n```\n", "")
            (m.docs / "builtins/windows.md").write_text("# Windows\n\n## strlen\n\nAgain.\n", encoding="utf-8")
            m.edit("keywords.md", "## not\n", "## Not\n")
            m.edit("constants.md", "| `ID` | Message box answers | What a box returns. |\n",
                   "| `WM_` | Window messages | Sent to windows. |\n")
            problems = zundocs.coverage_problems(NAMES, m.docs)
        problems = [p.replace(str(m.docs), "docs") for p in problems]
        self.assertEqual(problems, [
            "docs/builtins/common.md:5: MessageBox: the second paragraph is not one plain summary sentence",
            "docs/builtins/common.md:5: MessageBox: no **Errors.** paragraph",
            "docs/builtins/common.md:28: print: the labelled paragraphs are not in the order **Result.**, "
            "**Errors.**, **Last error.**, **On Linux.**",
            "docs/builtins/common.md:28: print: no ```zunscript example",
            "docs/builtins/strings.md:5: strlen: the first paragraph is not the call form "
            "(`strlen(...)` → type, one form a line)",
            "docs/builtins/strings.md:5: strlen: no **On Linux.** paragraph",
            "strsub: no `## strsub` entry in docs/builtins/*.md",
            "docs/builtins/strings.md:29: `## strstr` is not a built-in name",
            "docs/builtins/windows.md:3: a second `## strlen` entry (the first is at docs/builtins/strings.md:5)",
            "not: no `## not` section in docs/keywords.md",
            "constants ID: no row in the group table of docs/constants.md",
            "docs/constants.md: the group WM_ has no constants",
        ])


class Links(unittest.TestCase):
    def test_the_complete_manual_holds(self):
        with tempfile.TemporaryDirectory() as tmp:
            site, out = build_complete(tmp)
            self.assertEqual(zundocs.site_problems(out, site), [])

    def test_every_broken_link_and_unlisted_page_is_reported(self):
        with Manual() as m:
            m.edit("getting-started.md", "[strsub](builtins/strings.md#strsub)", "[strsub](builtins/string.md#strsub)")
            m.edit("getting-started.md", "constants.md#message-box-buttons-mb_", "constants.md#mb_")
            m.edit("getting-started.md", "[MB_YESNO](constants.md#MB_YESNO)", "[MB_YESNO](constants.md#MB_YESNOX)")
            m.edit("recipes/ask.md", "common.md#print", "common.md#Print")
            m.edit("builtins/strings.md", "[strlen](#strlen)", "[strlen](#strln)")
            (m.docs / "box.png").unlink()
            (m.docs / "faq.md").write_text("# Questions\n\nNone yet.\n", encoding="utf-8")
            site, out = m.build()
            problems = zundocs.site_problems(out, site)
        self.assertEqual(sorted(problems), sorted([
            "docs/faq.md: not in the help's contents (CONTENTS in tools/docs/zundocs.py)",
            "builtins/strings.html: #strln leads to no anchor #strln",
            "getting-started.html: builtins/string.html#strsub leads to no file of the help",
            "getting-started.html: constants.html#mb_ leads to no anchor #mb_",
            "getting-started.html: constants.html#MB_YESNOX leads to no anchor #MB_YESNOX",
            "getting-started.html: box.png leads to no file of the help",
            "recipes/ask.html: ../builtins/common.html#Print leads to no anchor #Print",
        ]))


class Pages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.site, cls.out = build_complete(cls.tmp.name)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, page):
        return (self.out / page).read_text(encoding="utf-8")

    def test_every_page_has_the_contents_search_and_its_own_anchors(self):
        for page in ["index.html", "builtins/strings.html", "recipes/ask.html", "names.html", "constants.html"]:
            text = self.read(page)
            root = "../" if "/" in page else ""
            self.assertIn(f'<a href="{root}builtins/common.html"', text, page)
            self.assertIn(f'<a href="{root}names.html"', text, page)
            self.assertIn(f'<script src="{root}search-index.js"></script>', text, page)
            self.assertIn('id="search"', text, page)
        self.assertIn('<a href="../keywords.html#if">', self.read("builtins/strings.html"))

    def test_the_constants_tables_come_from_the_list(self):
        text = self.read("constants.html")
        rows = re.findall(r'<tr id="([^"]+)">\n<td><code>([^<]+)</code></td>\n<td><code>([^<]+)</code></td>', text)
        self.assertEqual([(name, name, value) for name, value, _ in NAMES.constants],
                         [(i, n, v.replace("&quot;", '"')) for i, n, v in rows])
        self.assertIn('<h3 id="message-box-answers-id">Message box answers (<code>ID</code>)', text)
        self.assertIn('<h3 id="the-engines-own">', text)

    def test_the_index_lists_every_name_with_its_link(self):
        text = self.read("names.html")
        self.assertIn('<td><a href="builtins/strings.html#strsub"><code>strsub</code></a></td>\n<td>Strings</td>\n'
                      "<td>The part of a text between two positions, or the one character at a position.</td>", text)
        for name, _, _ in NAMES.constants:
            self.assertIn(f'<a href="constants.html#{name}"><code>{name}</code></a>', text)
        self.assertIn('<a href="constants.html#message-box-buttons-mb_">Message box buttons (MB_)</a>', text)
        names = re.findall(r"<td><a href=\"builtins/[^\"]+\"><code>([^<]+)</code>", text)
        self.assertEqual(names, ["MessageBox", "print", "strlen", "strsub"])

    def test_the_front_page_lists_the_contents(self):
        text = self.read("index.html")
        self.assertIn('<a href="builtins/strings.html">Strings</a>: <a href="builtins/strings.html#strlen">'
                      "<code>strlen</code></a>, <a href=\"builtins/strings.html#strsub\"><code>strsub</code></a>", text)
        self.assertIn('<a href="recipes/ask.html">Ask a question</a>', text)
        self.assertNotIn("<!-- contents -->", text)

    def test_blocks_are_labelled_and_scripts_highlighted(self):
        text = self.read("builtins/strings.html")
        self.assertIn('<div class="block block-script"><div class="block-label">Example</div><pre><code>'
                      '<span class="t-fn">print</span>(<span class="t-fn">strsub</span>(<span class="t-string">'
                      '"hello"</span>, <span class="t-number">1</span>, <span class="t-number">3</span>));', text)
        self.assertIn('<div class="block block-output"><div class="block-label">Output: what the script prints</div>'
                      "<pre><code>ell\n", text)
        self.assertIn('<div class="block block-error"><div class="block-label">Error: the line the script stops with',
                      text)

    def test_the_highlighter_knows_each_kind_of_token(self):
        highlight = zundocs.Highlighter(NAMES)
        script = 'var $a = "x\\"<" AND 0x1F; // note\n/* a\nb */ if (strlen($a) == MB_OK) nosuch(1.5);'
        self.assertEqual(highlight(script), (
            '<span class="t-kw">var</span> <span class="t-variable">$a</span> = '
            '<span class="t-string">"x\\"&lt;"</span> <span class="t-kw">AND</span> '
            '<span class="t-number">0x1F</span>; <span class="t-comment">// note</span>\n'
            '<span class="t-comment">/* a\nb */</span> <span class="t-kw">if</span> '
            '(<span class="t-fn">strlen</span>(<span class="t-variable">$a</span>) == '
            '<span class="t-const">MB_OK</span>) nosuch(<span class="t-number">1.5</span>);'))

    def test_search_finds_exact_names_first(self):
        node = shutil.which("node") or shutil.which("nodejs")
        if not node:
            self.skipTest("node is not installed (tools/zun setup installs it)")
        program = """
            const fs = require('fs');
            global.window = {};
            eval(fs.readFileSync(process.argv[1], 'utf8'));
            const {search} = require(process.argv[2]);
            const out = {};
            for (const q of JSON.parse(process.argv[3])) out[q] = search(window.ZUN_SEARCH, q, 5).map(e => [e[0], e[1], e[4]]);
            console.log(JSON.stringify(out));
        """
        queries = ["strsub", "STRSUB", "MB_", "mb_yesno", "question", "box returns", "zzz"]
        done = subprocess.run([node, "-e", program, str(self.out / "search-index.js"), str(self.out / "search.js"),
                               json.dumps(queries)], capture_output=True, text=True, check=True)
        found = json.loads(done.stdout)
        self.assertEqual(found["strsub"][0], ["builtin", "strsub", "builtins/strings.html#strsub"])
        self.assertEqual(found["STRSUB"][0][1], "strsub")
        self.assertEqual([e[1] for e in found["MB_"][:2]], ["MB_OK", "MB_YESNO"])
        self.assertEqual(found["mb_yesno"][0], ["constant", "MB_YESNO", "constants.html#MB_YESNO"])
        self.assertEqual(found["question"][0], ["heading", "Ask a question", "recipes/ask.html"])
        self.assertIn(["builtin", "MessageBox", "builtins/common.html#messagebox"], found["box returns"])
        self.assertEqual(found["zzz"], [])


MESSAGES = HERE / "messages"
FIXTURE_SOURCES = ["engine", "hosts", "resources/zunrun.rc"]


class Messages(unittest.TestCase):
    """The messages check on a small tree of its own (tests/docs/messages):
    it holds as it is, and every fault planted in a copy is reported."""

    def check(self, root, sources=FIXTURE_SOURCES):
        return zundocs.messages_problems(root, root / "docs", root / "not-messages.txt", sources)

    def test_literals_are_read_as_the_compiler_sees_them(self):
        code = ('// "comment"\n#include "x.h"\nf("a\\"b", \'"\', u"\\u0142\\x41\\n");\n'
                '/* "block" */ g(L"one " "two"); { h("three"); }\n')
        found = [(lit.line, lit.statement, lit.raw, lit.text) for lit in zundocs.literals_in("x.cpp", code)]
        self.assertEqual(found, [(3, 0, 'a\\"b', 'a"b'), (3, 0, "\\u0142\\x41\\n", "\u0142A\n"),
                                 (4, 1, "one ", "one "), (4, 1, "two", "two"), (4, 3, "three", "three")])
        rc = zundocs.literals_in("x.rc", 'CAPTION "About &Fixture"\nLTEXT "A && B", 1\n')
        self.assertEqual([(lit.statement, lit.text) for lit in rc], [(1, "About Fixture"), (2, "A & B")])
        asserted = zundocs.literals_in("y.cpp", 'static_assert(sizeof(int) == 4,\n  "for the build");\nf("shown");\n')
        self.assertEqual([(lit.line, lit.text) for lit in asserted], [(3, "shown")])

    def test_the_fixture_has_no_problems(self):
        self.assertEqual(self.check(MESSAGES), [])

    def test_every_fault_is_reported(self):
        with tempfile.TemporaryDirectory(prefix="zundocs-messages-") as tmp:
            root = pathlib.Path(tmp, "tree")
            shutil.copytree(MESSAGES, root)

            def edit(path, old, new):
                file = root / path
                text = file.read_text(encoding="utf-8")
                self.assertIn(old, text, path)
                file.write_text(text.replace(old, new, 1), encoding="utf-8")

            # A new message, a word that is only part of a documented one, the
            # pieces of one message explained by two entries, a listed text
            # the code lost.
            edit("engine/run.cpp", '  e.Report(u"two pieces "',
                 '  e.Report("Disk is on fire");\n  e.Report("Scrip");\n'
                 '  e.Report(u"Unknown variable:" + e.Name() + u" of one text");\n  e.Report(u"two pieces "')
            edit("engine/run.cpp", 'L"utf-16", ', "")
            # An entry without its fix, one without its message or example,
            # one that explains nothing of the code.
            edit("docs/messages.md", "**Fix.** Declare it.\n", "")
            edit("docs/messages.md", "## The programs\n", "## The programs\n\n### Gone\n\n`A message of old`\n\n"
                 "**Meaning.** Removed.\n\n**Fix.** None.\n\n**Example.** None.\n\n"
                 "### Shapeless\n\n**Meaning.** Something.\n\n**Fix.** Nothing.\n")
            # List lines without a reason, unquoted, twice.
            edit("not-messages.txt", "# A format string\n", '"%s"\n# A format string\n')
            edit("not-messages.txt", '"MS Shell Dlg"\n', '"MS Shell Dlg"\nMS Shell Dlg\n"%d"\n')
            # Code in a folder that is not read, and a source that is gone.
            (root / "net").mkdir()
            (root / "net/socket.cpp").write_text('Report("Connection lost");\n', encoding="utf-8")
            problems = self.check(root, FIXTURE_SOURCES + ["runner"])
        self.maxDiff = None
        self.assertEqual(problems, [
            "runner: a source of messages that does not exist (MESSAGE_SOURCES in tools/docs/zundocs.py)",
            "net/socket.cpp: code that the messages check does not read "
            "(add it to MESSAGE_SOURCES or OTHER_CODE in tools/docs/zundocs.py)",
            'engine/run.cpp:13: "Disk is on fire" is explained by no entry of docs/messages.md and not listed in '
            "tools/docs/not-messages.txt",
            'engine/run.cpp:14: "Scrip" is explained by no entry of docs/messages.md and not listed in '
            "tools/docs/not-messages.txt",
            'engine/run.cpp:15: the parts "Unknown variable:", " of one text" of one message are in no one entry\'s '
            "message of docs/messages.md",
            f'{root}/not-messages.txt:6: "utf-16" is listed but no longer in the code',
            f"{root}/docs/messages.md:51: Gone: no text of the code is part of its message",
            f'{root}/not-messages.txt:1: "%s" has no `# reason` line above it',
            f"{root}/not-messages.txt:8: not a literal in double quotes, as the code spells it: MS Shell Dlg",
            f'{root}/not-messages.txt:9: "%d" is listed twice (first at line 3)',
            f"{root}/docs/messages.md:18: Unknown variable:NAME: no **Fix.** paragraph",
            f"{root}/docs/messages.md:61: Shapeless: the entry does not start with its message "
            "(code spans, or a ```text block)",
            f"{root}/docs/messages.md:61: Shapeless: no example (a fenced block, or an **Example.** paragraph that "
            "says why none)",
        ])


if __name__ == "__main__":
    unittest.main()
