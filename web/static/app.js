// The page: one display of the Cuewright device. It connects to the
// server's WebSocket, draws the state it is sent (render.js), and sends the
// user's input back as automation commands. It decides nothing itself.
//
// Frames. While this page drives the display (the server says so), it
// sends one tick per animation frame and applies the answer at the next
// animation frame, so every painted frame shows exactly one step of what
// moves. Frames that arrive without a tick (the model changed after input,
// or another page drives) are applied at the next animation frame too.

import { applyPatch } from './patch.js';
import { Renderer } from './render.js';

const params = new URLSearchParams(location.search);
const token = params.get('token');
const stage = document.getElementById('stage');
const windowElement = document.getElementById('window');
const banner = document.getElementById('banner');

const page = {
  state: null,
  version: 0,
  driving: false,
  idiom: null,
  connected: false,
  framesApplied: 0,
  // Set by measurements: records what each painted frame showed.
  recordFrames: false,
  frameLog: [],
  errors: [],
};
window.cuewright = page;

let socket = null;
let seq = 0;
let nextId = 1;
const waiting = new Map();
let queued = [];
let tickNumber = 0;
let tickSentAt = null;
let resyncAsked = false;
let scale = 1;

function send(message) {
  if (!socket || socket.readyState !== WebSocket.OPEN) return false;
  seq += 1;
  socket.send(JSON.stringify({ ...message, seq }));
  return true;
}

// Sends an automation command and answers its reply.
page.command = (request) => new Promise((resolve) => {
  const id = nextId;
  nextId += 1;
  waiting.set(id, resolve);
  if (!send({ ...request, id })) {
    waiting.delete(id);
    resolve({ ok: false, error: 'not connected' });
  }
});

function command(request) {
  page.command(request).then((answer) => {
    if (!answer.ok) page.errors.push(answer.error);
  });
}

// Sends a document chosen in the document picker. Answers an error text to
// show the presenter, or nothing once the device has the file.
async function uploadDocument(file) {
  const query = new URLSearchParams({ name: file.name });
  if (token) query.set('token', token);
  try {
    const response = await fetch(`/upload?${query}`, { method: 'POST', body: file });
    if (response.ok) return '';
    const answer = await response.json().catch(() => ({}));
    return answer.error || `The document could not be sent (${response.status}).`;
  } catch (error) {
    return 'The document could not be sent: Cuewright is not reachable.';
  }
}

// --- drawing -----------------------------------------------------------

function windowPoint(clientX, clientY) {
  const rect = windowElement.getBoundingClientRect();
  return { x: (clientX - rect.left) / scale, y: (clientY - rect.top) / scale };
}

const renderer = new Renderer(windowElement, {
  setText: (path, name, text) => command({ cmd: 'set_text', path, name, text }),
  setValue: (path, name, value) => command({ cmd: 'set_value', path, name, value }),
  alertText: (index, text) => command({ cmd: 'set_text', alert_field: index, text }),
  answer: (fields, choose) => command({ cmd: 'answer', fields, choose }),
  cancelAlert: () => command({ cmd: 'cancel_alert' }),
  back: () => command({ cmd: 'navigate_back' }),
  pickColor: (color) => command({ cmd: 'color_picker', color }),
  uploadDocument,
  swipeAway: () => command({ cmd: 'dismiss_sheet' }),
  answerPermission: (kind, grant) => command({ cmd: 'answer_permission', kind, grant }),
});

// The window has the size of the page that drives; other pages scale it
// to fit their own viewport.
function fitStage() {
  if (!page.state) return;
  const { width, height } = page.state.window;
  scale = Math.min(innerWidth / width, innerHeight / height);
  if (!Number.isFinite(scale) || scale <= 0) scale = 1;
  if (Math.abs(scale - 1) < 0.001) scale = 1;
  windowElement.style.transform = scale === 1 ? '' : `scale(${scale})`;
  stage.style.width = `${width * scale}px`;
  stage.style.height = `${height * scale}px`;
}

function applyFrame(message) {
  if (message.state !== undefined) {
    page.state = message.state;
    page.version = message.version;
    resyncAsked = false;
  } else if (message.patch !== undefined) {
    if (message.base !== page.version || !page.state) {
      askResync();
      return;
    }
    try {
      page.state = applyPatch(page.state, message.patch);
      page.version = message.version;
    } catch (error) {
      page.errors.push(String(error));
      askResync();
      return;
    }
  } else if (message.version !== page.version) {
    askResync();
  }
}

