// The linearization page: one document on the server for this page, the
// files kept here too (so that they can be sent again if the server lets go
// of them), and the controls that change the document.
'use strict';

const $ = (selector) => document.querySelector(selector);
const page = {
  id: null,
  state: null,
  saved: null,              // the saved page last opened
  measurements: null,       // the File last opened, and how
  steps: null,
  layout: null,
  quad: null,
  hidden: new Set(),        // channels not drawn
  readingsShown: '',
  graphUrls: {},
};

// ---- requests -------------------------------------------------------------

class PageGone extends Error {}

async function call(method, path, body, contentType) {
  const options = {method, headers: {}, credentials: 'same-origin'};
  if (body !== undefined) {
    options.body = body;
    options.headers['Content-Type'] = contentType || 'application/json';
  }
  let response;
  try {
    response = await fetch(path, options);
  } catch (e) {
    showBanner('The server does not answer: is inkcurve serve still running?', false);
    throw e;
  }
  if (response.status === 410 || response.status === 404) {
    let answer = {};
    try { answer = await response.clone().json(); } catch (e) { /* not the page's document */ }
    if (answer.gone) {
      const text = answer.error.charAt(0).toUpperCase() + answer.error.slice(1);
      showBanner(text, true);
      throw new PageGone(text);
    }
  }
  return response;
}

async function json(response) {
  let value = null;
  try { value = await response.json(); } catch (e) { value = {error: 'the server sent an answer that could not be read'}; }
  return value;
}

const pagePath = (tail) => '/api/pages/' + page.id + (tail || '');

// Changes sent while a control moves: one on its way at a time, and when it
// is answered, the latest value that came meanwhile (`pending`). `send`
// answers false to stop there.
function latestOnly(send) {
  const queue = {pending: null, busy: false};
  queue.push = async (value) => {
    queue.pending = value;
    if (queue.busy) return;
    queue.busy = true;
    try {
      while (queue.pending !== null) {
        const next = queue.pending;
        queue.pending = null;
        if (!(await send(next))) break;
      }
    } catch (e) {
      queue.pending = null;
    } finally {
      queue.busy = false;
    }
  };
  return queue;
}

async function newPage() {
  const response = await call('POST', '/api/pages');
  const state = await json(response);
  if (!response.ok) throw new Error(state.error);
  page.id = state.page;
  page.readingsShown = '';
  return state;
}

// A change the document answers with its new state; a refusal of the
// request itself (too large, unreadable) shown beside what it was about.
async function change(path, body, about, contentType) {
  const response = await call('POST', pagePath(path), body, contentType);
  const answer = await json(response);
  if (!response.ok) {
    if (response.status === 413) answer.error = 'the file is too large for this program (at most 64 MB)';
    showLocalError(about, answer.error || ('the server refused the request (' + response.status + ')'));
    return null;
  }
  render(answer);
  return answer;
}

// ---- files ----------------------------------------------------------------

async function openMeasurements(file, steps, layout) {
  page.measurements = file;
  page.steps = steps == null ? null : steps;
  page.layout = layout == null ? null : layout;
  let query = '?name=' + encodeURIComponent(file.name);
  if (page.steps != null) query += '&steps=' + page.steps;
  if (page.layout != null) query += '&layout=' + encodeURIComponent(page.layout);
  setBusy('measurement-name', file.name);
  if (await change('/measurements' + query, file, 'measurements', 'application/octet-stream')) await drawGraphs();
}

async function openQuad(file) {
  page.quad = file;
  setBusy('quad-name', file.name);
  if (await change('/quad?name=' + encodeURIComponent(file.name), file, 'quad', 'application/octet-stream'))
    await drawGraphs();
}

function setBusy(id, name) {
  $('#' + id).textContent = name + ' \u2026';
}

