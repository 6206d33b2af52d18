// Draws the toolkit model. The state comes from the server's snapshots: the
// window's screen tree, each screen with its view tree. Views become
// absolutely placed elements, one point per CSS pixel, with their colours,
// corners, borders, shadows, transforms and layer animations. What is on
// top (the top of the navigation stack, then presented screens and alerts)
// is drawn last and is the only layer that takes input.
//
// Nothing here decides anything: input goes back to the server as it
// happens (see app.js), and the next snapshot shows what it did.
//
// A part of the state whose object did not change since the last frame is
// not touched (patches share unchanged parts, see patch.js), so a frame in
// which only a text view's offset moved costs one style change.

const NAV_BAR_HEIGHT = 44;

export function rgba(color, alphaScale = 1) {
  if (!Array.isArray(color)) return '';
  const [r, g, b, a] = color;
  const byte = (v) => Math.round(Math.min(1, Math.max(0, v)) * 255);
  return `rgba(${byte(r)}, ${byte(g)}, ${byte(b)}, ${Math.min(1, Math.max(0, (a ?? 1) * alphaScale))})`;
}

function px(value) {
  return `${value}px`;
}

function font(size, weight = 400) {
  return `${weight} ${size}px system-ui, sans-serif`;
}

function matrix(t) {
  return `matrix(${t[0]}, ${t[1]}, ${t[2]}, ${t[3]}, ${t[4]}, ${t[5]})`;
}

// --- layer animations --------------------------------------------------

const keyframeRules = new Map();
let keyframeSheet = null;

function keyframesFor(animation, baseTransform) {
  const base = baseTransform ? `${matrix(baseTransform)} ` : '';
  const path = animation.keyPath || '';
  const value = (v) => {
    if (path.startsWith('transform.rotation')) return `transform: ${base}rotate(${v}rad)`;
    if (path === 'transform.scale') return `transform: ${base}scale(${v})`;
    if (path === 'transform.scale.x') return `transform: ${base}scaleX(${v})`;
    if (path === 'transform.scale.y') return `transform: ${base}scaleY(${v})`;
    if (path === 'transform.translation.x') return `transform: ${base}translateX(${v}px)`;
    if (path === 'transform.translation.y') return `transform: ${base}translateY(${v}px)`;
    if (path === 'opacity') return `opacity: ${v}`;
    return null;
  };
  const from = value(animation.from);
  const to = value(animation.to);
  if (from === null || to === null) return null;
  const body = `{ from { ${from}; } to { ${to}; } }`;
  let name = keyframeRules.get(body);
  if (!name) {
    name = `cw-anim-${keyframeRules.size}`;
    keyframeRules.set(body, name);
    if (!keyframeSheet) {
      const style = document.createElement('style');
      document.head.appendChild(style);
      keyframeSheet = style.sheet;
    }
    keyframeSheet.insertRule(`@keyframes ${name} ${body}`, keyframeSheet.cssRules.length);
  }
  return name;
}

const TIMING = {
  linear: 'linear',
  easeIn: 'ease-in',
  easeOut: 'ease-out',
  easeInEaseOut: 'ease-in-out',
  default: 'ease',
};

function animationCss(snap) {
  if (!snap.animations || snap.animations.length === 0) return '';
  const parts = [];
  for (const animation of snap.animations) {
    const name = keyframesFor(animation, snap.transform);
    if (!name) continue;
    // A repeat count too large for JSON (infinity) arrives as null.
    const repeat = animation.repeatCount;
    const endless = repeat === null || repeat === undefined || repeat > 1e9;
    const cycles = Math.max(1, repeat || 1) * (animation.autoreverses ? 2 : 1);
    const iterations = endless ? 'infinite' : String(cycles);
    const direction = animation.autoreverses ? 'alternate' : 'normal';
    const timing = TIMING[animation.timing] || 'linear';
    parts.push(`${name} ${animation.duration}s ${timing} 0s ${iterations} ${direction}`);
  }
  return parts.join(', ');
}

