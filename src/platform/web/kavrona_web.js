// The page's side of the browser platform (web_js.h). The page (index.html) has made the canvas
// #screen inside #stage and the hidden text field #ime; it fetched the game's files into /game/
// and mounted the record directory /records/ before the game started.
mergeInto(LibraryManager.library, {
  $KavWeb: {
    started: false,
    // A picture of the game's (0x00RRGGBB pixels) on a canvas of its own; pixels of the key
    // colour (-1: none) are left clear.
    pictureCanvas: function(pixels, width, height, key) {
      var c = document.createElement('canvas');
      c.width = width;
      c.height = height;
      var ctx = c.getContext('2d'), img = ctx.createImageData(width, height);
      for (var i = 0; i < width * height; i++) {
        var p = HEAPU32[(pixels >> 2) + i];
        img.data[i * 4] = (p >> 16) & 0xFF;
        img.data[i * 4 + 1] = (p >> 8) & 0xFF;
        img.data[i * 4 + 2] = p & 0xFF;
        img.data[i * 4 + 3] = p === key ? 0 : 255;
      }
      ctx.putImageData(img, 0, 0);
      return c;
    },
    canvas: null,
    ctx: null,
    frame: null,        // the last frame, 800 x 600, on a canvas of its own
    frameCtx: null,
    frameImage: null,
    multiple: 1,        // the canvas holds the frame this many times enlarged
    events: [],
    held: null,         // the keys held, by virtual key (made at the start: the library's objects are written out as text)
    composing: false,
    textActive: false,
    pointer: null,
    pointerOver: false,
    fullscreenWanted: false,
    audio: null,
    clips: [],
    voices: [],
    gains: [],
    pad: -1,
    fontCanvas: null,
    fontCtx: null,
    lineHeights: {},
    recordStamp: null,
    lastRecordLook: -1000,
    syncing: false,
    syncAgain: false,

    // Windows virtual keys by the key's place on the keyboard (KeyboardEvent.code).
    vkOfCode: function(e) {
      var c = e.code;
      var named = {Enter: 13, NumpadEnter: 13, Escape: 27, Space: 32, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
                   ArrowDown: 40, F4: 115, Tab: 9, Backspace: 8, Delete: 46, Home: 36, End: 35, AltLeft: 18,
                   AltRight: 18, ShiftLeft: 16, ShiftRight: 16};
      if (named[c]) return named[c];
      // Letters wherever the layout puts them (the M of the menu), digits of the top row.
      if (e.key && e.key.length === 1 && /[a-zA-Z]/.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
      if (/^Key[A-Z]$/.test(c)) return c.charCodeAt(3);
      if (/^Digit[0-9]$/.test(c)) return c.charCodeAt(5);
      return 0;
    },

    push: function(kind, x, y, vk, mods, text) {
      KavWeb.events.push(kind + ' ' + x + ' ' + y + ' ' + vk + ' ' + mods + ' ' + (text || '').replace(/[\r\n]/g, ''));
      if (Module['kavWake']) Module['kavWake']();
    },

    // The canvas covers the frame's place in the stage, aspect kept, the stage's black showing
    // as bars. It holds the frame enlarged by the largest whole multiple that fits, in device
    // pixels; the browser's compositor scales that the rest of the way, smoothed (sharp-bilinear,
    // as on the desktop), or not at all when the multiple fits exactly. Scaling there keeps it
    // off the thread the game runs on.
    resize: function() {
      var stage = KavWeb.canvas.parentElement, dpr = window.devicePixelRatio || 1;
      var sw = stage.clientWidth * dpr, sh = stage.clientHeight * dpr;
      var scale = Math.max(1 / 800, Math.min(sw / 800, sh / 600));
      var fw = Math.round(800 * scale), fh = Math.round(600 * scale);
      var k = Math.max(1, Math.floor(Math.min(fw / 800, fh / 600)));
      var style = KavWeb.canvas.style;
      style.left = Math.floor((sw - fw) / 2) / dpr + 'px';
      style.top = Math.floor((sh - fh) / 2) / dpr + 'px';
      style.width = fw / dpr + 'px';
      style.height = fh / dpr + 'px';
      style.imageRendering = fw === 800 * k && fh === 600 * k ? 'pixelated' : 'auto';
      if (KavWeb.canvas.width !== 800 * k) {
        KavWeb.multiple = k;
        KavWeb.canvas.width = 800 * k;
        KavWeb.canvas.height = 600 * k;
        KavWeb.ctx.imageSmoothingEnabled = false;
      }
      KavWeb.paint();
    },

    paint: function() {
      var k = KavWeb.multiple;
      KavWeb.ctx.drawImage(KavWeb.frame, 0, 0, 800 * k, 600 * k);
    },

    // Page pixels of a mouse event to frame pixels; null outside the frame.
    toFrame: function(e) {
      var r = KavWeb.canvas.getBoundingClientRect();
      var x = Math.floor((e.clientX - r.left) * 800 / r.width);
      var y = Math.floor((e.clientY - r.top) * 600 / r.height);
      return (x >= 0 && x < 800 && y >= 0 && y < 600) ? {x: x, y: y} : null;
    },

    resumeAudio: function() {
      if (KavWeb.audio && KavWeb.audio.state === 'suspended') KavWeb.audio.resume();
    },

    keyDown: function(e) {
      KavWeb.resumeAudio();
      if (e.isComposing || e.keyCode === 229) return;
      var vk = KavWeb.vkOfCode(e);
      if (vk === 0) return;
      // The page would scroll, tab away or go back on these; they are the game's.
      if ([8, 9, 13, 27, 32, 35, 36, 37, 38, 39, 40, 115, 18].indexOf(vk) >= 0) e.preventDefault();
      if (e.repeat) return;
      KavWeb.held.add(vk);
      var mods = (e.shiftKey ? 1 : 0) | (e.altKey ? 2 : 0);
      KavWeb.push(4, 0, 0, vk, mods, '');
    },

    keyUp: function(e) {
      var vk = KavWeb.vkOfCode(e);
      if (vk !== 0) KavWeb.held.delete(vk);
    },

    focused: function() {
      var a = document.activeElement;
      return a === KavWeb.canvas || a === KavWeb.ime;
    },

    blur: function() {
      // Focus moving between the canvas and its text field stays with the game.
      setTimeout(function() {
        if (KavWeb.focused()) return;
        KavWeb.held.clear();
        KavWeb.push(2, 0, 0, 0, 0, '');
      }, 0);
    },

    setUp: function() {
      var canvas = document.getElementById('screen');
      KavWeb.canvas = canvas;
      KavWeb.held = new Set();
      KavWeb.ctx = canvas.getContext('2d', {alpha: false});
      KavWeb.frame = document.createElement('canvas');
      KavWeb.frame.width = 800;
      KavWeb.frame.height = 600;
      KavWeb.frameCtx = KavWeb.frame.getContext('2d', {alpha: false});
      KavWeb.ime = document.getElementById('ime');
      canvas.addEventListener('keydown', KavWeb.keyDown);
      canvas.addEventListener('keyup', KavWeb.keyUp);
      KavWeb.ime.addEventListener('keydown', KavWeb.keyDown);
      KavWeb.ime.addEventListener('keyup', KavWeb.keyUp);
      canvas.addEventListener('blur', KavWeb.blur);
      KavWeb.ime.addEventListener('blur', KavWeb.blur);
      canvas.addEventListener('focus', function() { KavWeb.push(3, 0, 0, 0, 0, ''); });
      canvas.addEventListener('mousedown', function(e) {
        KavWeb.resumeAudio();
        if (e.button !== 0) return;
        var p = KavWeb.toFrame(e);
        if (p) KavWeb.push(0, p.x, p.y, 0, 0, '');
        // A click into the game keeps typing in the game's text field.
        if (KavWeb.textActive) setTimeout(function() { KavWeb.ime.focus({preventScroll: true}); }, 0);
      });
      canvas.addEventListener('mousemove', function(e) {
        var p = KavWeb.toFrame(e), s = KavWeb.pointer;
        var over = !!(s && p && p.x >= s.area[0] && p.y >= s.area[1] && p.x < s.area[0] + s.area[2] &&
                      p.y < s.area[1] + s.area[3]);
        if (over !== KavWeb.pointerOver) {
          canvas.style.cursor = over ? s.cursor : '';
          KavWeb.pointerOver = over;
        }
      });
      var ime = KavWeb.ime;
      ime.addEventListener('compositionstart', function() { KavWeb.composing = true; });
      ime.addEventListener('compositionupdate', function(e) { KavWeb.push(6, 0, 0, 0, 0, e.data || ''); });
      ime.addEventListener('compositionend', function(e) {
        KavWeb.composing = false;
        KavWeb.push(6, 0, 0, 0, 0, '');
        if (e.data) KavWeb.push(5, 0, 0, 0, 0, e.data);
        ime.value = '';
      });
      ime.addEventListener('input', function(e) {
        if (KavWeb.composing || e.isComposing) return;
        if (e.inputType === 'insertText' && e.data) KavWeb.push(5, 0, 0, 0, 0, e.data);
        ime.value = '';
      });
      // A click on the bars keeps the keys with the game.
      canvas.parentElement.addEventListener('mousedown', function(e) {
        if (e.target !== canvas.parentElement) return;
        e.preventDefault();
        (KavWeb.textActive ? KavWeb.ime : canvas).focus({preventScroll: true});
      });
      new ResizeObserver(KavWeb.resize).observe(canvas.parentElement);
      document.addEventListener('fullscreenchange', function() {
        KavWeb.fullscreenWanted = !!document.fullscreenElement;
        setTimeout(KavWeb.resize, 0);
      });
      // A save the last look has not seen yet still goes to IndexedDB as the tab closes.
      window.addEventListener('pagehide', KavWeb.lookAtRecords);
      KavWeb.resize();
      canvas.focus({preventScroll: true});
    },

    fontFamily: function(face) {
      return face === 0 ? 'KavronaMincho' : 'KavronaGothic';
    },

    fontContext: function(face, px) {
      if (!KavWeb.fontCanvas) {
        KavWeb.fontCanvas = document.createElement('canvas');
        KavWeb.fontCtx = KavWeb.fontCanvas.getContext('2d', {willReadFrequently: true});
      }
      KavWeb.fontCtx.font = px + 'px ' + KavWeb.fontFamily(face);
      return KavWeb.fontCtx;
    },

    // The line is tall enough for every glyph a dialog is likely to show, as on the desktop.
    metrics: function(face, px) {
      var key = face + ':' + px;
      if (!KavWeb.lineHeights[key]) {
        var ctx = KavWeb.fontContext(face, px);
        var m = ctx.measureText('Agjpqy_()|' + '\u3042\u30a2\u6f22\u300c\u300d\uff08\uff09\uff71');
        var above = Math.ceil(Math.max(m.fontBoundingBoxAscent || 0, m.actualBoundingBoxAscent));
        var below = Math.ceil(Math.max(m.fontBoundingBoxDescent || 0, m.actualBoundingBoxDescent));
        KavWeb.lineHeights[key] = {above: above, height: above + below};
      }
      return KavWeb.lineHeights[key];
    },

    // Stores the record file when it has changed since the last look.
    lookAtRecords: function() {
      var stamp = null;
      try {
        var st = FS.stat('/records/Kavrona.ini');
        stamp = st.mtime.getTime() + ':' + st.size;
      } catch (e) {}
      if (stamp !== KavWeb.recordStamp) {
        KavWeb.recordStamp = stamp;
        if (stamp !== null) KavWeb.persistRecords();
      }
    },

    persistRecords: function() {
      if (typeof IDBFS === 'undefined' || !Module['kavronaRecordsMounted']) return;
      if (KavWeb.syncing) {
        KavWeb.syncAgain = true;
        return;
      }
      KavWeb.syncing = true;
      // One IndexedDB transaction: a tab closed during it keeps the old file or the new one.
      FS.syncfs(false, function(err) {
        KavWeb.syncing = false;
        if (err) console.warn('Kavrona: the record file was not stored', err);
        if (KavWeb.syncAgain) {
          KavWeb.syncAgain = false;
          KavWeb.persistRecords();
        }
      });
    },
  },

  kav_web_init__deps: ['$KavWeb'],
  kav_web_init: function() {
    if (KavWeb.started) return;
    KavWeb.started = true;
    Module['kavWeb'] = KavWeb;
    KavWeb.setUp();
  },

  kav_web_now: function() {
    return performance.now();
  },

  kav_web_idle__deps: ['$KavWeb'],
  kav_web_idle: function() {
    // A look a tenth of a second is plenty: the file changes only when the game saves.
    var now = performance.now();
    if (now - KavWeb.lastRecordLook < 100) return;
    KavWeb.lastRecordLook = now;
    KavWeb.lookAtRecords();
  },

  kav_web_present__deps: ['$KavWeb'],
  kav_web_present: function(rgba) {
    if (!KavWeb.started) return;
    // A view of the game's memory, made afresh since the memory may have grown.
    KavWeb.frameImage = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, 800 * 600 * 4), 800, 600);
    KavWeb.frameCtx.putImageData(KavWeb.frameImage, 0, 0);
    KavWeb.paint();
    if (!Module['kavronaShown']) {
      Module['kavronaShown'] = performance.now();
      if (Module['onFirstPicture']) Module['onFirstPicture']();
    }
  },

  kav_web_set_fullscreen__deps: ['$KavWeb'],
  kav_web_set_fullscreen: function(on) {
    var stage = document.getElementById('stage');
    KavWeb.fullscreenWanted = !!on;
    if (on && !document.fullscreenElement) {
      // Allowed within a moment of the key press or click that asked for it.
      stage.requestFullscreen().catch(function(e) {
        KavWeb.fullscreenWanted = false;
        console.warn('Kavrona: full screen refused', e);
      });
    } else if (!on && document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    }
  },

  kav_web_is_fullscreen__deps: ['$KavWeb'],
  kav_web_is_fullscreen: function() {
    return (document.fullscreenElement || KavWeb.fullscreenWanted) ? 1 : 0;
  },

  kav_web_canvas_rect__deps: ['$KavWeb'],
  kav_web_canvas_rect: function(rect) {
    var r = KavWeb.canvas ? KavWeb.canvas.getBoundingClientRect() : {left: 0, top: 0, width: 800, height: 600};
    HEAP32[rect >> 2] = Math.round(r.left + window.scrollX);
    HEAP32[(rect >> 2) + 1] = Math.round(r.top + window.scrollY);
    HEAP32[(rect >> 2) + 2] = Math.round(r.width);
    HEAP32[(rect >> 2) + 3] = Math.round(r.height);
  },

  kav_web_desktop_rect: function(rect) {
    HEAP32[rect >> 2] = 0;
    HEAP32[(rect >> 2) + 1] = 0;
    HEAP32[(rect >> 2) + 2] = screen.availWidth || 800;
    HEAP32[(rect >> 2) + 3] = screen.availHeight || 600;
  },

  kav_web_set_icon__deps: ['$KavWeb'],
  kav_web_set_icon: function(pixels, width, height) {
    var c = KavWeb.pictureCanvas(pixels, width, height, -1);
    var link = document.querySelector('link[rel=icon]') || document.head.appendChild(document.createElement('link'));
    link.rel = 'icon';
    link.href = c.toDataURL('image/png');
  },

  kav_web_next_event__deps: ['$KavWeb'],
  kav_web_next_event: function() {
    if (KavWeb.events.length === 0) return 0;
    return allocateUTF8(KavWeb.events.shift());
  },

  kav_web_event_pending__deps: ['$KavWeb'],
  kav_web_event_pending: function() {
    return KavWeb.events.length > 0 ? 1 : 0;
  },

  kav_web_key_down__deps: ['$KavWeb'],
  kav_web_key_down: function(vk) {
    return KavWeb.held && KavWeb.held.has(vk) ? 1 : 0;
  },

  kav_web_set_pointer__deps: ['$KavWeb'],
  kav_web_set_pointer: function(pixels, width, height, hotX, hotY, key, area) {
    var a = [HEAP32[area >> 2], HEAP32[(area >> 2) + 1], HEAP32[(area >> 2) + 2], HEAP32[(area >> 2) + 3]];
    if (!pixels) {
      KavWeb.pointer = null;
    } else if (!KavWeb.pointer || KavWeb.pointer.pixels !== pixels) {
      var c = KavWeb.pictureCanvas(pixels, width, height, key);
      KavWeb.pointer = {pixels: pixels, cursor: 'url(' + c.toDataURL('image/png') + ') ' + hotX + ' ' + hotY + ', crosshair'};
    }
    if (KavWeb.pointer) KavWeb.pointer.area = a;
    if (KavWeb.canvas) {
      KavWeb.canvas.style.cursor = '';
      KavWeb.pointerOver = false;
    }
  },

  kav_web_text_start__deps: ['$KavWeb'],
  kav_web_text_start: function(caret) {
    if (!KavWeb.started) return;
    var r = KavWeb.canvas.getBoundingClientRect();
    var x = HEAP32[caret >> 2], y = HEAP32[(caret >> 2) + 1], h = HEAP32[(caret >> 2) + 3];
    var ime = KavWeb.ime;
    // The field sits on the caret, so that an input method shows its candidates there.
    ime.style.left = (r.left + window.scrollX + x * r.width / 800) + 'px';
    ime.style.top = (r.top + window.scrollY + y * r.height / 600) + 'px';
    ime.style.height = Math.max(1, h * r.height / 600) + 'px';
    var wasActive = KavWeb.textActive;
    KavWeb.textActive = true;
    if (!wasActive && KavWeb.focused()) ime.focus({preventScroll: true});
  },

  kav_web_text_stop__deps: ['$KavWeb'],
  kav_web_text_stop: function() {
    if (!KavWeb.textActive) return;
    KavWeb.textActive = false;
    if (document.activeElement === KavWeb.ime) KavWeb.canvas.focus({preventScroll: true});
  },

  kav_web_audio_open__deps: ['$KavWeb'],
  kav_web_audio_open: function() {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    try { KavWeb.audio = new Context(); } catch (e) { return 0; }
    return 1;
  },

  kav_web_audio_load__deps: ['$KavWeb'],
  kav_web_audio_load: function(slot, left, right, frames, rate) {
    var ac = KavWeb.audio;
    if (!ac || frames <= 0) return 0;
    var buffer;
    try { buffer = ac.createBuffer(2, frames, rate); } catch (e) { return 0; }
    buffer.copyToChannel(HEAPF32.subarray(left >> 2, (left >> 2) + frames), 0);
    buffer.copyToChannel(HEAPF32.subarray(right >> 2, (right >> 2) + frames), 1);
    if (KavWeb.voices[slot]) { try { KavWeb.voices[slot].stop(); } catch (e) {} }
    KavWeb.voices[slot] = null;
    KavWeb.clips[slot] = buffer;
    if (!KavWeb.gains[slot]) {
      var split = ac.createChannelSplitter(2), merge = ac.createChannelMerger(2);
      var l = ac.createGain(), r = ac.createGain();
      split.connect(l, 0);
      split.connect(r, 1);
      l.connect(merge, 0, 0);
      r.connect(merge, 0, 1);
      merge.connect(ac.destination);
      KavWeb.gains[slot] = {input: split, left: l, right: r};
    }
    return 1;
  },

  kav_web_audio_play__deps: ['$KavWeb'],
  kav_web_audio_play: function(slot, loop) {
    var ac = KavWeb.audio, clip = KavWeb.clips[slot];
    if (!ac || !clip) return;
    if (KavWeb.voices[slot]) { try { KavWeb.voices[slot].stop(); } catch (e) {} }
    var voice = ac.createBufferSource();
    voice.buffer = clip;
    voice.loop = !!loop;
    voice.connect(KavWeb.gains[slot].input);
    voice.start();
    KavWeb.voices[slot] = voice;
  },

  kav_web_audio_stop__deps: ['$KavWeb'],
  kav_web_audio_stop: function(slot) {
    if (KavWeb.voices[slot]) { try { KavWeb.voices[slot].stop(); } catch (e) {} }
    KavWeb.voices[slot] = null;
  },

  kav_web_audio_gains__deps: ['$KavWeb'],
  kav_web_audio_gains: function(slot, left, right) {
    var g = KavWeb.gains[slot];
    if (!g) return;
    g.left.gain.value = left;
    g.right.gain.value = right;
  },

  kav_web_audio_close__deps: ['$KavWeb'],
  kav_web_audio_close: function() {
    if (KavWeb.audio) KavWeb.audio.close();
    KavWeb.audio = null;
    KavWeb.clips = [];
    KavWeb.voices = [];
    KavWeb.gains = [];
  },

  kav_web_pad_open__deps: ['$KavWeb'],
  kav_web_pad_open: function() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (var i = 0; i < pads.length; i++) {
      if (pads[i] && pads[i].connected) {
        KavWeb.pad = pads[i].index;
        return pads[i].vibrationActuator ? 2 : 1;
      }
    }
    KavWeb.pad = -1;
    return 0;
  },

  kav_web_pad_read__deps: ['$KavWeb'],
  kav_web_pad_read: function(state) {
    if (KavWeb.pad < 0) return 0;
    var pad = navigator.getGamepads()[KavWeb.pad];
    if (!pad || !pad.connected) return 0;
    var axis = function(v) { return Math.max(-32768, Math.min(32767, Math.round((v || 0) * 32767.5 - 0.5))); };
    var x = axis(pad.axes[0]), y = axis(pad.axes[1]);
    var pressed = function(i) { return !!(pad.buttons[i] && pad.buttons[i].pressed); };
    // The d-pad steps only while the stick rests, as on the desktop.
    if (Math.abs(x) < 8000 && Math.abs(y) < 8000 && pad.mapping === 'standard') {
      if (pressed(14) !== pressed(15)) x = pressed(14) ? -32768 : 32767;
      if (pressed(12) !== pressed(13)) y = pressed(12) ? -32768 : 32767;
    }
    HEAP32[state >> 2] = x;
    HEAP32[(state >> 2) + 1] = y;
    HEAP32[(state >> 2) + 2] = pressed(0) ? 1 : 0;
    HEAP32[(state >> 2) + 3] = pressed(1) ? 1 : 0;
    return 1;
  },

  kav_web_pad_rumble__deps: ['$KavWeb'],
  kav_web_pad_rumble: function(large, small, ms) {
    if (KavWeb.pad < 0) return;
    var pad = navigator.getGamepads()[KavWeb.pad];
    var actuator = pad && pad.vibrationActuator;
    if (!actuator) return;
    if (ms <= 0) {
      if (actuator.reset) actuator.reset();
      else actuator.playEffect('dual-rumble', {duration: 0, strongMagnitude: 0, weakMagnitude: 0});
      return;
    }
    actuator.playEffect('dual-rumble', {startDelay: 0, duration: ms, strongMagnitude: large, weakMagnitude: small})
        .catch(function() {});
  },

  kav_web_pad_close__deps: ['$KavWeb'],
  kav_web_pad_close: function() {
    KavWeb.pad = -1;
  },

  kav_web_font_line_height__deps: ['$KavWeb'],
  kav_web_font_line_height: function(face, px) {
    return KavWeb.metrics(face, px).height;
  },

  kav_web_font_advances__deps: ['$KavWeb'],
  kav_web_font_advances: function(face, px, text, advances, count) {
    var ctx = KavWeb.fontContext(face, px), i = 0;
    for (var ch of UTF8ToString(text)) {
      if (i >= count) break;
      HEAP32[(advances >> 2) + i] = Math.round(ctx.measureText(ch).width);
      i++;
    }
  },

  kav_web_font_render__deps: ['$KavWeb'],
  kav_web_font_render: function(face, px, text, advances, count, width, height, coverage) {
    var m = KavWeb.metrics(face, px), c = KavWeb.fontCanvas;
    if (c.width < width || c.height < height) {
      c.width = Math.max(c.width, width);
      c.height = Math.max(c.height, height);
    }
    var ctx = KavWeb.fontContext(face, px);
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, width, height);
    ctx.fillStyle = '#fff';
    ctx.textBaseline = 'alphabetic';
    var pen = 0, i = 0;
    for (var ch of UTF8ToString(text)) {
      if (i >= count) break;
      ctx.fillText(ch, pen, m.above);
      pen += HEAP32[(advances >> 2) + i];
      i++;
    }
    var img = ctx.getImageData(0, 0, width, height).data;
    // One-bit ink, as the desktop's monochrome hinting gives.
    for (var p = 0; p < width * height; p++) HEAPU8[coverage + p] = img[p * 4] >= 128 ? 255 : 0;
  },

  kav_web_lock_held: function() {
    return Module['kavronaLockHeld'] ? 1 : 0;
  },

  kav_web_fatal: function(title, text) {
    if (Module['onFatal']) Module['onFatal'](UTF8ToString(title), UTF8ToString(text));
  },

  kav_web_trace: function(line) {
    if (Module['onTrace']) Module['onTrace'](UTF8ToString(line));
  },

  kav_web_ended__deps: ['$KavWeb'],
  kav_web_ended: function(status) {
    if (KavWeb.held) KavWeb.held.clear();
    KavWeb.persistRecords();
    if (Module['onEnded']) Module['onEnded'](status);
  },
});
