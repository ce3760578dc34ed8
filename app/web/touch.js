// The graphs answer a finger or a mouse: a tap (click) highlights the value
// under it, the wheel or a pinch zooms about the pointer, a drag pans and a
// double click shows the whole graph again. Each gesture goes to the
// graph's chart view on the server, which keeps the graph's zoom and
// highlight; the graph is then drawn again (drawGraph in app.js) and the
// value highlighted shown below it.
'use strict';

const touch = {
  graphs: {},
};

// A point of the page in the graph's own pixels: the image shows the SVG,
// drawn at the graph's pixel size, scaled to its box.
function graphPoint(img, clientX, clientY) {
  const box = img.getBoundingClientRect();
  if (!box.width || !box.height || !img.naturalWidth) return null;
  return {x: (clientX - box.left) * img.naturalWidth / box.width,
          y: (clientY - box.top) * img.naturalHeight / box.height};
}

function showHighlight(graph, view) {
  const text = view && view.highlight ? view.highlight.text : '';
  graph.readout.textContent = text;
  graph.readout.title = text ? 'Tap it again to clear' : '';
  graph.img.dataset.zoomed = String(Boolean(view && view.zoomed));
}

function hiddenOf(which) {
  return which === 'ink' && page.hidden.size ? Array.from(page.hidden).join(',') : '';
}

// One gesture on its way a graph at a time; what comes meanwhile is merged
// (zooms multiply, pans add up) and sent when the answer is in.
function send(which, kind, body) {
  const graph = touch.graphs[which];
  const waiting = graph.waiting;
  if (waiting && waiting.kind === kind && kind === 'zoom') {
    waiting.body.factor *= body.factor;
    waiting.body.x = body.x;
    waiting.body.y = body.y;
  } else if (waiting && waiting.kind === kind && kind === 'pan') {
    waiting.body.toX += body.toX - body.x;
    waiting.body.toY += body.toY - body.y;
  } else {
    if (waiting) graph.queue.push(waiting);
    graph.waiting = {kind, body};
  }
  if (!graph.busy) flush(which);
}

async function flush(which) {
  const graph = touch.graphs[which];
  graph.busy = true;
  try {
    for (;;) {
      const next = graph.queue.length ? graph.queue.shift() : graph.waiting;
      if (!next) break;
      if (next === graph.waiting) graph.waiting = null;
      const body = Object.assign({}, next.body);
      const hidden = hiddenOf(which);
      if (hidden) body.hidden = hidden;
      const response = await call('POST', pagePath('/graphs/' + which + '/' + next.kind), JSON.stringify(body));
      const answer = await json(response);
      if (!response.ok) {
        graph.readout.textContent = answer.error || ('the server refused the gesture (' + response.status + ')');
        continue;
      }
      showHighlight(graph, answer);
      if (!graph.queue.length && !graph.waiting) {
        graph.ownLoads += 1;
        await drawGraph(which);
      }
    }
  } catch (e) {
    graph.queue = [];
    graph.waiting = null;
  } finally {
    graph.busy = false;
  }
}

// After the page drew the graph for a change of the document, the value
// highlighted is read again (it follows its curve).
async function reread(which) {
  const graph = touch.graphs[which];
  if (graph.ownLoads > 0) {
    graph.ownLoads -= 1;
    return;
  }
  if (graph.busy || !page.id) return;
  try {
    const hidden = hiddenOf(which);
    const response = await call('GET', pagePath('/graphs/' + which + '/view' +
                                                 (hidden ? '?hidden=' + encodeURIComponent(hidden) : '')));
    if (response.ok) showHighlight(graph, await json(response));
  } catch (e) { /* said in the banner */ }
}

const SLOP = 4;  // page pixels a click may move and still be a tap

function wireGraph(which, img) {
  const readout = element('p', '', 'highlight-value');
  readout.dataset.test = 'highlight-value';
  readout.dataset.graph = which;
  readout.setAttribute('aria-live', 'polite');
  img.closest('figure').insertBefore(readout, img.closest('.graph').nextSibling);
  const graph = {img, readout, busy: false, waiting: null, queue: [], ownLoads: 0,
                 pointers: new Map(), dragged: false, pinch: null};
  touch.graphs[which] = graph;

  img.addEventListener('load', () => reread(which));
  img.addEventListener('dragstart', (event) => event.preventDefault());

  img.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    img.setPointerCapture(event.pointerId);
    graph.pointers.set(event.pointerId, {start: event, last: event});
    if (graph.pointers.size === 1) graph.dragged = false;
    if (graph.pointers.size === 2) {
      const [a, b] = Array.from(graph.pointers.values()).map((p) => p.last);
      graph.pinch = Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY);
      graph.dragged = true;
    }
  });
  img.addEventListener('pointermove', (event) => {
    const pointer = graph.pointers.get(event.pointerId);
    if (!pointer) return;
    const previous = pointer.last;
    pointer.last = event;
    if (graph.pointers.size >= 2) {
      const [a, b] = Array.from(graph.pointers.values()).map((p) => p.last);
      const spread = Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY);
      const at = graphPoint(img, (a.clientX + b.clientX) / 2, (a.clientY + b.clientY) / 2);
      if (graph.pinch > 0 && spread > 0 && at) send(which, 'zoom', {x: at.x, y: at.y, factor: spread / graph.pinch});
      graph.pinch = spread;
      return;
    }
    if (!graph.dragged && Math.hypot(event.clientX - pointer.start.clientX,
                                     event.clientY - pointer.start.clientY) <= SLOP) return;
    const from = graphPoint(img, graph.dragged ? previous.clientX : pointer.start.clientX,
                            graph.dragged ? previous.clientY : pointer.start.clientY);
    const to = graphPoint(img, event.clientX, event.clientY);
    graph.dragged = true;
    if (from && to) send(which, 'pan', {x: from.x, y: from.y, toX: to.x, toY: to.y});
  });
  const lift = (event) => {
    graph.pointers.delete(event.pointerId);
    if (graph.pointers.size < 2) graph.pinch = null;
  };
  img.addEventListener('pointerup', lift);
  img.addEventListener('pointercancel', lift);
  img.addEventListener('click', (event) => {
    // A drag or a pinch is no tap; the second click of a double click
    // resets rather than taps again.
    if (graph.dragged || event.detail > 1) return;
    const at = graphPoint(img, event.clientX, event.clientY);
    if (at) send(which, 'tap', {x: at.x, y: at.y});
  });
  img.addEventListener('dblclick', () => send(which, 'reset', {}));
  img.addEventListener('wheel', (event) => {
    const at = graphPoint(img, event.clientX, event.clientY);
    if (!at) return;
    event.preventDefault();
    // A pinch on a touchpad comes as the wheel with ctrlKey, in smaller steps.
    const lines = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? 400 : 1;
    const factor = Math.exp(-event.deltaY * lines * (event.ctrlKey ? 0.01 : 0.002));
    if (Number.isFinite(factor) && factor > 0) send(which, 'zoom', {x: at.x, y: at.y, factor});
  }, {passive: false});
}

wireGraph('measurements', document.getElementById('graph-measurements'));
wireGraph('ink', document.getElementById('graph-ink'));