async function openDropped(files) {
  const list = Array.from(files);
  const quads = list.filter((f) => /\.quad$/i.test(f.name));
  const others = list.filter((f) => !/\.quad$/i.test(f.name));
  try {
    if (others.length) await openMeasurements(others[0]);
    if (quads.length) await openQuad(quads[0]);
  } catch (e) { /* said in the banner */ }
}

// The server let go of this page's document: a new one, given the same
// files, readings typed over and settings again.
async function reopen() {
  hideBanner();
  const typed = ((page.state && page.state.readings) || []).filter((reading) => reading.typed);
  const settings = {smoothing: Number($('#smoothing').value), spline: Number($('#spline').value),
                    notes: $('#notes').value};
  const targetPoints = page.state && page.state.targetPoints;
  try {
    await newPage();
    if (page.saved) await change('/page', await page.saved.text(), 'page');
    if (page.measurements) await openMeasurements(page.measurements, page.steps, page.layout);
    if (page.quad) await openQuad(page.quad);
    if (targetPoints && targetPoints !== '0,100 100,0')
      await change('/target', JSON.stringify({points: targetPoints}), 'settings');
    for (const reading of typed) {
      await change('/readings', JSON.stringify({step: reading.step, L: reading.L, a: reading.a, b: reading.b}),
                   'reading');
    }
    await change('/settings', JSON.stringify(settings), 'settings');
    await drawGraphs();
  } catch (e) { /* said in the banner */ }
}

// ---- what the page shows --------------------------------------------------

function render(state) {
  page.state = state;
  $('#measurement-name').textContent = state.measurementFile || 'none yet';
  $('#quad-name').textContent = state.quadFile || 'none yet';

  const summary = $('[data-test="summary"]');
  summary.replaceChildren(...(state.summary || []).map((line) => element('li', line)));
  if (!summary.children.length) summary.append(element('li', 'Open a measurement file to begin.', 'empty'));

  for (const list of document.querySelectorAll('ul.messages')) list.replaceChildren();
  for (const warning of state.warnings || []) addMessage(warning.about, warning.text, 'warning');
  // The finder's question is shown once, with its choices, not also as a refusal.
  const asked = state.question && state.question.text;
  for (const error of state.errors || []) if (error.text !== asked) addMessage(error.about, error.text, 'error');

  renderQuestion(state.question);
  if (!sliding.pending && !sliding.busy) {
    setSlider('smoothing', state.smoothing);
    setSlider('spline', state.spline);
  }
  if (document.activeElement !== $('#notes')) $('#notes').value = state.notes || '';
  renderChannels(state.channels || []);
  renderReadings(state.readings || []);
  renderDownloads(state.downloads || {});
  $('#undo').disabled = !state.undo;
  $('#redo').disabled = !state.redo;
  renderTarget(state.targetPoints);
}

function element(tag, text, className) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  if (className) e.className = className;
  return e;
}

function messageList(about) {
  const place = {measurements: 'measurements', quad: 'quad', correction: 'correction', reading: 'reading',
                 settings: 'settings'}[about] || 'correction';
  return $('ul.messages[data-about="' + place + '"]');
}

function addMessage(about, text, kind) {
  messageList(about).append(element('li', text, kind));
}

function showLocalError(about, text) {
  const list = messageList(about);
  list.replaceChildren(element('li', text, 'error'));
}

function setSlider(name, value) {
  if (typeof value !== 'number') return;
  $('#' + name).value = value;
  $('#' + name + '-value').textContent = Math.round(value);
}

function renderQuestion(question) {
  const box = $('#question');
  box.hidden = !question;
  if (!question) return;
  $('#question-text').textContent = question.text;
  $('#question-choices').replaceChildren(...question.choices.map((choice) => {
    const button = element('button', choice.label);
    button.type = 'button';
    button.dataset.test = 'layout-choice';
    button.addEventListener('click', () => {
      if (page.measurements) openMeasurements(page.measurements, choice.steps, choice.layout).catch(() => {});
    });
    return button;
  }));
}

