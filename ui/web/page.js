// The page side of the browser binding: builds each model window from its description, applies
// control updates, forwards the learner's input to the program, and shows message boxes, sounds
// and the visual style. Windows are laid out in form pixels and scaled uniformly to the viewport.
var wtPage = {
  windows: new Map(),  // serial -> {serial, id, desc, root, client, controls: []}
  modal: 0,
  boxes: [],           // message boxes waiting behind the one shown
  held: new Map(),     // keyboard code -> {win, index, c} of a push-button held by that key
  audio: null,
  sounds: new Map(),   // address -> Promise<AudioBuffer>
  stills: new Map(),   // "address:length" -> object URL of a PNG
  stats: {started: 0, runtimeAt: 0, menuShownAt: 0, sounds: 0, boxes: 0, style: 0},
  keyboard: false,     // the learner's last input came from the keyboard: the focus mark shows
  pressing: new Set(), // cancel functions of the controls held by a pointer now
  returnFocus: null,   // the control that opened the window in dialog mode, focused on its close

  // --- Colours, pictures and sounds --------------------------------------------------------
  color: function (bgr) {
    bgr = bgr >>> 0;
    return 'rgb(' + (bgr & 255) + ',' + ((bgr >> 8) & 255) + ',' + ((bgr >> 16) & 255) + ')';
  },

  bytes: function (pic) {
    if (!pic || pic.n <= 0 || pic.p + pic.n > HEAPU8.length) return null;
    return HEAPU8.subarray(pic.p, pic.p + pic.n);
  },

  // An object URL for a picture. A GIF gets a URL of its own every time, so that the animation
  // starts from its first frame whenever it is set, as on the desktop.
  pictureUrl: function (pic) {
    var bytes = wtPage.bytes(pic);
    if (!bytes) return '';
    var gif = bytes.length > 3 && bytes[0] === 0x47 && bytes[1] === 0x49 && bytes[2] === 0x46;
    if (gif) return URL.createObjectURL(new Blob([bytes.slice()], {type: 'image/gif'}));
    var key = pic.p + ':' + pic.n;
    var url = wtPage.stills.get(key);
    if (!url) {
      url = URL.createObjectURL(new Blob([bytes.slice()], {type: 'image/png'}));
      wtPage.stills.set(key, url);
    }
    return url;
  },

  setPicture: function (img, pic) {
    var old = img.getAttribute('src') || '';
    var url = wtPage.pictureUrl(pic);
    if (url) img.src = url; else img.removeAttribute('src');
    img.hidden = !url;
    img.dataset.animated = url && pic && wtPage.bytes(pic)[0] === 0x47 ? '1' : '0';
    if (old && old !== url && !Array.from(wtPage.stills.values()).includes(old)) URL.revokeObjectURL(old);
  },

  play: function (data, length) {
    wtPage.stats.sounds++;
    var bytes = wtPage.bytes({p: data, n: length});
    if (!bytes) return;
    try {
      if (!wtPage.audio) wtPage.audio = new (window.AudioContext || window.webkitAudioContext)();
      var ctx = wtPage.audio;
      if (ctx.state === 'suspended') ctx.resume();
      var decoded = wtPage.sounds.get(data);
      if (!decoded) {
        decoded = ctx.decodeAudioData(bytes.slice().buffer);
        wtPage.sounds.set(data, decoded);
      }
      // Every call is a playback of its own; the context mixes whatever overlaps.
      decoded.then(function (buffer) {
        var source = ctx.createBufferSource();
        source.buffer = buffer;
        source.connect(ctx.destination);
        source.start();
      }, function () {});
    } catch (e) {
      // No audio output: the program goes on silently.
    }
  },

  applyStyle: function (style) {
    wtPage.stats.style = style;
    document.body.classList.toggle('wt-themed', style === 1);
    wtPage.layout();
  },

  // Relative luminance of a 0xBBGGRR colour, and the contrast of two of them (1 to 21).
  luminance: function (bgr) {
    var lin = function (v) { v /= 255; return v <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); };
    bgr = bgr >>> 0;
    return 0.2126 * lin(bgr & 255) + 0.7152 * lin((bgr >> 8) & 255) + 0.0722 * lin((bgr >> 16) & 255);
  },

  contrast: function (a, b) {
    var la = wtPage.luminance(a), lb = wtPage.luminance(b);
    return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
  },

  // A text the program colours keeps its colour; where it lacks 3:1 against the label's
  // background (pure green or red on white), a thin outline of black or white, whichever stands
  // out more from the text, surrounds its glyphs.
  outline: function (el, color, back) {
    if (!el.textContent || wtPage.contrast(color, back) >= 3) {
      el.style.textShadow = '';
      el.dataset.contrast = wtPage.contrast(color, back).toFixed(2);
      return;
    }
    var edge = wtPage.contrast(color, 0) >= wtPage.contrast(color, 0xffffff) ? 0 : 0xffffff;
    var tone = wtPage.color(edge);
    el.style.textShadow = ['-1px -1px', '0 -1px', '1px -1px', '-1px 0', '1px 0', '-1px 1px', '0 1px', '1px 1px']
      .map(function (at) { return at + ' 0 ' + tone; }).join(', ');
    el.dataset.contrast = wtPage.contrast(color, edge).toFixed(2);
  },

  // --- Windows --------------------------------------------------------------------------------
  createWindow: function (desc) {
    var root = document.createElement('section');
    root.className = 'wt-window';
    root.hidden = true;
    root.setAttribute('role', 'dialog');
    root.setAttribute('aria-label', desc.title);
    root.dataset.serial = desc.serial;
    root.dataset.id = desc.id;

    var bar = document.createElement('div');
    bar.className = 'wt-titlebar';
    var title = document.createElement('span');
    title.className = 'wt-title';
    title.textContent = desc.title;
    var close = document.createElement('button');
    close.className = 'wt-close';
    close.type = 'button';
    close.setAttribute('aria-label', '关闭');
    close.title = '关闭';
    close.textContent = '\u2715';
    close.addEventListener('click', function () { _wt_web_close(desc.serial); });
    bar.append(title, close);
    // While the window is zoomed in, its own close button may lie outside the viewport: a second
    // one stays at the viewport's corner, at a size a finger hits.
    var farClose = document.createElement('button');
    farClose.className = 'wt-float-close';
    farClose.type = 'button';
    farClose.hidden = true;
    farClose.setAttribute('aria-label', '关闭');
    farClose.title = '关闭';
    farClose.textContent = '\u2715';
    farClose.addEventListener('click', function () { _wt_web_close(desc.serial); });

    var client = document.createElement('div');
    client.className = 'wt-client';
    client.style.width = desc.w + 'px';
    client.style.height = desc.h + 'px';
    var bg = document.createElement('img');
    bg.className = 'wt-background';
    bg.alt = '';
    wtPage.setPicture(bg, desc.bg);
    client.append(bg);
    root.append(bar, client);

    var ring = document.createElement('div');
    ring.className = 'wt-ring';
    ring.hidden = true;
    ring.setAttribute('aria-hidden', 'true');

    var win = {serial: desc.serial, id: desc.id, desc: desc, root: root, client: client, controls: [],
               ring: ring, farClose: farClose, stops: [], view: null, terminal: 0};
    if (!wtPage.modal && document.activeElement !== document.body) win.opener = document.activeElement;
    for (var c of desc.controls) {
      var el = wtPage.makeControl(win, c);
      if (!el) continue;
      el.style.left = c.x + 'px';
      el.style.top = c.y + 'px';
      el.style.width = Math.max(0, c.w) + 'px';
      el.style.height = Math.max(0, c.h) + 'px';
      el.dataset.name = c.name;
      el.dataset.index = c.i;
      var holder = c.parent > 0 && win.controls[c.parent] ? win.controls[c.parent].el : client;
      holder.append(el);
      win.controls[c.i] = {desc: c, el: el};
      wtPage.applyState(win, c.state);
      if (c.nav && c.face && Math.max(c.w, c.h) <= 32)
        win.terminal = win.terminal ? Math.min(win.terminal, Math.max(c.w, c.h)) : Math.max(c.w, c.h);
    }
    // The power switch answers on the whole of its picture, not only on its click area.
    for (var entry of win.controls) {
      if (!entry || entry.desc.kind !== 'area' || !entry.desc.parent) continue;
      var holder = win.controls[entry.desc.parent];
      if (holder && holder.desc.kind === 'picture') {
        holder.el.classList.add('wt-target');
        if (entry.desc.desc) holder.el.title = entry.desc.desc;
        wtPage.bindPress(win, entry.desc, holder.el, entry.el);
      }
    }
    for (var i of desc.tab || []) if (win.controls[i]) win.stops.push(win.controls[i]);
    client.append(ring);
    root.addEventListener('keydown', function (e) { wtPage.moveFocus(win, e); });
    root.addEventListener('focusin', function () { wtPage.mark(win); });
    root.addEventListener('focusout', function () { ring.hidden = true; });
    wtPage.bindZoom(win);
    wtPage.windows.set(desc.serial, win);
    document.getElementById('wt-desktop').append(root, farClose);
  },

  // Whether a control is shown, from the page's own flags (asking the browser would lay out the
  // page first).
  shown: function (el) {
    for (; el && !el.classList.contains('wt-client'); el = el.parentElement) if (el.hidden) return false;
    return true;
  },

  // The element of a control that takes the keyboard focus.
  focusable: function (entry) {
    return entry.desc.kind === 'check' ? entry.el.querySelector('input') : entry.el;
  },

  // Tab and Shift+Tab go along the window's Tab order and then its close button, round again;
  // an arrow key goes to the control nearest that way.
  moveFocus: function (win, e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    var ways = {ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3};
    var shown = win.stops.filter(function (s) { return wtPage.shown(s.el); });
    var at = shown.findIndex(function (s) { return s.el.contains(document.activeElement); });
    var next = null;
    if (e.key === 'Tab') {
      var close = win.root.querySelector('.wt-close');
      var ring = shown.map(wtPage.focusable).concat([close]);
      var k = at >= 0 ? at : ring.indexOf(document.activeElement);
      if (k < 0) next = e.shiftKey ? ring[ring.length - 1] : ring[0];
      else next = ring[(k + (e.shiftKey ? ring.length - 1 : 1)) % ring.length];
    } else if (e.key in ways && at >= 0 && !e.shiftKey) {
      var to = win.controls[shown[at].desc.nav[ways[e.key]]];
      if (to && wtPage.shown(to.el)) next = wtPage.focusable(to);
    }
    if (!next) return;
    e.preventDefault();
    wtPage.keyboard = true;
    next.focus({preventScroll: true});
    wtPage.reveal(win, next);
  },

  // The focus mark: a ring over the control holding the focus, drawn above everything in the
  // window, so that no picture the control sits on can clip it. Shown after keyboard input only.
  mark: function (win) {
    var ring = win.ring;
    var entry = win.stops.find(function (s) { return s.el.contains(document.activeElement); });
    if (!entry || !wtPage.keyboard) { ring.hidden = true; return; }
    var x = 0, y = 0;
    for (var el = entry.el; el && el !== win.client; el = el.offsetParent) { x += el.offsetLeft; y += el.offsetTop; }
    var w = win.client.offsetWidth, h = win.client.offsetHeight, pad = 3;
    var left = Math.max(0, x - pad), top = Math.max(0, y - pad);
    ring.style.left = left + 'px';
    ring.style.top = top + 'px';
    ring.style.width = Math.max(0, Math.min(w, x + entry.el.offsetWidth + pad) - left) + 'px';
    ring.style.height = Math.max(0, Math.min(h, y + entry.el.offsetHeight + pad) - top) + 'px';
    ring.hidden = false;
  },

  font: function (el, f) {
    if (!f) return;
    if (f.px > 0) el.style.fontSize = f.px + 'px';
    el.style.fontWeight = Math.min(900, Math.max(100, f.weight || 400));
    if (f.italic) el.style.fontStyle = 'italic';
    if (f.face) el.style.fontFamily = '"' + f.face + '", var(--wt-cjk)';
  },

  makeControl: function (win, c) {
    var el;
    switch (c.kind) {
      case 'label':
        el = document.createElement('div');
        el.className = 'wt-label';
        el.style.background = wtPage.color(c.back);
        // The labels the logic writes to tell the state (电机启动中, 请连线 …) are announced.
        el.setAttribute('role', 'status');
        el.setAttribute('aria-live', 'polite');
        wtPage.font(el, c.font);
        return el;
      case 'wire': {
        el = document.createElement('div');
        el.className = 'wt-wire';
        el.setAttribute('aria-hidden', 'true');
        var across = c.w >= c.h;
        var thickness = across ? c.h : c.w;
        var edge = thickness >= 3 ? Math.max(1, Math.floor(thickness / 4)) : 0;
        el.style.background = wtPage.color(c.bars[1]);
        if (edge) {
          var sides = across ? ['Top', 'Bottom'] : ['Left', 'Right'];
          el.style['border' + sides[0]] = edge + 'px solid ' + wtPage.color(c.bars[0]);
          el.style['border' + sides[1]] = edge + 'px solid ' + wtPage.color(c.bars[2]);
        }
        return el;
      }
      case 'button': {
        el = document.createElement('button');
        el.type = 'button';
        el.className = 'wt-button';
        var caption = c.state.caption;
        if (c.face) {
          el.classList.add('wt-face');
          var img = document.createElement('img');
          img.alt = '';
          img.draggable = false;
          wtPage.setPicture(img, c.face);
          el.append(img);
        } else {
          el.textContent = caption;
          wtPage.font(el, c.font);
        }
        wtPage.name(el, c, caption);
        wtPage.bindPress(win, c, el);
        return el;
      }
      case 'picture': {
        el = document.createElement('div');
        el.className = 'wt-picture';
        var pic = document.createElement('img');
        pic.className = 'wt-pic';
        pic.alt = '';
        pic.draggable = false;
        el.append(pic);
        return el;
      }
      case 'check': {
        el = document.createElement('label');
        el.className = 'wt-check';
        var box = document.createElement('input');
        box.type = 'checkbox';
        var text = document.createElement('span');
        text.textContent = c.state.caption;
        wtPage.font(el, c.font);
        // The only check box of the program switches to removing wires; most windows store it
        // without a caption and draw "修改线" beside it in the diagram.
        if (!c.state.caption) box.setAttribute('aria-label', '修改线');
        wtPage.name(box, c, c.state.caption || '修改线');
        box.addEventListener('change', function () {
          _wt_web_check(win.serial, c.i, box.checked ? 1 : 0);
        });
        el.append(box, text);
        return el;
      }
      case 'area':
        el = document.createElement('div');
        el.className = 'wt-area';
        el.tabIndex = 0;
        el.setAttribute('role', 'button');
        wtPage.name(el, c, c.name);
        wtPage.bindPress(win, c, el);
        return el;
    }
    return null;
  },

  // The accessible name and description the desktop gives the control (ui/focus.h).
  name: function (el, c, fallback) {
    var spoken = c.spoken || fallback || c.name;
    if (c.kind === 'check' && spoken === c.name) spoken = fallback;
    el.setAttribute('aria-label', spoken);
    if (c.desc) {
      el.setAttribute('aria-description', c.desc);
      el.title = c.desc;
    }
  },

  keyMask: function (e) {
    return (e.ctrlKey ? 1 : 0) | (e.shiftKey ? 2 : 0) | (e.altKey ? 4 : 0);
  },

  // Pointer position in form pixels, relative to the control.
  at: function (el, e) {
    var r = el.getBoundingClientRect();
    var scale = el.offsetWidth > 0 ? r.width / el.offsetWidth : 1;
    return [Math.round((e.clientX - r.left) / scale), Math.round((e.clientY - r.top) / scale)];
  },

  send: function (win, c, event, x, y, keys) {
    _wt_web_fire(win.serial, c.i, event, x || 0, y || 0, keys || 0);
  },

  // A control that acts: the press reaches the program as mouseDown, the release as mouseUp,
  // then clicked when the release lies on the control. The pointer is captured, so the release
  // arrives even when a message box has covered the page meanwhile. Space holds the control like
  // the mouse; Enter presses and releases it at once.
  // `proxy`: el is a larger target for that control (the power switch's picture): it takes the
  // pointer for it where the control itself does not lie, and gives it the focus.
  bindPress: function (win, c, el, proxy) {
    var pressed = false;
    var cancel = function () {
      if (!pressed) return;
      pressed = false;
      wtPage.pressing.delete(cancel);
      el.classList.remove('wt-down');
      if (c.onUp) wtPage.send(win, c, -2);
    };
    el.addEventListener('pointerdown', function (e) {
      if (e.button !== 0 || pressed || wtPage.pinch) return;
      if (proxy && e.target.closest('.wt-button, .wt-area, .wt-check')) return;  // its own
      e.preventDefault();
      (proxy || el).focus({preventScroll: true});
      wtPage.pressing.add(cancel);
      try { el.setPointerCapture(e.pointerId); } catch (err) { /* synthetic pointer */ }
      pressed = true;
      el.classList.add('wt-down');
      var p = wtPage.at(el, e);
      if (c.onDown) wtPage.send(win, c, -1, p[0], p[1], wtPage.keyMask(e));
    });
    var release = function (e, click) {
      if (!pressed) return;
      pressed = false;
      wtPage.pressing.delete(cancel);
      el.classList.remove('wt-down');
      var p = wtPage.at(el, e);
      if (c.onUp) wtPage.send(win, c, -2, p[0], p[1], wtPage.keyMask(e));
      var r = el.getBoundingClientRect();
      var inside = e.clientX >= r.left && e.clientX < r.right && e.clientY >= r.top && e.clientY < r.bottom;
      if (click && inside && c.onClick) wtPage.send(win, c, 0);
    };
    el.addEventListener('pointerup', function (e) { if (e.button === 0) release(e, true); });
    el.addEventListener('pointercancel', function (e) { release(e, false); });
    el.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    if (proxy) return;
    el.addEventListener('keydown', function (e) {
      if (e.key !== ' ' && e.key !== 'Enter') return;
      e.preventDefault();
      if (e.repeat) return;
      if (e.key === 'Enter') {
        if (c.onDown) wtPage.send(win, c, -1);
        if (c.onUp) wtPage.send(win, c, -2);
        if (c.onClick) wtPage.send(win, c, 0);
        return;
      }
      if (wtPage.held.has(e.code)) return;
      wtPage.held.set(e.code, {win: win, c: c, el: el});
      el.classList.add('wt-down');
      if (c.onDown) wtPage.send(win, c, -1, 0, 0, wtPage.keyMask(e));
    });
    // Activation by assistive technology arrives as a click without a pointer.
    el.addEventListener('click', function (e) {
      if (e.detail !== 0 || e.pointerType) return;
      if (c.onDown) wtPage.send(win, c, -1);
      if (c.onUp) wtPage.send(win, c, -2);
      if (c.onClick) wtPage.send(win, c, 0);
    });
  },

  // The release of a key that holds a control, wherever the focus went meanwhile.
  keyReleased: function (e) {
    var h = wtPage.held.get(e.code);
    if (!h) return;
    wtPage.held.delete(e.code);
    e.preventDefault();
    h.el.classList.remove('wt-down');
    if (!wtPage.windows.has(h.win.serial)) return;
    if (h.c.onUp) wtPage.send(h.win, h.c, -2, 0, 0, wtPage.keyMask(e));
    if (h.c.onClick && document.activeElement === h.el) wtPage.send(h.win, h.c, 0);
  },

  applyState: function (win, s) {
    var entry = win.controls[s.i];
    if (!entry) return;
    var el = entry.el, c = entry.desc;
    el.hidden = !s.visible;
    switch (c.kind) {
      case 'label':
        el.textContent = s.caption;
        el.style.color = wtPage.color(s.color);
        wtPage.outline(el, s.color, c.back);
        break;
      case 'picture':
        wtPage.setPicture(el.querySelector('.wt-pic'), s.pic);
        break;
      case 'check':
        el.querySelector('input').checked = !!s.checked;
        break;
    }
  },

  update: function (serial, prop, s) {
    var win = wtPage.windows.get(serial);
    if (win) wtPage.applyState(win, s);
  },

  showWindow: function (serial) {
    var win = wtPage.windows.get(serial);
    if (!win) return;
    win.root.hidden = false;
    wtPage.layout();
    // Shown as the floor page of bench/web_load.py shows its picture: in the page, before the
    // browser lays it out (which the focus below makes it do at once).
    if (!wtPage.stats.menuShownAt) {
      wtPage.stats.menuShownAt = performance.now();
      document.documentElement.dataset.ready = '1';
    }
    wtPage.activate(serial);
  },

  activate: function (serial) {
    var win = wtPage.windows.get(serial);
    if (!win) return;
    for (var other of wtPage.windows.values()) other.root.classList.toggle('wt-active', other === win);
    win.root.parentNode.append(win.root, win.farClose);  // topmost
    for (var any of wtPage.windows.values()) any.farClose.hidden = !(any === win && any.view && any.view.zoomable);
    var back = wtPage.returnFocus;
    if (back && win.root.contains(back) && document.contains(back)) {
      wtPage.returnFocus = null;
      back.focus({preventScroll: true});
    } else if (!win.root.contains(document.activeElement)) {
      var first = win.stops.find(function (s) { return wtPage.shown(s.el); });
      (first ? wtPage.focusable(first) : win.root.querySelector('.wt-close')).focus({preventScroll: true});
    }
    wtPage.mark(win);
  },

  // Dialog mode: every window but the modal one refuses input.
  setModal: function (serial) {
    wtPage.modal = serial;
    for (var win of wtPage.windows.values()) {
      var off = serial !== 0 && win.serial !== serial;
      win.root.inert = off;
      win.farClose.inert = off;
      win.root.classList.toggle('wt-disabled', off);
      if (serial !== 0 && win.serial === serial) win.root.setAttribute('aria-modal', 'true');
      else win.root.removeAttribute('aria-modal');
    }
    if (serial === 0) {
      var rest = Array.from(wtPage.windows.values());
      if (rest.length) wtPage.activate(rest[rest.length - 1].serial);
    }
  },

  removeWindow: function (serial) {
    var win = wtPage.windows.get(serial);
    if (!win) return;
    wtPage.held.forEach(function (h, code) { if (h.win === win) wtPage.held.delete(code); });
    for (var img of win.root.querySelectorAll('img[data-animated="1"]')) URL.revokeObjectURL(img.src);
    if (win.opener && document.contains(win.opener)) wtPage.returnFocus = win.opener;
    win.root.remove();
    win.farClose.remove();
    wtPage.windows.delete(serial);
    if (wtPage.windows.size === 0) document.documentElement.dataset.ended = '1';
  },

  // Each window is centred and scaled as a whole to fit the viewport. Where that makes its
  // terminals smaller than a finger can hit (20 CSS px), the learner may zoom in and pan.
  layout: function () {
    var vw = window.innerWidth, vh = window.innerHeight;
    // The frame's size follows from the form and the style sheet (a 26 px title bar, a border
    // of 2 px, 1 px in the themed look): reading it from the page would lay out the whole page
    // before the menu is shown, its CJK text included.
    var border = document.body.classList.contains('wt-themed') ? 1 : 2;
    for (var win of wtPage.windows.values()) {
      var root = win.root;
      if (root.hidden) continue;
      var w = win.desc.w + 2 * border, h = win.desc.h + 26 + 2 * border;
      var fit = Math.min(vw / w, vh / h);
      var zoomable = win.terminal > 0 && win.terminal * fit < 20;
      win.view = {fit: fit, s: fit, x: (vw - w * fit) / 2, y: (vh - h * fit) / 2, w: w, h: h,
                  zoomable: zoomable, most: zoomable ? Math.max(fit, 48 / win.terminal) : fit};
      root.classList.toggle('wt-zoomable', zoomable);
      wtPage.place(win);
      if (win.root.classList.contains('wt-active')) win.farClose.hidden = !zoomable;
    }
  },

  place: function (win) {
    var v = win.view;
    var vw = window.innerWidth, vh = window.innerHeight;
    // Zoomed in, the window may be panned until its edge meets the viewport's, no further.
    var clampTo = function (at, size, room) {
      return size <= room ? (room - size) / 2 : Math.min(0, Math.max(room - size, at));
    };
    v.x = clampTo(v.x, v.w * v.s, vw);
    v.y = clampTo(v.y, v.h * v.s, vh);
    win.root.style.left = Math.round(v.x) + 'px';
    win.root.style.top = Math.round(v.y) + 'px';
    win.root.style.transform = 'scale(' + v.s + ')';
    win.root.dataset.scale = v.s.toFixed(4);
    wtPage.mark(win);
  },

  // Zooms the window to scale s (within its fit and its largest zoom), keeping the viewport
  // point (px, py) where it is.
  zoom: function (win, s, px, py) {
    var v = win.view;
    if (!v || !v.zoomable) return;
    s = Math.min(v.most, Math.max(v.fit, s));
    v.x = px - (px - v.x) * s / v.s;
    v.y = py - (py - v.y) * s / v.s;
    v.s = s;
    wtPage.place(win);
  },

  // Pinch and two-finger pan, a double tap on the diagram, Ctrl+wheel and the wheel.
  bindZoom: function (win) {
    var root = win.root, start = null, lastTap = null;
    var mid = function (t) { return [(t[0].clientX + t[1].clientX) / 2, (t[0].clientY + t[1].clientY) / 2]; };
    var gap = function (t) { return Math.hypot(t[0].clientX - t[1].clientX, t[0].clientY - t[1].clientY); };
    root.addEventListener('touchstart', function (e) {
      if (!win.view || !win.view.zoomable || e.touches.length !== 2) return;
      e.preventDefault();
      // A second finger turns the touch into a gesture: whatever the first one held lets go.
      for (var cancel of Array.from(wtPage.pressing)) cancel();
      wtPage.pinch = true;
      start = {gap: gap(e.touches), mid: mid(e.touches), s: win.view.s, x: win.view.x, y: win.view.y};
    }, {passive: false});
    root.addEventListener('touchmove', function (e) {
      if (!start || e.touches.length !== 2) return;
      e.preventDefault();
      var m = mid(e.touches), v = win.view;
      v.s = start.s; v.x = start.x + m[0] - start.mid[0]; v.y = start.y + m[1] - start.mid[1];
      wtPage.zoom(win, start.s * gap(e.touches) / Math.max(1, start.gap), m[0], m[1]);
    }, {passive: false});
    root.addEventListener('touchend', function (e) {
      if (e.touches.length === 0) { start = null; wtPage.pinch = false; }
    });
    root.addEventListener('pointerup', function (e) {
      if (e.pointerType !== 'touch' || !win.view || !win.view.zoomable) return;
      if (e.target.closest('.wt-button, .wt-area, .wt-check, .wt-target, .wt-titlebar')) { lastTap = null; return; }
      var now = performance.now();
      if (lastTap && now - lastTap.t < 400 && Math.hypot(e.clientX - lastTap.x, e.clientY - lastTap.y) < 40) {
        var v = win.view;
        wtPage.zoom(win, v.s > v.fit * 1.05 ? v.fit : Math.max(v.fit, 32 / win.terminal), e.clientX, e.clientY);
        lastTap = null;
      } else {
        lastTap = {t: now, x: e.clientX, y: e.clientY};
      }
    });
    root.addEventListener('wheel', function (e) {
      var v = win.view;
      if (!v || !v.zoomable) return;
      e.preventDefault();
      if (e.ctrlKey) {
        wtPage.zoom(win, v.s * Math.exp(-e.deltaY / 300), e.clientX, e.clientY);
      } else {
        v.x -= e.deltaX;
        v.y -= e.deltaY;
        wtPage.place(win);
      }
    }, {passive: false});
  },

  // Brings a control the keyboard moved to into view when the window is zoomed in.
  reveal: function (win, el) {
    var v = win.view;
    if (!v || v.s <= v.fit) return;
    var r = el.getBoundingClientRect();
    var vw = window.innerWidth, vh = window.innerHeight;
    if (r.left < 0) v.x -= r.left - 8; else if (r.right > vw) v.x -= r.right - vw + 8;
    if (r.top < 0) v.y -= r.top - 8; else if (r.bottom > vh) v.y -= r.bottom - vh + 8;
    wtPage.place(win);
  },

  // --- Message boxes ----------------------------------------------------------------------------
  messageBox: function (text, title) {
    wtPage.stats.boxes++;
    wtPage.boxes.push({text: text, title: title});
    if (wtPage.boxes.length === 1) wtPage.showBox();
  },

  showBox: function () {
    var box = wtPage.boxes[0];
    var layer = document.getElementById('wt-boxes');
    var returnFocus = document.activeElement;
    layer.replaceChildren();
    var dlg = document.createElement('div');
    dlg.className = 'wt-msgbox';
    dlg.setAttribute('role', 'alertdialog');
    dlg.setAttribute('aria-modal', 'true');
    var bar = document.createElement('div');
    bar.className = 'wt-titlebar';
    var title = document.createElement('span');
    title.className = 'wt-title';
    title.id = 'wt-box-title';
    title.textContent = box.title;
    bar.append(title);
    var body = document.createElement('p');
    body.className = 'wt-box-text';
    body.id = 'wt-box-text';
    body.textContent = box.text;
    var ok = document.createElement('button');
    ok.type = 'button';
    ok.className = 'wt-ok';
    ok.textContent = '确定';
    dlg.setAttribute('aria-labelledby', 'wt-box-title');
    dlg.setAttribute('aria-describedby', 'wt-box-text');
    var row = document.createElement('div');
    row.className = 'wt-box-buttons';
    row.append(ok);
    dlg.append(bar, body, row);
    layer.append(dlg);
    layer.hidden = false;
    document.getElementById('wt-desktop').inert = true;
    var done = function () {
      wtPage.boxes.shift();
      if (wtPage.boxes.length) { wtPage.showBox(); return; }
      layer.hidden = true;
      layer.replaceChildren();
      document.getElementById('wt-desktop').inert = false;
      if (returnFocus && document.contains(returnFocus)) returnFocus.focus({preventScroll: true});
    };
    ok.addEventListener('click', done);
    dlg.addEventListener('keydown', function (e) {
      if (e.key === 'Escape') { e.preventDefault(); done(); }
      if (e.key === 'Tab') e.preventDefault();  // "确定" is the box's only stop
    });
    ok.focus({preventScroll: true});
  },

  startFailed: function () {
    wtPage.messageBox('载入启动窗口失败', '信息：');
  },
};