// --- views -------------------------------------------------------------

const KINDS = new Set(['View', 'Label', 'Button', 'TextView', 'TextField', 'Slider', 'ActivityIndicator',
  'Switch', 'SegmentedControl', 'Stepper', 'ScrollView', 'CollectionView', 'ImageView']);
const ALIASES = { EditableTextView: 'TextView', TableView: 'ScrollView', BarButtonItem: 'Button' };

// How to draw a view: by its type, or for a type this page does not know
// (a subclass, a control added later) by what its snapshot records; a view
// that records nothing special is drawn as a plain view.
function kindOf(snap) {
  const type = snap.type;
  if (KINDS.has(type)) return type;
  if (ALIASES[type]) return ALIASES[type];
  const has = (field) => Object.prototype.hasOwnProperty.call(snap, field);
  if (has('on')) return 'Switch';
  if (Array.isArray(snap.segments)) return 'SegmentedControl';
  if (has('step') && has('value')) return 'Stepper';
  if (has('value') && has('minimum') && has('maximum')) return 'Slider';
  if (has('text') && has('contentOffset')) return 'TextView';
  if (has('contentOffset') && has('contentSize')) return has('itemCount') ? 'CollectionView' : 'ScrollView';
  if (has('title') && has('titleColor')) return 'Button';
  if (has('text') && has('lines')) return 'Label';
  if (has('text') && has('textColor')) return 'TextField';
  if (has('animating')) return 'ActivityIndicator';
  if (snap.image && typeof snap.image === 'object') return 'ImageView';
  return 'View';
}

function createView(kind) {
  const el = document.createElement('div');
  el.className = `view view-${kind}`;
  el.dataset.view = kind;
  el._kind = kind;
  if (kind === 'Label') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'label-text';
  } else if (kind === 'Button') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'button-title';
  } else if (kind === 'TextField') {
    el._content = el.appendChild(document.createElement('input'));
    el._content.type = 'text';
  } else if (kind === 'Slider') {
    el._content = el.appendChild(document.createElement('input'));
    el._content.type = 'range';
    el._content.step = 'any';
  } else if (kind === 'ActivityIndicator') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'spinner';
  } else if (kind === 'Switch') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'switch-track';
    el._content.appendChild(document.createElement('div')).className = 'switch-knob';
  } else if (kind === 'SegmentedControl' || kind === 'Stepper') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = kind === 'Stepper' ? 'segments stepper' : 'segments';
    if (kind === 'Stepper') el._content.innerHTML = '<div class="segment">\u2212</div><div class="segment">+</div>';
  } else if (kind === 'ScrollView') {
    // Subviews sit in the content, which moves by the content offset.
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'scroll-content';
    el._childHost = el._content;
  } else if (kind === 'ImageView') {
    el._content = el.appendChild(document.createElement('div'));
    el._content.className = 'image';
  }
  return el;
}

function applyBase(el, snap) {
  const style = el.style;
  const [x, y, w, h] = snap.frame || [0, 0, 0, 0];
  style.left = px(x);
  style.top = px(y);
  style.width = px(w);
  style.height = px(h);
  style.display = snap.hidden ? 'none' : '';
  style.opacity = snap.alpha ?? '';
  style.backgroundColor = snap.background ? rgba(snap.background) : '';
  style.borderRadius = snap.cornerRadius ? px(snap.cornerRadius) : '';
  const kind = el._kind;
  const scrolls = kind === 'TextView' || kind === 'ScrollView' || kind === 'CollectionView';
  style.overflow = snap.clips || scrolls ? 'hidden' : '';
  const shadows = [];
  // A layer's border is drawn inside its bounds, over its background.
  if (snap.borderWidth) shadows.push(`inset 0 0 0 ${px(snap.borderWidth)} ${rgba(snap.borderColor)}`);
  if (snap.shadow) {
    const { color, offset, radius, opacity } = snap.shadow;
    shadows.push(`${px(offset[0])} ${px(offset[1])} ${px(radius)} ${rgba(color, opacity)}`);
  }
  style.boxShadow = shadows.join(', ');
  style.transform = snap.transform ? matrix(snap.transform) : '';
  const animation = animationCss(snap);
  if (style.animation !== animation) style.animation = animation;
  el.classList.toggle('gestures', Array.isArray(snap.gestures) && snap.gestures.length > 0);
}