function renderChannels(channels) {
  const box = $('#channels');
  const names = channels.join(',');
  if (box.dataset.names === names) return;
  box.dataset.names = names;
  for (const name of Array.from(page.hidden)) if (!channels.includes(name)) page.hidden.delete(name);
  box.replaceChildren(...channels.map((name) => {
    const button = element('button', name, 'channel');
    button.type = 'button';
    button.dataset.test = 'channel-toggle';
    button.dataset.channel = name;
    button.setAttribute('aria-pressed', String(!page.hidden.has(name)));
    button.title = 'Show or hide ' + name;
    button.addEventListener('click', () => {
      if (page.hidden.has(name)) page.hidden.delete(name); else page.hidden.add(name);
      button.setAttribute('aria-pressed', String(!page.hidden.has(name)));
      drawGraph('ink').catch(() => {});
    });
    return button;
  }));
}

const fixed = (value, decimals) => (typeof value === 'number' ? value.toFixed(decimals) : '');

function renderReadings(readings) {
  const shown = JSON.stringify(readings);
  if (shown === page.readingsShown) return;
  page.readingsShown = shown;
  $('#revert').disabled = !readings.some((r) => r.typed);
  const body = $('#readings tbody');
  body.replaceChildren(...readings.map((reading) => {
    const row = element('tr', undefined, reading.typed ? 'typed' : '');
    row.dataset.step = reading.step;
    row.append(element('th', String(reading.step)));
    for (const [key, decimals] of [['L', 2], ['a', 2], ['b', 2]]) {
      const cell = element('td');
      const input = element('input');
      input.type = 'text';
      input.inputMode = 'decimal';
      input.value = fixed(reading[key], decimals);
      input.dataset.key = key;
      input.setAttribute('aria-label', key + '* of step ' + reading.step);
      input.addEventListener('change', () => typeReading(row, reading));
      input.addEventListener('keydown', (event) => { if (event.key === 'Enter') input.blur(); });
      cell.append(input);
      row.append(cell);
    }
    row.append(element('td', fixed(reading.density, 2)));
    row.append(element('td', reading.samples == null ? '' : String(reading.samples)));
    return row;
  }));
}

async function typeReading(row, reading) {
  const typed = {step: reading.step};
  for (const input of row.querySelectorAll('input')) {
    const text = input.value.trim().replace(',', '.');
    const value = text === '' ? NaN : Number(text);
    if (!Number.isFinite(value)) {
      input.classList.add('invalid');
      showLocalError('reading', 'step ' + reading.step + ': "' + input.value + '" is not a number');
      return;
    }
    input.classList.remove('invalid');
    typed[input.dataset.key] = value;
  }
  // The table shown again from the answer: a value refused goes back to the
  // reading the document holds, beside the refusal.
  page.readingsShown = '';
  try {
    if (await change('/readings', JSON.stringify(typed), 'reading')) await drawGraphs();
  } catch (e) { /* said in the banner */ }
}

// A link that saves the file at `path` under `name`, or that is disabled
// while there is no name: nothing to save yet.
function offerDownload(link, path, name) {
  if (name) {
    link.href = pagePath(path);
    link.download = name;
    link.title = name;
    link.removeAttribute('aria-disabled');
  } else {
    link.removeAttribute('href');
    link.removeAttribute('download');
    link.title = 'Nothing to save yet';
    link.setAttribute('aria-disabled', 'true');
  }
}

function renderDownloads(downloads) {
  for (const link of document.querySelectorAll('.downloads a'))
    offerDownload(link, '/downloads/' + link.dataset.what, downloads[link.dataset.what]);
}

// ---- graphs ---------------------------------------------------------------