window.addEventListener('resize', function () { wtPage.layout(); });
// The focus mark follows the keyboard: shown once a key is pressed, hidden by the pointer.
document.addEventListener('keydown', function (e) {
  wtPage.keyboard = true;
  var win = Array.from(wtPage.windows.values()).find(function (w) { return w.root.contains(document.activeElement); });
  if (win) { wtPage.mark(win); return; }
  // The focus left every window (a click on the page around them): Tab comes back to the
  // topmost window that takes input, never to the page itself.
  if (e.key !== 'Tab' || !document.getElementById('wt-boxes').hidden) return;
  var open = Array.from(wtPage.windows.values()).filter(function (w) { return !w.root.inert; });
  if (!open.length) return;
  e.preventDefault();
  var top = open[open.length - 1];
  var first = top.stops.find(function (st) { return wtPage.shown(st.el); });
  (first ? wtPage.focusable(first) : top.root.querySelector('.wt-close')).focus({preventScroll: true});
}, true);
document.addEventListener('pointerdown', function () {
  wtPage.keyboard = false;
  for (var win of wtPage.windows.values()) win.ring.hidden = true;
}, true);
document.addEventListener('keyup', function (e) { wtPage.keyReleased(e); }, true);
// A pointer lost to another application releases nothing by itself: treat losing the page's
// focus as releasing every held key.
window.addEventListener('blur', function () {
  for (var code of Array.from(wtPage.held.keys())) wtPage.keyReleased({code: code, preventDefault: function () {}});
});
wtPage.stats.started = performance.now();
// The program is inlined as base64: decoded natively where the browser can (a data: URL fetch
// decodes it several times slower), then compiled; the text is let go once decoded.
Module['instantiateWasm'] = function (imports, receive) {
  var b64 = wasmBinaryFile.slice(wasmBinaryFile.indexOf(',') + 1);
  wasmBinaryFile = '';
  var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(b64) : intArrayFromBase64(b64);
  WebAssembly.instantiate(bytes, imports).then(function (result) {
    receive(result.instance, result.module);
  }, function (reason) {
    err('the program did not start: ' + reason);
    abort(reason);
  });
  return {};
};
Module['onRuntimeInitialized'] = function () { wtPage.stats.runtimeAt = performance.now(); };