function setText(node, text) {
  if (node.textContent !== text) node.textContent = text;
}

function applyLabel(el, snap, pending) {
  const text = el._content;
  setText(text, snap.text ?? '');
  text.style.font = font(snap.fontSize ?? 17, snap.bold ? 600 : 400);
  text.style.color = rgba(snap.textColor);
  text.style.textAlign = snap.alignment || 'left';
  const lines = snap.lines ?? 1;
  text.classList.toggle('one-line', lines === 1);
  text.classList.toggle('clamped', lines > 1);
  text.style.webkitLineClamp = lines > 1 ? String(lines) : '';
  if (snap.minimumScale !== undefined) pending.push(() => shrinkToFit(el, text, snap));
}

// A label that adjusts its font size shrinks its text, down to its minimum
// scale, until the text fits its frame.
function shrinkToFit(el, text, snap) {
  if (el.style.display === 'none' || !el.isConnected) return;
  const size = snap.fontSize ?? 17;
  const smallest = size * (snap.minimumScale || 0);
  const fits = () => text.scrollWidth <= el.clientWidth + 0.5 && text.scrollHeight <= el.clientHeight + 0.5;
  const weight = snap.bold ? 600 : 400;
  text.style.font = font(size, weight);
  if (fits()) return;
  let low = smallest, high = size;
  for (let i = 0; i < 8; i += 1) {
    const mid = (low + high) / 2;
    text.style.font = font(mid, weight);
    if (fits()) low = mid;
    else high = mid;
  }
  text.style.font = font(low, weight);
}

const IMAGE_GLYPHS = {
  play: '\u25B6', start: '\u25B6', stop: '\u25A0', pause: '\u2016',
  xmark: '\u00D7', gear: '\u2699', settings: '\u2699', plus: '+', add: '+', edit: '\u270E', pencil: '\u270E',
  camera: '\u25C9', video: '\u25C9', back: '\u2039', close: '\u00D7', trash: '\u2715',
  folder: '\u25A4', remote: '\u21C4', share: '\u2191',
};

function applyButton(el, snap) {
  const title = snap.title || '';
  let label = title;
  if (!label && snap.image) {
    const key = Object.keys(IMAGE_GLYPHS).find((name) => snap.image.toLowerCase().includes(name));
    label = key ? IMAGE_GLYPHS[key] : snap.image;
  }
  setText(el._content, label);
  el._content.style.font = font(snap.fontSize ?? 17, 500);
  el._content.style.color = rgba(snap.titleColor);
  el.classList.toggle('disabled', snap.enabled === false);
}

function applyTextView(el, snap, previous, actions) {
  const editable = snap.editable === true;
  if (!el._content || el._content._editable !== editable) {
    if (el._content) el._content.remove();
    const content = document.createElement(editable ? 'textarea' : 'div');
    content.className = editable ? 'text-edit' : 'text-content';
    content._editable = editable;
    content.spellcheck = false;
    if (editable) {
      content.addEventListener('input', () => actions.setText(el._path, el._name, content.value));
    }
    el.insertBefore(content, el.firstChild);
    el._content = content;
  }
  const content = el._content;
  const [offsetX, offsetY] = snap.contentOffset || [0, 0];
  const inset = snap.contentInset || [0, 0, 0, 0];
  content.style.font = font(snap.fontSize ?? 17);
  content.style.color = rgba(snap.textColor);
  content.style.padding = `${px(inset[0])} ${px(inset[3])} ${px(inset[2])} ${px(inset[1])}`;
  if (editable) {
    // The user's own typing and scrolling stay put; only a change from the
    // model is shown.
    if (document.activeElement !== content && content.value !== (snap.text ?? '')) content.value = snap.text ?? '';
    const previousOffset = previous?.contentOffset;
    if (!previousOffset || previousOffset[1] !== offsetY) content.scrollTop = offsetY;
  } else {
    // A script's text can be long; it is only compared when its snapshot
    // string changed.
    if (!previous || previous.text !== snap.text || !content._filled) {
      setText(content, snap.text ?? '');
      content._filled = true;
    }
    content.style.transition = snap.offsetAnimated ? 'transform 0.3s ease-out' : '';
    content.style.transform = `translate(${-offsetX}px, ${-offsetY}px)`;
  }
  el._offsetY = offsetY;
}

