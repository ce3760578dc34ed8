// The ink-curve editor screen: one channel of the .quad opened on the
// linearization screen (or of the starter curve) reshaped by points on a
// small graph, a gamma and a boost, as `inkcurve edit` reshapes it. The
// server does the editing, keeps the history and draws the ink curves; this
// script draws the points' handles and sends what the user does. It uses
// the page's own requests and helpers (app.js): `page`, `call`, `json`,
// `pagePath`, `element`, `showGraph`, `offerDownload`, and the points'
// `parsePoints`, `pointsText`, `tenth` and `svgElement`.
'use strict';

const editor = {
  state: null,
  points: [],        // [[x, y], ...] as shown; the state's while nothing is dragged
  dragging: null,    // {index, moved} while a handle is held
  moving: false,     // a slider or a drag goes on: its next changes continue it
  pending: null,     // the change to send once the one on its way is answered
  busy: false,
  graphUrl: null,
};

const EDITOR_SIZE = 300;  // the points graph's box, in its own units
const EDITOR_PAD = 14;

function editorById(id) {
  return document.getElementById(id);
}

function editorTest(name) {
  return document.querySelector('[data-test="' + name + '"]');
}

// ---- points as text -------------------------------------------------------

// ---- the points graph -----------------------------------------------------

function toBox(x, y) {
  const span = EDITOR_SIZE - 2 * EDITOR_PAD;
  return [EDITOR_PAD + x / 100 * span, EDITOR_SIZE - EDITOR_PAD - y / 100 * span];
}

function fromBox(event) {
  const svg = editorTest('editor-points-graph');
  const box = svg.getBoundingClientRect();
  const span = EDITOR_SIZE - 2 * EDITOR_PAD;
  const px = (event.clientX - box.left) * EDITOR_SIZE / box.width;
  const py = (event.clientY - box.top) * EDITOR_SIZE / box.height;
  const clamp = (v) => Math.min(100, Math.max(0, v));
  return [tenth(clamp((px - EDITOR_PAD) / span * 100)), tenth(clamp((EDITOR_SIZE - EDITOR_PAD - py) / span * 100))];
}

function drawPoints() {
  const svg = editorTest('editor-points-graph');
  const parts = [];
  for (let v = 0; v <= 100; v += 25) {
    const [x0, y0] = toBox(0, v), [x1] = toBox(100, v), [gx, gy0] = toBox(v, 0), [, gy1] = toBox(v, 100);
    parts.push(svgElement('line', {x1: x0, y1: y0, x2: x1, y2: y0, class: 'grid'}));
    parts.push(svgElement('line', {x1: gx, y1: gy0, x2: gx, y2: gy1, class: 'grid'}));
  }
  const shape = (editor.state && editor.state.shape) || [];
  if (shape.length) {
    const line = shape.map((y, i) => toBox(i / 2.55, Math.min(100, Math.max(0, y))).join(',')).join(' ');
    parts.push(svgElement('polyline', {points: line, class: 'shape'}));
  }
  if (editor.points.length) {
    parts.push(svgElement('polyline', {points: editor.points.map(([x, y]) => toBox(x, y).join(',')).join(' '),
                                       class: 'joins'}));
  }
  editor.points.forEach(([x, y], index) => {
    const [cx, cy] = toBox(x, y);
    const handle = svgElement('circle', {cx, cy, r: 6, class: 'handle', 'data-index': index});
    handle.append(svgElement('title', {}));
    handle.firstChild.textContent = x + ', ' + y + (index > 0 && index < editor.points.length - 1
      ? ' (double-click to remove)' : '');
    parts.push(handle);
  });
  svg.replaceChildren(...parts);
}

// The points to start from when there are none: the channel's ends.
function seedPoints() {
  const shape = (editor.state && editor.state.shape) || [];
  if (!shape.length) return [];
  return [[0, tenth(shape[0])], [100, tenth(shape[shape.length - 1])]];
}

function pointsChanged(continues) {
  editorTest('editor-points').value = pointsText(editor.points);
  drawPoints();
  queueEdit({points: pointsText(editor.points)}, continues);
}

