// The help's search box. The index is a script of its own (search-index.js,
// window.ZUN_SEARCH), so the search works from the disk without a server.
// Each entry: [kind, name, where, summary, url from the help's folder, words].
(function () {
  'use strict';

  var KINDS = { builtin: 'built-in', constant: 'constant', keyword: 'keyword', heading: '' };

  function allIn(words, text) {
    for (var i = 0; i < words.length; i++) if (text.indexOf(words[i]) < 0) return false;
    return true;
  }

  // How well an entry answers the query: exact names first, then names that
  // start with it, then titles, summaries and the words under a heading.
  function score(entry, query, lower, words) {
    var named = entry[0] !== 'heading';
    var name = entry[1], nameLower = name.toLowerCase();
    if (named && name === query) return 1000;
    if (named && nameLower === lower) return 900;
    if (nameLower === lower) return 850;
    if (nameLower.indexOf(lower) === 0) return 700 + (named ? 50 : 0) - Math.min(nameLower.length - lower.length, 99);
    if (allIn(words, nameLower)) return 500 + (named ? 20 : 0);
    var about = (entry[2] + ' ' + entry[3]).toLowerCase();
    if (allIn(words, nameLower + ' ' + about)) return 300;
    if (words.every(function (w) { return w.length > 1; }) && allIn(words, nameLower + ' ' + about + ' ' + entry[5])) return 100;
    return 0;
  }

  function search(entries, query, limit) {
    query = query.trim();
    var lower = query.toLowerCase();
    var words = lower.split(/\s+/).filter(Boolean);
    if (!words.length) return [];
    var found = [];
    for (var i = 0; i < entries.length; i++) {
      var s = score(entries[i], query, lower, words);
      if (s > 0) found.push({ score: s, index: i, entry: entries[i] });
    }
    found.sort(function (a, b) {
      return b.score - a.score || a.entry[1].length - b.entry[1].length || a.index - b.index;
    });
    return found.slice(0, limit || 40).map(function (f) { return f.entry; });
  }

  if (typeof module !== 'undefined' && module.exports) module.exports = { search: search };
  if (typeof document === 'undefined') return;

  var script = document.currentScript;
  var root = (script && script.getAttribute('data-root')) || '';
  var input = document.getElementById('search');
  var box = document.getElementById('search-results');
  if (!input || !box) return;
  var entries = window.ZUN_SEARCH || [];
  var active = -1;

  function detail(entry) {
    if (entry[0] === 'builtin') return entry[2] + (entry[3] ? ' · ' + entry[3] : '');
    if (entry[0] === 'constant') return '= ' + entry[2] + ' · ' + entry[3];
    return entry[2] || entry[3] || '';
  }

  function element(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text) e.textContent = text;
    return e;
  }

  function show(query) {
    var results = search(entries, query);
    box.textContent = '';
    active = -1;
    if (!query.trim()) { box.hidden = true; return; }
    if (!results.length) box.appendChild(element('div', 'none', 'Nothing found for \u201c' + query.trim() + '\u201d.'));
    results.forEach(function (entry) {
      var a = element('a', 'result');
      a.href = root + entry[4];
      a.setAttribute('role', 'option');
      if (KINDS[entry[0]]) a.appendChild(element('span', 'kind', KINDS[entry[0]]));
      a.appendChild(element('span', 'name', entry[1]));
      var d = detail(entry);
      if (d) a.appendChild(element('span', 'detail', d));
      box.appendChild(a);
    });
    box.hidden = false;
  }

  function move(step) {
    var links = box.querySelectorAll('a');
    if (!links.length) return;
    if (active >= 0) links[active].classList.remove('active');
    active = (active + step + links.length) % links.length;
    links[active].classList.add('active');
    links[active].scrollIntoView({ block: 'nearest' });
  }

  input.addEventListener('input', function () { show(input.value); });
  input.addEventListener('focus', function () { if (input.value.trim()) show(input.value); });
  input.addEventListener('keydown', function (e) {
    if (e.key === 'ArrowDown') { move(1); e.preventDefault(); }
    else if (e.key === 'ArrowUp') { move(-1); e.preventDefault(); }
    else if (e.key === 'Escape') { input.value = ''; show(''); }
    else if (e.key === 'Enter') {
      var links = box.querySelectorAll('a');
      var pick = links[active >= 0 ? active : 0];
      if (pick) window.location.href = pick.href;
    }
  });
  document.addEventListener('click', function (e) {
    if (!box.contains(e.target) && e.target !== input) box.hidden = true;
  });
  document.addEventListener('keydown', function (e) {
    if (e.key === '/' && document.activeElement !== input) { input.focus(); e.preventDefault(); }
  });
  // search.html?q=... or any page with ?q=: open with that search.
  var asked = /[?&]q=([^&]*)/.exec(window.location.search);
  if (asked) {
    input.value = decodeURIComponent(asked[1].replace(/\+/g, ' '));
    show(input.value);
  }
})();