function applyTextField(el, snap) {
  const input = el._content;
  if (document.activeElement !== input && input.value !== (snap.text ?? '')) input.value = snap.text ?? '';
  input.placeholder = snap.placeholder || '';
  input.style.font = font(snap.fontSize ?? 17);
  input.style.color = rgba(snap.textColor);
  input.disabled = snap.enabled === false;
}

function applySlider(el, snap) {
  const input = el._content;
  input.min = String(snap.minimum ?? 0);
  input.max = String(snap.maximum ?? 1);
  input.disabled = snap.enabled === false;
  if (!el._dragging) input.value = String(snap.value ?? 0);
}

function applySwitch(el, snap) {
  el._content.classList.toggle('on', snap.on === true);
  el.classList.toggle('disabled', snap.enabled === false);
}

function applySegments(el, snap) {
  const titles = snap.segments || [];
  const host = el._content;
  while (host.children.length > titles.length) host.lastChild.remove();
  while (host.children.length < titles.length) host.appendChild(document.createElement('div')).className = 'segment';
  titles.forEach((title, index) => {
    const segment = host.children[index];
    setText(segment, title);
    segment.classList.toggle('selected', index === snap.selected);
  });
  el.classList.toggle('disabled', snap.enabled === false);
}

function applyStepper(el, snap) {
  const [minus, plus] = el._content.children;
  minus.classList.toggle('at-limit', snap.value <= snap.minimum);
  plus.classList.toggle('at-limit', snap.value >= snap.maximum);
  el.classList.toggle('disabled', snap.enabled === false);
}

function applyScrollView(el, snap) {
  const [x, y] = snap.contentOffset || [0, 0];
  const [w, h] = snap.contentSize || [0, 0];
  el._content.style.width = px(w);
  el._content.style.height = px(h);
  el._content.style.transform = `translate(${-x}px, ${-y}px)`;
}

function applyImageView(el, snap) {
  const image = snap.image;
  el._content.style.backgroundColor = image && image.fill ? rgba(image.fill) : '';
  if (image && image.resource) el._content.dataset.resource = image.resource;
  else delete el._content.dataset.resource;
}

// A slider that draws its own track: its filled rectangles under the thumb.
function applySliderDrawing(el, snap) {
  const fills = snap.fills;
  if (!fills) return;
  if (!el._fills) {
    el._fills = el.insertBefore(document.createElement('div'), el._content);
    el._fills.className = 'slider-fills';
    el.classList.add('drawn');
  }
  const host = el._fills;
  while (host.children.length > fills.length) host.lastChild.remove();
  while (host.children.length < fills.length) host.appendChild(document.createElement('div'));
  fills.forEach(([rect, color], index) => {
    const style = host.children[index].style;
    style.left = px(rect[0]);
    style.top = px(rect[1]);
    style.width = px(rect[2]);
    style.height = px(rect[3]);
    style.backgroundColor = rgba(color);
  });
}

function applyActivityIndicator(el, snap) {
  el._content.style.borderTopColor = rgba(snap.color);
  el._content.classList.toggle('spinning', snap.animating === true);
}