function pressed(event) {
  if (!editor.state || !editor.state.channel || event.button !== 0) return;
  event.preventDefault();
  const svg = editorTest('editor-points-graph');
  const index = event.target.dataset && event.target.dataset.index;
  if (index !== undefined) {
    editor.dragging = {index: Number(index), moved: false};
    svg.setPointerCapture(event.pointerId);
    return;
  }
  // A click on the graph adds a point there.
  const [x, y] = fromBox(event);
  if (!editor.points.length) editor.points = seedPoints();
  if (x <= 0 || x >= 100 || editor.points.some(([px]) => Math.abs(px - x) < 0.5)) return;
  const at = editor.points.findIndex(([px]) => px > x);
  editor.points.splice(at < 0 ? editor.points.length : at, 0, [x, y]);
  // The new point can be dragged on at once, as one change.
  editor.dragging = {index: at < 0 ? editor.points.length - 1 : at, moved: true};
  svg.setPointerCapture(event.pointerId);
  pointsChanged(false);
}

function moved(event) {
  const drag = editor.dragging;
  if (!drag) return;
  let [x, y] = fromBox(event);
  const points = editor.points;
  const last = points.length - 1;
  // The ends stay at x 0 and 100; a point stays between its neighbours.
  if (drag.index === 0) x = 0;
  else if (drag.index === last) x = 100;
  else x = Math.min(tenth(points[drag.index + 1][0] - 0.1), Math.max(tenth(points[drag.index - 1][0] + 0.1), x));
  if (points[drag.index][0] === x && points[drag.index][1] === y) return;
  points[drag.index] = [x, y];
  const continues = drag.moved;
  drag.moved = true;
  pointsChanged(continues);
}

function released() {
  editor.dragging = null;
}

function removePoint(event) {
  const index = event.target.dataset && event.target.dataset.index;
  if (index === undefined) return;
  const i = Number(index);
  if (i === 0 || i === editor.points.length - 1) return;
  editor.points.splice(i, 1);
  pointsChanged(false);
}

// ---- what the screen shows ------------------------------------------------

function renderEditor(state, withControls) {
  editor.state = state;
  const has = Boolean(state.channel);
  editorTest('editor-message').textContent = state.message || '';
  editorTest('editor-message').hidden = !state.message;
  for (const id of ['editor-controls', 'editor-graph-card']) editorById(id).hidden = !has && !state.file;

  const source = editorTest('editor-source');
  const names = {quad: 'The .quad opened (as read)', starter: 'The starter curve'};
  if (source.options.length !== state.sources.length ||
      Array.from(source.options).some((o, i) => o.value !== state.sources[i])) {
    source.replaceChildren(...state.sources.map((kind) => {
      const option = element('option', names[kind] || kind);
      option.value = kind;
      return option;
    }));
  }
  source.value = state.source || '';
  editorById('editor-source-pick').hidden = state.sources.length < 2;
  editorTest('editor-file').textContent = state.file || '';

  const channel = editorTest('editor-channel');
  if (channel.options.length !== state.channels.length ||
      Array.from(channel.options).some((o, i) => o.value !== state.channels[i])) {
    channel.replaceChildren(...state.channels.map((name) => {
      const option = element('option', name);
      option.value = name;
      return option;
    }));
  }
  for (const option of channel.options)
    option.textContent = option.value + (state.edited.includes(option.value) ? ' (edited)' : '');
  channel.value = state.channel || '';

  if (withControls || !editor.moving) {
    if (document.activeElement !== editorTest('editor-gamma')) editorTest('editor-gamma').value = state.gamma;
    editorTest('editor-gamma-slider').value = state.gamma;
    editorTest('editor-boost').value = state.boost;
    editorById('editor-boost-value').textContent = (state.boost > 0 ? '+' : '') + state.boost + ' %';
  }
  if (!editor.dragging) {
    editor.points = parsePoints(state.points);
    if (document.activeElement !== editorTest('editor-points')) editorTest('editor-points').value = state.points;
  }
  drawPoints();

  editorTest('editor-summary').replaceChildren(...state.summary.map((line) => element('li', line)));
  editorTest('editor-warnings').replaceChildren(...state.warnings.map((text) => element('li', text, 'warning')));
  editorTest('editor-undo').disabled = !state.undo;
  editorTest('editor-redo').disabled = !state.redo;
  offerDownload(editorTest('download-edited-quad'), '/editor/download', state.download);
}