// The SVG at `path` shown in `img`, or the image hidden and the note after
// it shown where there is nothing to draw yet; `held[key]` keeps the image's
// object URL, and the one it replaces is let go of.
async function showGraph(img, path, held, key) {
  const response = await call('GET', path);
  const old = held[key];
  if (response.status !== 200) {
    img.hidden = true;
    img.removeAttribute('src');
    held[key] = null;
  } else {
    held[key] = URL.createObjectURL(await response.blob());
    await new Promise((done) => { img.onload = done; img.onerror = done; img.src = held[key]; });
    img.hidden = false;
  }
  img.nextElementSibling.hidden = !img.hidden;
  if (old) URL.revokeObjectURL(old);
}

function drawGraph(which) {
  let path = pagePath('/graphs/' + (which === 'ink' ? 'ink' : 'measurements') + '.svg');
  if (which === 'ink' && page.hidden.size) path += '?hidden=' + encodeURIComponent(Array.from(page.hidden).join(','));
  return showGraph($(which === 'ink' ? '#graph-ink' : '#graph-measurements'), path, page.graphUrls, which);
}

function drawGraphs() {
  return Promise.all([drawGraph('measurements'), drawGraph('ink')]);
}

// The sliders redraw while they move: one change on its way at a time, and
// when it is answered, the latest value that came meanwhile.
const sliding = latestOnly(async (settings) => {
  if (!(await change('/settings', JSON.stringify(settings), 'settings'))) return false;
  await drawGraphs();
  return true;
});

function slid() {
  const settings = {smoothing: Number($('#smoothing').value), spline: Number($('#spline').value)};
  // The moves of one drag after its first go on from it: undo takes the
  // whole drag back. A value that waits to be sent keeps its own start.
  const continues = sliding.moving && !(sliding.pending && !sliding.pending.continues);
  sliding.moving = true;
  if (continues) settings.continues = 1;
  $('#smoothing-value').textContent = settings.smoothing;
  $('#spline-value').textContent = settings.spline;
  sliding.push(settings);
}

// ---- the target's manual curve ---------------------------------------------
//
// Its points as the page holds them while a finger moves them (x the input
// step, y the curve's value, both in percent), drawn here; the server makes
// the curve through them as `linearize --target-points` does, and the
// graphs show the target it gives.
const target = {points: [[0, 100], [100, 0]], dragging: null, moved: false};
const targetQueue = latestOnly(async (body) => {
  const sent = await change('/target', JSON.stringify(body), 'settings');
  if (sent) await drawGraphs();
  if (!targetQueue.pending && page.state) renderTarget(page.state.targetPoints, true);
  return Boolean(sent);
});
const SVG = 'http://www.w3.org/2000/svg';

// Points as --target-points and --points write them ("0,100 50,45 100,0"),
// to a tenth of a percent; the editor screen (editor.js) takes these too.
const tenth = (v) => Math.round(v * 10) / 10;
const pointsText = (points) => points.map(([x, y]) => tenth(x) + ',' + tenth(y)).join(' ');
const parsePoints = (text) => (text && text.trim() ? text.trim().split(/\s+/).map((p) => p.split(',').map(Number)) : []);

function renderTarget(text, answered) {
  // The finger's points stand while it moves them and while they are sent.
  if (target.dragging !== null || targetQueue.pending || (targetQueue.busy && !answered)) return;
  target.points = parsePoints(text || '0,100 100,0');
  drawTarget();
}

function svgElement(tag, attributes) {
  const e = document.createElementNS(SVG, tag);
  for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
  return e;
}

// The points on the 200 × 200 square: input across, value up.
const at = ([x, y]) => [2 * x, 200 - 2 * y];