function wireControl(el, actions) {
  if (el._wired) return;
  el._wired = true;
  if (el._kind === 'TextField') {
    el._content.addEventListener('input', () => actions.setText(el._path, el._name, el._content.value));
  } else if (el._kind === 'Slider') {
    const input = el._content;
    input.addEventListener('pointerdown', () => { el._dragging = true; });
    const release = () => { el._dragging = false; };
    input.addEventListener('pointerup', release);
    input.addEventListener('pointercancel', release);
    input.addEventListener('input', () => actions.setValue(el._path, el._name, Number(input.value)));
  }
}

function samePath(a, b) {
  return a && b && a.length === b.length && a.every((v, i) => v === b[i]);
}

function renderView(snap, el, path, context) {
  if (el && el._snap === snap && samePath(el._path, path)) return el;
  const kind = kindOf(snap);
  const previous = el && el._kind === kind ? el._snap : null;
  if (!el || el._kind !== kind) el = createView(kind);
  el._snap = snap;
  el._path = path;
  el._name = snap.name || '';
  if (snap.name) el.dataset.name = snap.name;
  else delete el.dataset.name;
  el.dataset.type = snap.type || 'View';
  applyBase(el, snap);
  switch (kind) {
  case 'Label': applyLabel(el, snap, context.pending); break;
  case 'Button': applyButton(el, snap); break;
  case 'TextView': applyTextView(el, snap, previous, context.actions); break;
  case 'TextField': applyTextField(el, snap); break;
  case 'Slider': applySlider(el, snap); applySliderDrawing(el, snap); break;
  case 'ActivityIndicator': applyActivityIndicator(el, snap); break;
  case 'Switch': applySwitch(el, snap); break;
  case 'SegmentedControl': applySegments(el, snap); break;
  case 'Stepper': applyStepper(el, snap); break;
  case 'ScrollView': applyScrollView(el, snap); break;
  case 'ImageView': applyImageView(el, snap); break;
  default: break;
  }
  wireControl(el, context.actions);
  renderChildren(el, snap.subviews || [], path, context);
  return el;
}

function renderChildren(el, subviews, path, context) {
  const previous = el._kids || [];
  const next = subviews.map((snap, index) => renderView(snap, previous[index], [...path, index], context));
  const host = el._childHost || el;
  let ref = host === el && el._content ? el._content.nextSibling : host.firstChild;
  for (const child of next) {
    if (child === ref) ref = ref.nextSibling;
    else host.insertBefore(child, ref);
  }
  while (ref) {
    const after = ref.nextSibling;
    ref.remove();
    ref = after;
  }
  el._kids = next;
}

// --- screens, the navigation bar and alerts ----------------------------

// The screens on the display, bottom first: the top of each navigation
// stack, then what is presented over it.
function collectLayers(screen, key, out, navigation) {
  if (!screen) return out;
  if (screen.class === 'NavigationController') {
    const stack = screen.stack || [];
    const index = stack.length - 1;
    if (index >= 0) {
      const top = stack[index];
      const bar = screen.navigationBarHidden ? null : { depth: stack.length, below: stack[index - 1] };
      collectLayers(top, `${key}/${index}:${top.class}`, out, bar);
    }
  } else {
    out.push({ key, screen, bar: navigation });
  }
  if (screen.presented) collectLayers(screen.presented, `${key}^${screen.presented.class}`, out, null);
  return out;
}

function renderNavigationBar(layer, bar, screen, actions) {
  if (!bar) {
    if (layer._bar) layer._bar.remove();
    layer._bar = null;
    return;
  }
  if (!layer._bar) {
    const el = document.createElement('div');
    el.className = 'navbar';
    el.innerHTML = '<div class="navbar-back" role="button"></div><div class="navbar-title"></div>';
    el.querySelector('.navbar-back').addEventListener('click', () => actions.back());
    layer._bar = el;
  }
  layer.appendChild(layer._bar);
  const back = layer._bar.querySelector('.navbar-back');
  back.style.display = bar.depth > 1 ? '' : 'none';
  setText(back, `\u2039 ${bar.below?.title || 'Back'}`);
  setText(layer._bar.querySelector('.navbar-title'), screen.title || '');
}

