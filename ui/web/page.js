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

    var win = {serial: desc.serial, id: desc.id, desc: desc, root: root, client: client, controls: []};
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
    }
    wtPage.windows.set(desc.serial, win);
    document.getElementById('wt-desktop').append(root);
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
          el.setAttribute('aria-label', c.name);
        } else {
          el.textContent = caption;
          wtPage.font(el, c.font);
          el.setAttribute('aria-label', caption || c.name);
        }
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
        el.setAttribute('aria-label', c.name);
        wtPage.bindPress(win, c, el);
        return el;
    }
    return null;
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
  bindPress: function (win, c, el) {
    var pressed = false;
    el.addEventListener('pointerdown', function (e) {
      if (e.button !== 0 || pressed) return;
      e.preventDefault();
      el.focus({preventScroll: true});
      try { el.setPointerCapture(e.pointerId); } catch (err) { /* synthetic pointer */ }
      pressed = true;
      el.classList.add('wt-down');
      var p = wtPage.at(el, e);
      if (c.onDown) wtPage.send(win, c, -1, p[0], p[1], wtPage.keyMask(e));
    });
    var release = function (e, click) {
      if (!pressed) return;
      pressed = false;
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
    wtPage.activate(serial);
    if (!wtPage.stats.menuShownAt) {
      wtPage.stats.menuShownAt = performance.now();
      document.documentElement.dataset.ready = '1';
    }
  },

  activate: function (serial) {
    var win = wtPage.windows.get(serial);
    if (!win) return;
    for (var other of wtPage.windows.values()) other.root.classList.toggle('wt-active', other === win);
    win.root.parentNode.append(win.root);  // topmost
    if (!win.root.contains(document.activeElement)) {
      var first = win.root.querySelector('.wt-client button, .wt-client [tabindex="0"], .wt-client input');
      (first || win.root.querySelector('.wt-close')).focus({preventScroll: true, focusVisible: false});
    }
  },

  // Dialog mode: every window but the modal one refuses input.
  setModal: function (serial) {
    wtPage.modal = serial;
    for (var win of wtPage.windows.values()) {
      var off = serial !== 0 && win.serial !== serial;
      win.root.inert = off;
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
    win.root.remove();
    wtPage.windows.delete(serial);
    if (wtPage.windows.size === 0) document.documentElement.dataset.ended = '1';
  },

  // Each window is centred and scaled as a whole to fit the viewport.
  layout: function () {
    var vw = document.documentElement.clientWidth, vh = document.documentElement.clientHeight;
    for (var win of wtPage.windows.values()) {
      var root = win.root;
      root.style.transform = 'none';
      var w = root.offsetWidth, h = root.offsetHeight;
      if (!w || !h) continue;
      var scale = Math.min(vw / w, vh / h);
      root.style.left = Math.max(0, (vw - w * scale) / 2) + 'px';
      root.style.top = Math.max(0, (vh - h * scale) / 2) + 'px';
      root.style.transform = 'scale(' + scale + ')';
      root.dataset.scale = scale.toFixed(4);
    }
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
    });
    ok.focus({preventScroll: true});
  },

  startFailed: function () {
    wtPage.messageBox('载入启动窗口失败', '信息：');
  },
};

window.addEventListener('resize', function () { wtPage.layout(); });
document.addEventListener('keyup', function (e) { wtPage.keyReleased(e); }, true);
// A pointer lost to another application releases nothing by itself: treat losing the page's
// focus as releasing every held key.
window.addEventListener('blur', function () {
  for (var code of Array.from(wtPage.held.keys())) wtPage.keyReleased({code: code, preventDefault: function () {}});
});
wtPage.stats.started = performance.now();
Module['onRuntimeInitialized'] = function () { wtPage.stats.runtimeAt = performance.now(); };