function drawTarget() {
  const parts = [svgElement('rect', {class: 'frame', x: 0, y: 0, width: 200, height: 200})];
  for (let v = 25; v < 100; v += 25) {
    parts.push(svgElement('line', {class: 'grid', x1: 2 * v, y1: 0, x2: 2 * v, y2: 200}));
    parts.push(svgElement('line', {class: 'grid', x1: 0, y1: 200 - 2 * v, x2: 200, y2: 200 - 2 * v}));
  }
  parts.push(svgElement('line', {class: 'straight', x1: 0, y1: 0, x2: 200, y2: 200}));
  // A smooth line through the points (the server's curve runs through them too).
  const p = target.points.map(at);
  let d = 'M' + p[0].join(' ');
  for (let i = 0; i + 1 < p.length; ++i) {
    const a = p[Math.max(i - 1, 0)], b = p[i], c = p[i + 1], e = p[Math.min(i + 2, p.length - 1)];
    d += ' C' + [b[0] + (c[0] - a[0]) / 6, b[1] + (c[1] - a[1]) / 6, c[0] - (e[0] - b[0]) / 6, c[1] - (e[1] - b[1]) / 6,
                 c[0], c[1]].join(' ');
  }
  parts.push(svgElement('path', {class: 'curve', d}));
  target.points.forEach((point, i) => {
    const [cx, cy] = at(point);
    const end = i === 0 || i === target.points.length - 1;
    const circle = svgElement('circle', {class: end ? 'point end' : 'point', cx, cy, r: 6});
    circle.dataset.index = i;
    parts.push(circle);
  });
  const label = (text, x, y, anchor) => {
    const t = svgElement('text', {x, y, 'text-anchor': anchor});
    t.textContent = text;
    return t;
  };
  parts.push(label('0', 0, 211, 'middle'), label('input (%)', 100, 211, 'middle'), label('100', 200, 211, 'middle'));
  $('#target-curve').replaceChildren(...parts);
  $('#target-points-text').textContent = '--target-points "' + pointsText(target.points) + '"';
}

// Where the pointer is, in percent, held to the square.
function pointed(event) {
  const svg = $('#target-curve');
  const p = new DOMPoint(event.clientX, event.clientY).matrixTransform(svg.getScreenCTM().inverse());
  const clamp = (v) => Math.min(100, Math.max(0, v));
  return [clamp(p.x / 2), clamp((200 - p.y) / 2)];
}

// One change on its way at a time, then the latest; the moves of one drag
// after its first go on from it, so that undo takes the whole drag back.
function targetChanged(moving) {
  const continues = moving && target.moved && !(targetQueue.pending && !targetQueue.pending.continues);
  if (moving) target.moved = true;
  drawTarget();
  targetQueue.push({points: pointsText(target.points), continues: continues ? 1 : 0});
}

function wireTarget() {
  const svg = $('#target-curve');
  svg.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    const index = event.target.dataset ? event.target.dataset.index : undefined;
    if (index !== undefined) {
      target.dragging = Number(index);
      target.moved = false;
      svg.setPointerCapture(event.pointerId);
      return;
    }
    // A click on the ground adds a point where it is, between its neighbours.
    const [x, y] = pointed(event);
    const after = target.points.findIndex(([px]) => px > x);
    if (after <= 0 || target.points.some(([px]) => Math.abs(px - x) < 1)) return;
    target.points.splice(after, 0, [tenth(x), tenth(y)]);
    targetChanged(false);
  });
  svg.addEventListener('pointermove', (event) => {
    const i = target.dragging;
    if (i === null) return;
    const points = target.points;
    let [x, y] = pointed(event);
    // The ends stay at 0 and 100; a point in between stays between its neighbours.
    if (i === 0) x = 0;
    else if (i === points.length - 1) x = 100;
    else x = Math.min(points[i + 1][0] - 0.5, Math.max(points[i - 1][0] + 0.5, x));
    points[i] = [tenth(x), tenth(y)];
    targetChanged(true);
  });
  const release = () => {
    target.dragging = null;
    if (page.state) renderTarget(page.state.targetPoints);
  };
  svg.addEventListener('pointerup', release);
  svg.addEventListener('pointercancel', release);
  svg.addEventListener('dblclick', (event) => {
    const index = event.target.dataset ? event.target.dataset.index : undefined;
    if (index === undefined) return;
    const i = Number(index);
    if (i === 0 || i === target.points.length - 1) return;
    target.points.splice(i, 1);
    targetChanged(false);
  });
  $('#target-reset').addEventListener('click', () => {
    target.points = [[0, 100], [100, 0]];
    targetChanged(false);
  });
}