function renderScreen(layer, entry, context) {
  const view = entry.screen.view;
  if (view) {
    const root = renderView(view, layer._root, [], context);
    if (root !== layer._root) {
      if (layer._root) layer._root.remove();
      layer.insertBefore(root, layer.firstChild);
      layer._root = root;
    }
  }
  if (entry.screen.class === 'ColorPickerScreen') renderColorPicker(layer, entry.screen, context.actions);
  if (entry.screen.class === 'DocumentPickerScreen') renderDocumentPicker(layer, context.actions);
  if (entry.screen.class === 'PlayerViewController') renderPlayer(layer, entry.screen);
  renderSheetGrabber(layer, entry.screen.sheet === true, context.actions);
  renderNavigationBar(layer, entry.bar, entry.screen, context.actions);
}

function hex(color) {
  return `#${color.slice(0, 3).map((v) => Math.round(Math.min(1, Math.max(0, v)) * 255).toString(16).padStart(2, '0')).join('')}`;
}

// The platform's colour picker is the browser's own: a colour well and, when
// the picker takes transparency, an opacity slider.
function renderColorPicker(layer, screen, actions) {
  if (!layer._picker) {
    const panel = layer.appendChild(document.createElement('div'));
    panel.className = 'color-picker';
    panel.innerHTML = '<label>Colour <input type="color" class="picker-well"></label>'
      + '<label class="picker-alpha">Opacity <input type="range" min="0" max="1" step="0.01"></label>';
    const well = panel.querySelector('.picker-well');
    const alpha = panel.querySelector('.picker-alpha input');
    const pick = () => {
      const value = well.value;
      const channel = (at) => parseInt(value.slice(at, at + 2), 16) / 255;
      actions.pickColor([channel(1), channel(3), channel(5), Number(alpha.value)]);
    };
    well.addEventListener('input', pick);
    alpha.addEventListener('input', pick);
    layer._picker = panel;
  }
  const color = screen.selectedColor || [1, 1, 1, 1];
  const well = layer._picker.querySelector('.picker-well');
  const alpha = layer._picker.querySelector('.picker-alpha input');
  if (document.activeElement !== well) well.value = hex(color);
  if (document.activeElement !== alpha) alpha.value = String(color[3] ?? 1);
  layer._picker.querySelector('.picker-alpha').hidden = screen.supportsAlpha === false;
}

// A sheet is swiped away by its grabber at the top edge; Esc does the same.
function renderSheetGrabber(layer, sheet, actions) {
  if (!sheet) {
    if (layer._grabber) layer._grabber.remove();
    layer._grabber = null;
    return;
  }
  if (!layer._grabber) {
    const grabber = document.createElement('div');
    grabber.className = 'sheet-grabber';
    grabber.setAttribute('role', 'button');
    grabber.title = 'Close (Esc)';
    grabber.addEventListener('click', () => actions.swipeAway());
    layer._grabber = grabber;
  }
  layer.appendChild(layer._grabber);
}

// The platform's player is a video element over the saved take, which the
// server streams from its media folder with range requests.
function renderPlayer(layer, screen) {
  const name = (screen.url || '').split('/').pop();
  if (!layer._player) {
    const video = layer.appendChild(document.createElement('video'));
    video.className = 'player-video';
    video.controls = true;
    video.playsInline = true;
    const note = layer.appendChild(document.createElement('div'));
    note.className = 'player-note';
    note.hidden = true;
    video.addEventListener('error', () => {
      note.textContent = 'This take cannot be played in the browser.';
      note.hidden = false;
    });
    layer._player = video;
  }
  const video = layer._player;
  const source = name ? `/media/${encodeURIComponent(name)}` : '';
  if (video.dataset.source !== source) {
    video.dataset.source = source;
    video.src = source;
  }
  if (screen.playing && video.paused && !video.error) video.play().catch(() => {});
}

