// The starter-curve screen: the printer model and the process picked from
// the server's tables, the three boosts on sliders, the ink curves drawn by
// the server as `inkcurve starter --plot` draws them, and the .quad to save.
// It uses the page's own requests (app.js): `page`, `call`, `json`,
// `pagePath`, `latestOnly`, `showGraph`, `offerDownload` and `element`.
'use strict';

const starter = {
  loaded: false,
  graphUrl: null,
};

const starterSliders = {
  'starter-ink-limit': {key: 'inkLimit', shown: (v) => signed(v) + ' %'},
  'starter-yellow': {key: 'yellow', shown: (v) => signed(v) + ' %'},
  'starter-total-ink': {key: 'totalInk', shown: (v) => (v > 0 ? '+' : '') + v.toFixed(2)},
};

function signed(value) {
  return (value > 0 ? '+' : '') + String(value);
}

function byId(id) {
  return document.getElementById(id);
}

// ---- screens --------------------------------------------------------------

function showScreen(id) {
  for (const button of document.querySelectorAll('.tabs button')) {
    const shown = button.dataset.screen === id;
    button.setAttribute('aria-pressed', String(shown));
    byId(button.dataset.screen).hidden = !shown;
  }
  const titles = {'starter-screen': 'starter curves', 'editor-screen': 'edit curves'};
  document.querySelector('h1 span').textContent = titles[id] || 'linearize';
  // The hint about dropping files belongs to the linearization screen.
  document.querySelector('.bar .hint').hidden = id !== 'linearize-screen';
  if (id === 'starter-screen' && !starter.loaded) loadStarter().catch(() => {});
}

async function loadStarter() {
  // The page's document is made when the page starts.
  while (!page.id) await new Promise((done) => setTimeout(done, 50));
  const response = await call('GET', pagePath('/starter'));
  const state = await json(response);
  if (!response.ok) return starterError(state.error);
  starter.loaded = true;
  renderStarter(state, true);
  await drawStarterGraph();
}

// ---- what the screen shows ------------------------------------------------

function fillPicker(select, titles, chosen) {
  if (select.options.length !== titles.length) {
    select.replaceChildren(...titles.map((title) => {
      const option = element('option', title);
      option.value = title;
      return option;
    }));
  }
  select.value = chosen;
}

function renderStarter(state, withControls) {
  if (withControls) {
    fillPicker(byId('starter-printer'), state.printers || [], state.printer);
    fillPicker(byId('starter-process'), state.processes || [], state.process);
    for (const [id, slider] of Object.entries(starterSliders)) {
      byId(id).value = state[slider.key];
      byId(id + '-value').textContent = slider.shown(Number(byId(id).value));
    }
  }
  document.querySelector('[data-test="starter-summary"]').textContent = state.summary || '';
  const list = document.querySelector('[data-test="starter-warnings"]');
  list.replaceChildren(...(state.warnings || []).map((text) => element('li', text, 'warning')));
  offerDownload(document.querySelector('[data-test="download-starter-quad"]'), '/starter/download',
                state.download);
}

function starterError(text) {
  const list = document.querySelector('[data-test="starter-warnings"]');
  list.replaceChildren(element('li', text || 'the server refused the request', 'error'));
}

function drawStarterGraph() {
  return showGraph(byId('graph-starter'), pagePath('/starter/graph.svg'), starter, 'graphUrl');
}

// ---- changes --------------------------------------------------------------

// Every change sends all the choices, so that a page made again (the server
// let go of the first) gets them all. One change is on its way at a time;
// when it is answered, the latest choices that came meanwhile go.
function starterChanged() {
  const choices = {printer: byId('starter-printer').value, process: byId('starter-process').value};
  for (const [id, slider] of Object.entries(starterSliders)) {
    const value = Number(byId(id).value);
    choices[slider.key] = value;
    byId(id + '-value').textContent = slider.shown(value);
  }
  starterQueue.push(choices);
}

const starterQueue = latestOnly(async (choices) => {
  const response = await call('POST', pagePath('/starter/settings'), JSON.stringify(choices));
  const answer = await json(response);
  if (!response.ok) {
    starterError(answer.error);
    return false;
  }
  renderStarter(answer, false);
  await drawStarterGraph();
  return true;
});

// ---- wiring ---------------------------------------------------------------

function wireStarter() {
  for (const button of document.querySelectorAll('.tabs button'))
    button.addEventListener('click', () => showScreen(button.dataset.screen));
  for (const id of ['starter-printer', 'starter-process']) byId(id).addEventListener('change', starterChanged);
  for (const id of Object.keys(starterSliders)) byId(id).addEventListener('input', starterChanged);
  // Files dropped on this screen are opened on the linearization screen.
  document.addEventListener('drop', () => showScreen('linearize-screen'));
}

wireStarter();