// ---- undo, redo and a saved page --------------------------------------------

async function history(which) {
  try {
    if (await change('/' + which, '{}', 'history')) await drawGraphs();
  } catch (e) { /* said in the banner */ }
}

async function loadPage(file) {
  $('#page-name').textContent = file.name + ' \u2026';
  try {
    const answer = await change('/page', await file.text(), 'page');
    $('#page-name').textContent = file.name;
    if (answer) {
      // The files are the saved page's now: what is kept here to send again
      // if the server lets go of the page is that page.
      page.saved = file;
      page.measurements = page.quad = null;
      page.readingsShown = '';
      await drawGraphs();
    }
  } catch (e) { /* said in the banner */ }
}

// ---- the banner -----------------------------------------------------------

function showBanner(text, offerReopen) {
  $('#banner-text').textContent = text;
  $('#banner-action').hidden = !offerReopen || !(page.measurements || page.quad || page.saved);
  $('#banner').hidden = false;
}

function hideBanner() {
  $('#banner').hidden = true;
}

// ---- wiring ---------------------------------------------------------------

let notesTimer = null;
function notesChanged() {
  clearTimeout(notesTimer);
  notesTimer = setTimeout(() => {
    change('/settings', JSON.stringify({notes: $('#notes').value}), 'settings').catch(() => {});
  }, 400);
}

function wire() {
  $('#measurement-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (file) openMeasurements(file).catch(() => {});
  });
  $('#quad-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (file) openQuad(file).catch(() => {});
  });
  for (const id of ['smoothing', 'spline']) {
    $('#' + id).addEventListener('input', slid);
    $('#' + id).addEventListener('change', () => { sliding.moving = false; });
  }
  $('#undo').addEventListener('click', () => history('undo'));
  $('#redo').addEventListener('click', () => history('redo'));
  document.addEventListener('keydown', (event) => {
    const typing = /^(INPUT|TEXTAREA|SELECT)$/.test(document.activeElement.tagName) &&
                   document.activeElement.type !== 'range';
    if (!(event.ctrlKey || event.metaKey) || typing || $('#linearize-screen').hidden) return;
    const key = event.key.toLowerCase();
    if (key === 'z' || key === 'y') {
      event.preventDefault();
      history(key === 'y' || event.shiftKey ? 'redo' : 'undo');
    }
  });
  $('#load-state').addEventListener('change', (event) => {
    const file = event.target.files[0];
    event.target.value = '';
    if (file) loadPage(file);
  });
  wireTarget();
  $('#notes').addEventListener('input', notesChanged);
  $('#revert').addEventListener('click', async () => {
    page.readingsShown = '';
    try { if (await change('/revert', '{}', 'reading')) await drawGraphs(); } catch (e) { /* in the banner */ }
  });
  $('#banner-action').addEventListener('click', reopen);

  // Files dropped anywhere on the page.
  const zone = $('#drop-zone');
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    zone.classList.add('over');
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) zone.classList.remove('over');
  });
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    zone.classList.remove('over');
    if (event.dataTransfer && event.dataTransfer.files.length) openDropped(event.dataTransfer.files);
  });

  // The document is let go of when the page is left, and made again if the
  // browser brings the page back from its cache.
  window.addEventListener('pagehide', () => {
    if (page.id) fetch(pagePath(), {method: 'DELETE', keepalive: true, credentials: 'same-origin'}).catch(() => {});
  });
  window.addEventListener('pageshow', (event) => { if (event.persisted) reopen(); });
}

async function start() {
  wire();
  try {
    render(await newPage());
    document.body.dataset.ready = 'true';
  } catch (e) {
    if (!(e instanceof PageGone)) showBanner('The page could not start: ' + e.message, false);
  }
}

start();