// The platform's document picker is the browser's file chooser, or a file
// dropped on the panel. The chosen file is uploaded; the device then
// carries on as with any picked document.
function renderDocumentPicker(layer, actions) {
  if (layer._documents) return;
  const panel = layer.appendChild(document.createElement('div'));
  panel.className = 'document-picker';
  panel.innerHTML = '<div class="document-picker-title">Choose a document to import</div>'
    + '<label class="document-picker-drop">Choose a file, or drop it here'
    + '<input type="file" class="document-picker-file"></label>'
    + '<div class="document-picker-status" role="status"></div>';
  const input = panel.querySelector('.document-picker-file');
  const status = panel.querySelector('.document-picker-status');
  const send = (file) => {
    if (!file) return;
    status.textContent = `Uploading ${file.name}\u2026`;
    input.disabled = true;
    actions.uploadDocument(file).then((error) => {
      input.disabled = false;
      status.textContent = error || '';
    });
  };
  input.addEventListener('change', () => send(input.files[0]));
  panel.addEventListener('dragover', (event) => { event.preventDefault(); panel.classList.add('dragging'); });
  panel.addEventListener('dragleave', () => panel.classList.remove('dragging'));
  panel.addEventListener('drop', (event) => {
    event.preventDefault();
    panel.classList.remove('dragging');
    send(event.dataTransfer.files[0]);
  });
  layer._documents = panel;
}

const PERMISSION_TITLES = {
  camera: '\u201CCuewright\u201D would like to access the camera',
  microphone: '\u201CCuewright\u201D would like to access the microphone',
  photoLibrary: '\u201CCuewright\u201D would like to access your photos',
};

// The platform's permission questions, drawn as the system's own prompt,
// one at a time, over everything.
function renderPermissionPrompt(windowElement, current, questions, actions) {
  const kind = questions && questions[0];
  if (!kind) {
    if (current) current.remove();
    return null;
  }
  if (current && current._kind === kind) {
    windowElement.appendChild(current);
    return current;
  }
  if (current) current.remove();
  const layer = windowElement.appendChild(document.createElement('div'));
  layer.className = 'layer alert-layer system-prompt';
  layer._kind = kind;
  layer.innerHTML = '<div class="backdrop"></div><div class="alert" role="alertdialog"><div class="alert-head"><div class="alert-title"></div></div>'
    + '<div class="alert-actions side-by-side"><div class="alert-action" role="button" data-action="Don\u2019t Allow">Don\u2019t Allow</div>'
    + '<div class="alert-action cancel" role="button" data-action="Allow">Allow</div></div></div>';
  layer.querySelector('.alert-title').textContent = PERMISSION_TITLES[kind] || kind;
  const [deny, allow] = layer.querySelectorAll('.alert-action');
  deny.addEventListener('click', () => actions.answerPermission(kind, false));
  allow.addEventListener('click', () => actions.answerPermission(kind, true));
  return layer;
}

const KEYBOARDS = { numberPad: 'numeric', emailAddress: 'email', url: 'url' };

