// The page: holds the one-copy lock, fetches the game's files with a progress bar, mounts the
// record directory on IndexedDB and starts the game. ?trace=1 collects the game's trace on
// window.kavronaTrace. The language switch (or ?lang=LANG) chooses the game's texts; the choice
// is remembered in this browser, apart from the record file, which never holds it.
(function() {
  'use strict';
  var params = new URLSearchParams(location.search);
  var args = [];
  if (params.get('trace') === '1') {
    window.kavronaTrace = [];
    args.push('--trace');
  }
  var languageKey = 'kavrona.language';
  var language = params.get('lang') || storedLanguage() || 'ja';
  if (language !== 'ja') args.push('--lang', language);

  function storedLanguage() {
    try { return localStorage.getItem(languageKey); } catch (e) { return null; }
  }

  var $ = function(id) { return document.getElementById(id); };
  var recordPath = '/records/Kavrona.ini';

  function notice(text, restart) {
    $('loading').hidden = true;
    $('notice').hidden = false;
    $('notice-text').textContent = text;
    $('restart').hidden = !restart;
  }

  function status(text, fraction) {
    $('status').textContent = text;
    if (fraction !== undefined) $('progress').value = fraction;
  }

  // Pixels as the game keeps them, 0x00RRGGBB, exactly as in the file (no colour management).
  function decodePicture(bytes) {
    return createImageBitmap(new Blob([bytes], {type: 'image/png'}),
                             {premultiplyAlpha: 'none', colorSpaceConversion: 'none'}).then(function(bitmap) {
      var c = document.createElement('canvas');
      c.width = bitmap.width;
      c.height = bitmap.height;
      var ctx = c.getContext('2d', {willReadFrequently: true});
      ctx.drawImage(bitmap, 0, 0);
      var rgba = ctx.getImageData(0, 0, c.width, c.height).data, pixels = new Uint32Array(c.width * c.height);
      for (var i = 0; i < pixels.length; i++) pixels[i] = (rgba[i * 4] << 16) | (rgba[i * 4 + 1] << 8) | rgba[i * 4 + 2];
      return {width: c.width, height: c.height, pixels: pixels};
    });
  }

  function fetchGameFiles() {
    return fetch('game/files.txt').then(function(r) {
      if (!r.ok) throw new Error('game/files.txt: ' + r.status);
      return r.text();
    }).then(function(listing) {
      var names = listing.split('\n').filter(Boolean), done = 0, files = {}, pictures = {};
      return Promise.all(names.map(function(name) {
        return fetch('game/' + name).then(function(r) {
          if (!r.ok) throw new Error(name + ': ' + r.status);
          return r.arrayBuffer();
        }).then(function(buffer) {
          var bytes = new Uint8Array(buffer);
          files[name] = bytes;
          var decoded = /\.png$/.test(name) ? decodePicture(bytes).then(function(image) {
            pictures['/game/' + name] = image;
          }) : null;
          return Promise.resolve(decoded).then(function() {
            done++;
            status('Loading… / 読み込み中… ' + done + ' / ' + names.length, done / names.length);
          });
        });
      })).then(function() { return {files: files, pictures: pictures}; });
    });
  }

  function loadFonts() {
    if (!document.fonts) return Promise.resolve();
    return Promise.all([document.fonts.load('12px KavronaMincho', '\u3042'),
                        document.fonts.load('12px KavronaGothic', '\u3042')]);
  }

  function loadScript(src) {
    return new Promise(function(resolve, reject) {
      var s = document.createElement('script');
      s.src = src;
      s.onload = resolve;
      s.onerror = function() { reject(new Error('cannot load ' + src)); };
      document.body.appendChild(s);
    });
  }

  function start(game) {
    var Module = window.Module = {
      arguments: args,
      kavronaPictures: game.pictures,
      kavronaLockHeld: true,
      preRun: [function() {
        var FS = Module.FS;
        FS.mkdir('/game');
        FS.mkdir('/game/data');
        Object.keys(game.files).forEach(function(name) { FS.writeFile('/game/' + name, game.files[name]); });
        FS.mkdir('/records');
        FS.mount(FS.filesystems.IDBFS, {}, '/records');
        Module.kavronaRecordsMounted = true;
        Module.addRunDependency('records');
        FS.syncfs(true, function(err) {
          if (err) console.warn('Kavrona: the stored record file could not be read', err);
          Module.removeRunDependency('records');
        });
      }],
      onRuntimeInitialized: function() {
        $('loading').hidden = true;
        window.kavronaStartedAt = performance.now();
        Module.callMain(args);
      },
      onFirstPicture: function() { window.kavronaFirstPicture = performance.now(); },
      onTrace: function(line) {
        if (window.kavronaTrace) window.kavronaTrace.push(JSON.parse(line));
      },
      onFatal: function(title, text) { notice(title + ': ' + text, true); },
      onEnded: function(status) {
        window.kavronaEnded = status;
        if ($('notice').hidden) notice('The game has ended. / ゲームは終了しました。', true);
      },
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
    };
    window.kavronaModule = Module;
    return loadScript('kavrona.js');
  }

  function pressF4() {
    var web = window.kavronaModule && window.kavronaModule.kavWeb;
    if (!web) return;
    // As if F4 were pressed on the game's canvas: held a moment, so that the game's polling sees it.
    $('screen').focus({preventScroll: true});
    web.held.add(115);
    web.push(4, 0, 0, 115, 0, '');
    setTimeout(function() { web.held.delete(115); }, 100);
  }

  function downloadRecords() {
    var FS = window.kavronaModule && window.kavronaModule.FS;
    var bytes = null;
    try { bytes = FS && FS.readFile(recordPath); } catch (e) {}
    if (!bytes) {
      alert('There is no record file yet. / 記録ファイルはまだありません。');
      return;
    }
    var a = document.createElement('a');
    a.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    a.download = 'Kavrona.ini';
    document.body.appendChild(a);
    a.click();
    a.remove();
  }

  // A record file from the player (the desktop game's included) replaces this browser's, byte for
  // byte, and the game starts again with it.
  function loadRecords(file) {
    var Module = window.kavronaModule;
    if (!Module || !Module.FS || !Module.kavronaRecordsMounted) return;
    file.arrayBuffer().then(function(buffer) {
      var FS = Module.FS;
      FS.writeFile(recordPath + '.load', new Uint8Array(buffer));
      FS.rename(recordPath + '.load', recordPath);
      FS.syncfs(false, function(err) {
        if (err) {
          alert('The record file could not be stored. / 記録ファイルを保存できませんでした。');
          return;
        }
        location.reload();
      });
    });
  }

  $('fullscreen').addEventListener('click', pressF4);
  $('download').addEventListener('click', downloadRecords);
  $('load').addEventListener('change', function(e) {
    if (e.target.files.length > 0) loadRecords(e.target.files[0]);
    e.target.value = '';
  });
  $('restart').addEventListener('click', function() { location.reload(); });
  $('language').value = language;
  $('language').addEventListener('change', function(e) {
    try { localStorage.setItem(languageKey, e.target.value); } catch (err) {}
    // The game takes its language as it starts: start it again, without a ?lang= that would win.
    params.delete('lang');
    var query = params.toString();
    location.replace(location.pathname + (query ? '?' + query : ''));
  });

  function begin() {
    Promise.all([fetchGameFiles(), loadFonts()]).then(function(results) {
      status('Starting… / 起動中…', 1);
      return start(results[0]);
    }).catch(function(e) {
      notice('Kavrona could not load: ' + e.message + ' / 読み込めませんでした', true);
    });
  }

  // One copy: the lock lasts as long as this page.
  if (navigator.locks) {
    navigator.locks.request('kavrona', {ifAvailable: true}, function(lock) {
      if (!lock) {
        window.kavronaElsewhere = true;
        notice('Kavrona is already running in another tab or window. / Kavrona はほかのタブで動いています。', false);
        return;
      }
      begin();
      return new Promise(function() {});
    });
  } else {
    begin();
  }
})();
