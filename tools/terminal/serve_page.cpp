// The browser front end: one page and one script, ours, served as they stand
// (no build step, nothing fetched from elsewhere). The page asks for a
// session, opens windows, shows each as the live HTML the server pushes and
// posts the user's actions back.
#include "orbe/widgets/html_render.h"
#include "serve_http.h"

namespace orbe::terminal {
namespace {

constexpr const char kPageHead[] = R"(<!DOCTYPE html>
<html lang="zh"><head><meta charset="utf-8"><title>orbe</title><style>)";

constexpr const char kPageStyle[] = R"(
#bar{position:sticky;top:0;z-index:5;background:#1f3a5f;color:#fff;padding:6px 10px;display:flex;gap:14px;
 flex-wrap:wrap;align-items:center;font-family:sans-serif}
#bar button,#bar select,#bar input{font-size:12px}
#bar .group{display:flex;gap:4px;align-items:center;border-left:1px solid #5a7699;padding-left:10px}
#state{margin-left:auto;font-size:11px;opacity:.8}
#views{padding:8px}
.view{margin:0 0 12px 0;border:1px solid #8aa0bb;background:#fff;display:inline-block;vertical-align:top}
.view>header{background:#dfe7f1;padding:3px 6px;display:flex;gap:10px;align-items:center;font-weight:bold}
.view>header .status{font-weight:normal;color:#234}
.view>header .tools{margin-left:auto;display:flex;gap:6px;font-weight:normal}
.view.dialog{position:fixed;left:50%;top:60px;transform:translateX(-50%);z-index:20;box-shadow:0 4px 24px #0008}
.live{position:relative;overflow:auto;max-width:calc(100vw - 40px);max-height:80vh}
.live .w[data-kind="1"],.live .w[data-kind="5"],.live .w[data-kind="6"],.live .w[data-kind="8"],.live .w[data-kind="20"]{overflow:auto}
.live input[disabled],.live select[disabled]{pointer-events:none}
.live td[data-r]{cursor:default}.live td[data-edit]{cursor:text}
.live li[data-item]{cursor:default}.live li.sel{background:#cfe3ff}
.live .tab,.live label,.live .edit[data-edit]{cursor:pointer}
#notices{position:fixed;right:10px;bottom:10px;z-index:30;display:flex;flex-direction:column;gap:4px;max-width:40vw}
#notices div{background:#fff8d8;border:1px solid #c9b458;padding:6px 8px;box-shadow:0 2px 8px #0004}
#menu{position:fixed;z-index:40;background:#fff;border:1px solid #888;box-shadow:0 2px 10px #0006;min-width:140px}
#menu div{padding:3px 14px;cursor:pointer}#menu div:hover{background:#3399ff;color:#fff}
#menu div.off{color:#999;pointer-events:none}#menu hr{margin:2px 0}
.editor{position:absolute;z-index:10;font:inherit}
)";

constexpr const char kPageBody[] = R"(</style></head>
<body><div id="bar"><b>orbe</b><span id="features"></span><span id="state">connecting...</span></div>
<div id="views"></div><div id="notices"></div>
<script src="/app.js"></script></body></html>
)";

constexpr const char kScript[] = R"JS('use strict';
// One session per tab: asked for at load, ended when the tab goes.
const app = {session: null, views: new Map(), focus: null, source: null};
const $ = (tag, attrs = {}, text) => {
  const el = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) el.setAttribute(k, v);
  if (text !== undefined) el.textContent = text;
  return el;
};
const state = text => { document.getElementById('state').textContent = text; };

async function post(path, fields) {
  const response = await fetch('/api/s/' + app.session + '/' + path,
                               {method: 'POST', body: new URLSearchParams(fields)});
  const reply = await response.json().catch(() => ({error: 'bad reply'}));
  if (!response.ok) notice({box: 'error', text: reply.error || response.statusText});
  return reply;
}

function notice(n) {
  if (n.open && /^https?:/.test(n.open)) window.open(n.open, '_blank', 'noopener');
  const box = $('div', {'class': 'notice'}, n.open ? 'open: ' + n.open : (n.box ? '[' + n.box + '] ' : '') + n.text);
  document.getElementById('notices').append(box);
  setTimeout(() => box.remove(), 8000);
}

function viewOf(number) {
  let v = app.views.get(number);
  if (v) return v;
  const el = $('section', {'class': 'view', 'data-view': number});
  const header = $('header');
  const title = $('span', {'class': 'title'});
  const status = $('span', {'class': 'status'});
  const tools = $('span', {'class': 'tools'});
  const body = $('div', {'class': 'live'});
  header.append(title, status, tools);
  el.append(header, body);
  document.getElementById('views').append(el);
  v = {number, el, title, status, tools, body, formats: null};
  app.views.set(number, v);
  wire(v);
  return v;
}

// The live HTML replaces the old; scroll places and the focus survive it.
function show(data) {
  if (data.closed) {
    const v = app.views.get(data.view);
    if (v) { v.el.remove(); app.views.delete(data.view); }
    return;
  }
  const v = viewOf(data.view);
  v.el.classList.toggle('dialog', data.dialog);
  v.title.textContent = data.title;
  v.status.textContent = data.status;
  v.status.className = 'status';
  const scrolled = [...v.body.querySelectorAll('[data-h]')].filter(e => e.scrollTop || e.scrollLeft)
                       .map(e => [e.dataset.h, e.scrollTop, e.scrollLeft]);
  v.body.innerHTML = data.html;
  const root = v.body.firstElementChild;
  if (root) { v.body.style.width = root.style.width; v.body.style.height = root.style.height; }
  for (const [h, top, left] of scrolled) {
    const e = v.body.querySelector('[data-h="' + h + '"]');
    if (e) { e.scrollTop = top; e.scrollLeft = left; }
  }
  if (v.formats !== data.formats) {
    v.formats = data.formats;
    v.tools.textContent = '';
    for (const format of data.formats ? data.formats.split(',') : []) {
      const a = $('a', {href: '/api/s/' + app.session + '/download?view=' + v.number + '&format=' + format,
                        download: '', 'data-format': format}, '.' + format);
      v.tools.append(a);
    }
    const close = $('button', {'class': 'close'}, '\u00d7');
    close.onclick = () => post('close', {view: v.number});
    v.tools.append(close);
  }
  document.dispatchEvent(new CustomEvent('orbe-view', {detail: data.view}));
}

function act(v, h, fields) { return post('act', Object.assign({view: v.number, h}, fields)); }

// A small editor over a cell or box: Enter sends, Escape drops it.
function edit(v, over, text, send) {
  const input = $('input', {'class': 'editor'});
  input.value = text;
  const r = over.getBoundingClientRect(), b = v.body.getBoundingClientRect();
  Object.assign(input.style, {left: (r.left - b.left + v.body.scrollLeft) + 'px',
                              top: (r.top - b.top + v.body.scrollTop) + 'px', width: Math.max(r.width, 80) + 'px'});
  v.body.append(input);
  input.focus();
  input.onkeydown = e => {
    if (e.key === 'Enter') { send(input.value); input.remove(); }
    if (e.key === 'Escape') input.remove();
    e.stopPropagation();
  };
  input.onblur = () => input.remove();
}

function choose(v, over, entries, send) {
  const select = $('select', {'class': 'editor', size: Math.min(entries.length, 8)});
  entries.forEach((text, i) => select.append($('option', {value: i}, text)));
  const r = over.getBoundingClientRect(), b = v.body.getBoundingClientRect();
  Object.assign(select.style, {left: (r.left - b.left + v.body.scrollLeft) + 'px',
                               top: (r.bottom - b.top + v.body.scrollTop) + 'px'});
  v.body.append(select);
  select.focus();
  select.onchange = () => { send(select.value); select.remove(); };
  select.onblur = () => select.remove();
}

function wire(v) {
  const body = v.body;
  const target = e => e.target.closest('[data-h]');
  body.addEventListener('click', e => {
    const box = target(e);
    if (!box || e.target.closest('.editor')) return;
    const h = box.dataset.h;
    app.focus = {v, h};
    const cell = e.target.closest('td[data-r]');
    if (cell) {
      const at = {r: cell.dataset.r, c: cell.dataset.c};
      if (cell.dataset.entries !== undefined) {
        act(v, h, Object.assign({action: 'click'}, at));
        choose(v, cell, JSON.parse(cell.dataset.entries), i => act(v, h, Object.assign({action: 'pick', i}, at)));
        return;
      }
      act(v, h, Object.assign({action: 'click'}, at));
      return;
    }
    const entry = e.target.closest('ul.menu li[data-item]');
    if (entry) return act(v, h, {action: 'menu', item: entry.dataset.item});
    const item = e.target.closest('li[data-item]');
    if (item) {
      const action = e.target.closest('.box') ? 'check' : e.target.closest('.tog') ? 'toggle' : 'click';
      act(v, h, {action, item: item.dataset.item});
      e.stopPropagation();
      return;
    }
    const tab = e.target.closest('.tab[data-i]');
    if (tab) return act(v, h, {action: 'pick', i: tab.dataset.i});
    const choice = e.target.closest('label[data-i]');
    if (choice) return act(v, h, {action: 'check', i: choice.dataset.i});
    const text = e.target.closest('.edit[data-edit]');
    if (text) return edit(v, text, text.textContent, value => act(v, h, {action: 'type', text: value}));
    if (e.target.closest('button, label, input')) act(v, h, {action: 'click'});
  });
  body.addEventListener('dblclick', e => {
    const box = target(e);
    if (!box) return;
    const h = box.dataset.h;
    const cell = e.target.closest('td[data-r]');
    if (cell) {
      const at = {r: cell.dataset.r, c: cell.dataset.c};
      act(v, h, Object.assign({action: 'dblclick'}, at));
      if (cell.dataset.edit) edit(v, cell, cell.textContent, text => act(v, h, Object.assign({action: 'edit', text}, at)));
      return;
    }
    const item = e.target.closest('li[data-item]');
    if (item && !e.target.closest('.box, .tog')) {
      act(v, h, {action: 'dblclick', item: item.dataset.item});
      e.stopPropagation();
    }
  });
  body.addEventListener('contextmenu', e => {
    const box = target(e);
    if (!box) return;
    e.preventDefault();
    const item = e.target.closest('li[data-item]');
    if (item) return act(v, box.dataset.h, {action: 'rclick', item: item.dataset.item});
    const r = box.getBoundingClientRect();
    app.menuAt = [e.clientX, e.clientY];
    act(v, box.dataset.h, {action: 'rbutton', x: Math.round(e.clientX - r.left), y: Math.round(e.clientY - r.top)});
  });
  body.addEventListener('change', e => {
    const select = e.target.closest('select.combo');
    const box = target(e);
    if (select && box) act(v, box.dataset.h, {action: 'pick', i: select.value});
  });
  let wheel = 0;
  body.addEventListener('wheel', e => {
    const box = e.target.closest('[data-h]');
    if (!box || !box.querySelector(':scope > table.g') || Date.now() - wheel < 150) return;
    wheel = Date.now();
    act(v, box.dataset.h, {action: 'scroll', rows: e.deltaY > 0 ? 3 : -3});
  }, {passive: true});
}

document.addEventListener('keydown', e => {
  if (!app.focus || e.target.closest('input, select, textarea') || e.ctrlKey || e.metaKey) return;
  if (e.key === 'Escape') return closeMenu(0);
  act(app.focus.v, app.focus.h, {action: 'key', key: e.keyCode});
});

function closeMenu(id) {
  const menu = document.getElementById('menu');
  if (!menu) return;
  menu.remove();
  post('menu', {id});
}

function showMenu(data) {
  const old = document.getElementById('menu');
  if (old) old.remove();
  if (!data) return;
  const menu = $('div', {id: 'menu'});
  const add = (items, depth) => {
    for (const item of items) {
      if (item.separator) { menu.append($('hr')); continue; }
      const row = $('div', item.disabled || !item.id ? {'class': 'off'} : {}, '\u00a0'.repeat(depth * 3) +
                    (item.checked ? '\u2713 ' : '') + item.text);
      if (item.id) row.onclick = () => closeMenu(item.id);
      menu.append(row);
      if (item.submenu.length) add(item.submenu, depth + 1);
    }
  };
  add(data.items, 0);
  const [x, y] = app.menuAt || [100, 100];
  Object.assign(menu.style, {left: x + 'px', top: y + 'px'});
  document.body.append(menu);
}

document.addEventListener('mousedown', e => {
  if (document.getElementById('menu') && !e.target.closest('#menu')) closeMenu(0);
});

function open(fields) { return post('open', fields); }

function features(offer) {
  const bar = document.getElementById('features');
  for (const f of offer.features) {
    const group = $('span', {'class': 'group', 'data-feature': f.feature});
    const button = $('button', {'data-open': f.feature}, f.caption);
    group.append(button);
    if (f.asks === 'report') {
      const report = $('select', {name: 'report'});
      offer.reports.forEach(r => report.append($('option', {value: r}, r.replace(/\.ini$/, ''))));
      const code = $('input', {name: 'code', value: '600000', size: 8});
      group.append(report, code);
      button.onclick = () => open({feature: 'report', report: report.value, code: code.value});
    } else if (f.asks === 'script') {
      const script = $('select', {name: 'script'});
      offer.scripts.forEach(s => script.append($('option', {value: s}, s)));
      const arg = $('input', {name: 'arg', value: '600000', size: 8});
      group.append(script, arg);
      button.onclick = () => open({feature: 'script', script: script.value, arg: arg.value});
    } else if (f.asks === 'kind') {
      button.remove();
      group.append($('span', {}, f.caption));
      for (const k of offer.kinds) {
        const kind = $('button', {'data-open': 'topics', 'data-kind': k.kind}, k.caption);
        kind.onclick = () => open({feature: 'topics', kind: k.kind});
        group.append(kind);
      }
    } else {
      button.onclick = () => open({feature: f.feature});
    }
    bar.append(group);
  }
}

async function start() {
  features(await (await fetch('/api/features')).json());
  const reply = await (await fetch('/api/session', {method: 'POST'})).json();
  if (!reply.session) return state(reply.error || 'no session');
  app.session = reply.session;
  const source = new EventSource('/api/s/' + app.session + '/events');
  app.source = source;
  source.addEventListener('view', e => show(JSON.parse(e.data)));
  source.addEventListener('notice', e => notice(JSON.parse(e.data)));
  source.addEventListener('menu', e => showMenu(JSON.parse(e.data)));
  source.addEventListener('end', () => { source.close(); state('session ended: reload the page for a new one'); });
  source.onopen = () => state('connected');
  source.onerror = () => state('reconnecting...');
  window.addEventListener('pagehide', () => navigator.sendBeacon('/api/s/' + app.session + '/end'));
  document.body.dataset.session = app.session;
}
start();
)JS";

}  // namespace

const std::string& StartPageHtml() {
  static const std::string page = std::string(kPageHead) + WindowPageStyle() + kPageStyle + kPageBody;
  return page;
}

const std::string& StartPageScript() {
  static const std::string script = kScript;
  return script;
}

}  // namespace orbe::terminal