function renderAlert(layer, alert, actions) {
  const shape = JSON.stringify([alert.alertTitle, alert.message, alert.style, alert.actions, (alert.textFields || []).map((f) => [f.placeholder, f.keyboard])]);
  const sheet = alert.style === 'actionSheet';
  if (layer._shape !== shape) {
    layer._shape = shape;
    layer.textContent = '';
    layer.classList.add('alert-layer');
    const backdrop = layer.appendChild(document.createElement('div'));
    backdrop.className = 'backdrop';
    // A tap beside an action sheet picks its cancel action.
    if (sheet) backdrop.addEventListener('click', () => actions.cancelAlert());
    const box = layer.appendChild(document.createElement('div'));
    box.className = sheet ? 'sheet' : 'alert';
    box.setAttribute('role', 'alertdialog');
    const head = box.appendChild(document.createElement('div'));
    head.className = 'alert-head';
    if (alert.alertTitle) head.appendChild(document.createElement('div')).className = 'alert-title';
    if (alert.message) head.appendChild(document.createElement('div')).className = 'alert-message';
    if (alert.alertTitle) head.querySelector('.alert-title').textContent = alert.alertTitle;
    if (alert.message) head.querySelector('.alert-message').textContent = alert.message;
    layer._fields = (alert.textFields || []).map((field, index) => {
      const input = head.appendChild(document.createElement('input'));
      input.className = 'alert-field';
      input.placeholder = field.placeholder || '';
      if (KEYBOARDS[field.keyboard]) input.inputMode = KEYBOARDS[field.keyboard];
      input.addEventListener('input', () => actions.alertText(index, input.value));
      input.addEventListener('keydown', (event) => {
        if (event.key !== 'Enter') return;
        const preferred = (alert.actions || []).find((a) => a.style !== 'cancel' && a.enabled !== false);
        if (preferred) actions.answer(layer._fields.map((f) => f.value), preferred.title);
      });
      return input;
    });
    const list = sheet ? box : box.appendChild(document.createElement('div'));
    const buttons = alert.actions || [];
    if (!sheet) list.className = buttons.length === 2 ? 'alert-actions side-by-side' : 'alert-actions';
    const ordered = sheet ? [...buttons.filter((a) => a.style !== 'cancel'), ...buttons.filter((a) => a.style === 'cancel')] : buttons;
    for (const action of ordered) {
      const button = list.appendChild(document.createElement('div'));
      button.className = `alert-action ${action.style || 'default'}`;
      button.setAttribute('role', 'button');
      button.dataset.action = action.title;
      button.textContent = action.title;
      if (action.enabled === false) button.classList.add('disabled');
      else button.addEventListener('click', () => actions.answer(layer._fields.map((f) => f.value), action.title));
    }
    if (layer._fields[0]) setTimeout(() => layer._fields[0].focus(), 0);
  }
  (alert.textFields || []).forEach((field, index) => {
    const input = layer._fields[index];
    if (input && document.activeElement !== input && input.value !== (field.text ?? '')) input.value = field.text ?? '';
  });
}

export class Renderer {
  constructor(windowElement, actions) {
    this.window = windowElement;
    this.actions = actions;
    this.layers = [];
  }

  // The top layer's element, which takes input; none while the system
  // asks a question.
  get topLayer() {
    if (this.prompt) return null;
    return this.layers[this.layers.length - 1] || null;
  }

  render(state) {
    const win = state.window || { width: 390, height: 844 };
    this.window.style.width = px(win.width);
    this.window.style.height = px(win.height);
    const entries = collectLayers(state.root, 'root', [], null);
    const context = { actions: this.actions, pending: [] };
    const next = [];
    entries.forEach((entry, index) => {
      let layer = this.layers[index];
      if (!layer || layer._key !== entry.key) {
        layer = document.createElement('div');
        layer.className = 'layer';
        layer._key = entry.key;
        layer.dataset.screen = entry.screen.class;
      }
      if (layer._screen !== entry.screen) {
        if (entry.screen.class === 'AlertController') renderAlert(layer, entry.screen, this.actions);
        else renderScreen(layer, entry, context);
        layer._screen = entry.screen;
      }
      layer.classList.toggle('covered', index !== entries.length - 1);
      next.push(layer);
    });
    let ref = this.window.firstChild;
    for (const layer of next) {
      if (layer === ref) ref = ref.nextSibling;
      else this.window.insertBefore(layer, ref);
    }
    while (ref) {
      const after = ref.nextSibling;
      ref.remove();
      ref = after;
    }
    this.layers = next;
    this.prompt = renderPermissionPrompt(this.window, this.prompt, state.permissionQuestions, this.actions);
    for (const fit of context.pending) fit();
  }

  // Offsets of the named text views on screen, for measurements.
  textOffsets() {
    const offsets = {};
    for (const el of this.window.querySelectorAll('.view-TextView[data-name]')) offsets[el.dataset.name] = el._offsetY;
    return offsets;
  }
}