function editorError(text) {
  editorTest('editor-warnings').replaceChildren(element('li', text || 'the server refused the request', 'error'));
}

function drawEditorGraph() {
  return showGraph(editorTest('graph-editor'), pagePath('/editor/graph.svg'), editor, 'graphUrl');
}

async function loadEditor() {
  while (!page.id) await new Promise((done) => setTimeout(done, 50));
  const response = await call('GET', pagePath('/editor'));
  const state = await json(response);
  if (!response.ok) return editorError(state.error);
  renderEditor(state, true);
  await drawEditorGraph();
}

// ---- changes --------------------------------------------------------------

// One change on its way at a time; what comes meanwhile is merged and sent
// when it is answered, the graph drawn again after each. A change that
// begins a gesture is not merged into one that continues another.
function queueEdit(fields, continues) {
  const next = Object.assign({}, fields, {continues: continues ? 1 : 0});
  if (editor.pending) {
    next.continues = editor.pending.continues && next.continues;
    editor.pending = Object.assign(editor.pending, next);
  } else {
    editor.pending = next;
  }
  sendEdits();
}

async function sendEdits() {
  if (editor.busy) return;
  editor.busy = true;
  try {
    while (editor.pending) {
      const body = editor.pending;
      editor.pending = null;
      const response = await call('POST', pagePath('/editor/change'), JSON.stringify(body));
      const answer = await json(response);
      if (!response.ok) {
        editorError(answer.error);
        continue;
      }
      renderEditor(answer, false);
      await drawEditorGraph();
    }
  } catch (e) {
    editor.pending = null;
  } finally {
    editor.busy = false;
  }
}

async function stepHistory(which) {
  try {
    const response = await call('POST', pagePath('/editor/' + which), '{}');
    const answer = await json(response);
    if (!response.ok) return editorError(answer.error);
    renderEditor(answer, true);
    await drawEditorGraph();
  } catch (e) { /* said in the banner */ }
}

function slider(id, key, read) {
  const input = editorTest(id);
  input.addEventListener('input', () => {
    const value = read(input.value);
    if (value === null) return;
    queueEdit({[key]: value}, editor.moving);
    editor.moving = true;
  });
  input.addEventListener('change', () => { editor.moving = false; });
}

// ---- wiring ---------------------------------------------------------------

function wireEditor() {
  editorTest('tab-editor').addEventListener('click', () => loadEditor().catch(() => {}));
  editorTest('editor-source').addEventListener('change', (event) => queueEdit({source: event.target.value}, false));
  editorTest('editor-channel').addEventListener('change', (event) => queueEdit({channel: event.target.value}, false));
  const number = (text) => (text.trim() === '' || !Number.isFinite(Number(text)) ? null : Number(text));
  slider('editor-gamma', 'gamma', number);
  slider('editor-gamma-slider', 'gamma', number);
  slider('editor-boost', 'boost', number);
  editorTest('editor-gamma-slider').addEventListener('input', (event) => {
    editorTest('editor-gamma').value = event.target.value;
  });
  editorTest('editor-gamma').addEventListener('input', (event) => {
    if (number(event.target.value) !== null) editorTest('editor-gamma-slider').value = event.target.value;
  });
  editorTest('editor-boost').addEventListener('input', (event) => {
    const v = Number(event.target.value);
    editorById('editor-boost-value').textContent = (v > 0 ? '+' : '') + v + ' %';
  });
  editorTest('editor-points').addEventListener('change', (event) => queueEdit({points: event.target.value.trim()},
                                                                             false));
  editorTest('editor-clear-points').addEventListener('click', () => queueEdit({points: ''}, false));
  editorTest('editor-undo').addEventListener('click', () => stepHistory('undo'));
  editorTest('editor-redo').addEventListener('click', () => stepHistory('redo'));
  const svg = editorTest('editor-points-graph');
  svg.addEventListener('pointerdown', pressed);
  svg.addEventListener('pointermove', moved);
  svg.addEventListener('pointerup', released);
  svg.addEventListener('pointercancel', released);
  svg.addEventListener('dblclick', removePoint);
}

wireEditor();