function askResync() {
  if (resyncAsked) return;
  resyncAsked = true;
  send({ cmd: 'resync' });
}

function paint(now) {
  if (queued.length > 0) {
    const frames = queued;
    queued = [];
    const before = page.state;
    for (const message of frames) {
      applyFrame(message);
      if (message.tick !== undefined) tickSentAt = null;
    }
    if (page.state && page.state !== before) {
      renderer.render(page.state);
      fitStage();
    }
    page.framesApplied += 1;
    if (!page.ready && page.state) {
      page.ready = true;
      page.readyAt = performance.now();
      document.body.dataset.ready = 'true';
    }
  }
  if (page.recordFrames) page.frameLog.push({ t: now, offsets: renderer.textOffsets() });
  // A tick whose answer got lost (a page that fell far behind loses frame
  // updates) is given up after a while.
  if (tickSentAt !== null && now - tickSentAt > 250) tickSentAt = null;
  if (page.driving && page.state?.wantsTicks && tickSentAt === null) {
    tickNumber += 1;
    if (send({ cmd: 'tick', frame: tickNumber })) tickSentAt = now;
  }
  requestAnimationFrame(paint);
}

// --- the connection ----------------------------------------------------

function showBanner(text) {
  banner.textContent = text;
  banner.hidden = !text;
}

function receive(event) {
  let message;
  try {
    message = JSON.parse(event.data);
  } catch {
    return;
  }
  switch (message.type) {
  case 'frame':
    queued.push(message);
    // Hidden pages get no animation frames; keep their state current.
    if (document.hidden) {
      for (const frame of queued) applyFrame(frame);
      queued = [];
    }
    return;
  case 'welcome':
    page.idiom = message.idiom;
    page.client = message.client;
    document.body.dataset.idiom = message.idiom;
    return;
  case 'role':
    page.driving = message.driving;
    tickSentAt = null;
    return;
  case 'open_url':
    openLink(message.url);
    return;
  case 'measure':
    measureTexts(message.requests || []);
    return;
  default:
    break;
  }
  if (message.id !== undefined && waiting.has(message.id)) {
    waiting.get(message.id)(message);
    waiting.delete(message.id);
  } else if (message.ok === false) {
    page.errors.push(message.error);
  }
}

function connect() {
  const scheme = location.protocol === 'https:' ? 'wss' : 'ws';
  const query = token ? `?token=${encodeURIComponent(token)}` : '';
  socket = new WebSocket(`${scheme}://${location.host}/ws${query}`);
  socket.addEventListener('open', () => {
    seq = 0;
    page.connected = true;
    page.version = 0;
    queued = [];
    tickSentAt = null;
    showBanner('');
    send({ cmd: 'hello', width: innerWidth, height: innerHeight, focused: document.hasFocus(), visible: !document.hidden });
  });
  socket.addEventListener('message', receive);
  socket.addEventListener('close', () => {
    page.connected = false;
    page.driving = false;
    for (const resolve of waiting.values()) resolve({ ok: false, error: 'disconnected' });
    waiting.clear();
    showBanner('Cuewright is not running. Reconnecting\u2026');
    setTimeout(connect, 1000);
  });
}

// --- text measurements -------------------------------------------------

// Measures texts the way text views draw them (render.js, .text-content),
// so that the model knows how tall the text really is.
let measuringElement = null;
function measureTexts(requests) {
  if (!measuringElement) {
    measuringElement = document.body.appendChild(document.createElement('div'));
    measuringElement.className = 'text-measure';
  }
  const results = requests.map(({ key, text, fontSize, width }) => {
    measuringElement.style.width = `${width}px`;
    measuringElement.style.font = `400 ${fontSize}px system-ui, sans-serif`;
    measuringElement.textContent = text;
    const box = measuringElement.getBoundingClientRect();
    return { key, width: Math.min(width, measuringElement.scrollWidth), height: box.height };
  });
  measuringElement.textContent = '';
  send({ cmd: 'measured', results });
}

// --- links -------------------------------------------------------------

function openLink(url) {
  if (url.startsWith('mailto:')) {
    location.href = url;
    return;
  }
  if (url.startsWith('/media/')) {
    // A saved take, downloaded to the presenter's computer.
    const link = document.createElement('a');
    link.href = token ? `${url}&token=${encodeURIComponent(token)}` : url;
    link.download = '';
    link.click();
    return;
  }
  const opened = window.open(url, '_blank', 'noopener,noreferrer');
  if (!opened) {
    // Blocked as a pop-up: offer it as a link instead.
    banner.textContent = '';
    const link = banner.appendChild(document.createElement('a'));
    link.href = url;
    link.target = '_blank';
    link.rel = 'noopener noreferrer';
    link.textContent = `Open ${url}`;
    link.addEventListener('click', () => showBanner(''));
    banner.hidden = false;
  }
}

// --- input -------------------------------------------------------------

const NATIVE = 'input, textarea, select, video, .navbar, .alert-layer, .sheet-grabber, .document-picker';
let touching = null;

windowElement.addEventListener('pointerdown', (event) => {
  if (event.button !== 0 || touching !== null) return;
  const layer = renderer.topLayer;
  if (!layer || !layer.contains(event.target) || event.target.closest(NATIVE)) return;
  const view = event.target.closest('[data-view]');
  if (!view || !view._path) return;
  const point = windowPoint(event.clientX, event.clientY);
  windowElement.setPointerCapture(event.pointerId);
  const button = view.closest('.view-Button');
  if (button) button.classList.add('pressed');
  touching = { id: event.pointerId, button };
  command({ cmd: 'touch', phase: 'down', path: view._path, x: point.x, y: point.y });
  event.preventDefault();
});

windowElement.addEventListener('pointermove', (event) => {
  if (!touching || event.pointerId !== touching.id) return;
  const point = windowPoint(event.clientX, event.clientY);
  command({ cmd: 'touch', phase: 'move', x: point.x, y: point.y });
});

function endTouch(event, phase) {
  if (!touching || event.pointerId !== touching.id) return;
  if (touching.button) touching.button.classList.remove('pressed');
  touching = null;
  const point = windowPoint(event.clientX, event.clientY);
  command({ cmd: 'touch', phase, x: point.x, y: point.y });
}

windowElement.addEventListener('pointerup', (event) => endTouch(event, 'up'));
windowElement.addEventListener('pointercancel', (event) => endTouch(event, 'cancel'));

// The wheel scrolls whatever scrolls under the pointer; the deltas of one
// animation frame go together.
let wheel = null;
windowElement.addEventListener('wheel', (event) => {
  const layer = renderer.topLayer;
  if (!layer || !layer.contains(event.target) || event.target.closest(NATIVE)) return;
  const view = event.target.closest('[data-view]');
  if (!view || !view._path) return;
  event.preventDefault();
  const unit = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? innerHeight : 1;
  if (!wheel) {
    wheel = { path: view._path, name: view._name, dx: 0, dy: 0 };
    requestAnimationFrame(() => {
      const { path, name, dx, dy } = wheel;
      wheel = null;
      command({ cmd: 'scroll', path, name, dx: dx / scale, dy: dy / scale });
    });
  }
  wheel.dx += event.deltaX * unit;
  wheel.dy += event.deltaY * unit;
}, { passive: false });

// Keys a presenter expects; what they do is decided by the server.
const KEYS = { ' ': 'Space', Home: 'Home', ArrowUp: 'ArrowUp', ArrowDown: 'ArrowDown', Escape: 'Escape' };

document.addEventListener('keydown', (event) => {
  const key = KEYS[event.key];
  if (!key || event.altKey || event.ctrlKey || event.metaKey) return;
  const typing = event.target.closest?.('input, textarea');
  if (typing && key !== 'Escape') return;
  event.preventDefault();
  command({ cmd: 'key', key });
});

let viewportPending = false;
addEventListener('resize', () => {
  if (viewportPending) return;
  viewportPending = true;
  requestAnimationFrame(() => {
    viewportPending = false;
    send({ cmd: 'viewport', width: innerWidth, height: innerHeight });
    fitStage();
  });
});
addEventListener('focus', () => send({ cmd: 'focus' }));
document.addEventListener('visibilitychange', () => send({ cmd: 'visibility', visible: !document.hidden }));

connect();
requestAnimationFrame(paint);
