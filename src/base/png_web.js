// PNG decoding and encoding for the WebAssembly builds. Node has zlib; the browser's pictures are
// decoded by the page before the game starts (Module.kavronaPictures, by path), since the
// browser decodes only asynchronously.
mergeInto(LibraryManager.library, {
  $KavPng: {
    crcTable: null,
    crc: function(bytes) {
      if (!KavPng.crcTable) {
        KavPng.crcTable = new Int32Array(256);
        for (var n = 0; n < 256; n++) {
          var c = n;
          for (var k = 0; k < 8; k++) c = (c & 1) ? (0xEDB88320 ^ (c >>> 1)) : (c >>> 1);
          KavPng.crcTable[n] = c;
        }
      }
      var crc = -1;
      for (var i = 0; i < bytes.length; i++) crc = KavPng.crcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >>> 8);
      return (crc ^ -1) >>> 0;
    },
    zlib: function() {
      return (typeof process === 'object' && typeof require === 'function') ? require('zlib') : null;
    },
    // 8-bit grey, grey-alpha, RGB, RGBA and palette pictures without interlace: what our
    // generator and common editors write. Anything else is refused.
    decode: function(bytes) {
      var zlib = KavPng.zlib();
      if (!zlib || bytes.length < 33) return null;
      var sig = [137, 80, 78, 71, 13, 10, 26, 10];
      for (var i = 0; i < 8; i++) if (bytes[i] !== sig[i]) return null;
      var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      var pos = 8, width = 0, height = 0, depth = 0, type = 0, interlace = 0, palette = null, idat = [];
      while (pos + 8 <= bytes.length) {
        var len = view.getUint32(pos), kind = String.fromCharCode(bytes[pos + 4], bytes[pos + 5], bytes[pos + 6], bytes[pos + 7]);
        var body = bytes.subarray(pos + 8, pos + 8 + len);
        if (body.length !== len) return null;
        if (kind === 'IHDR') {
          width = view.getUint32(pos + 8); height = view.getUint32(pos + 12);
          depth = bytes[pos + 16]; type = bytes[pos + 17]; interlace = bytes[pos + 20];
        } else if (kind === 'PLTE') {
          palette = body;
        } else if (kind === 'IDAT') {
          idat.push(body);
        } else if (kind === 'IEND') {
          break;
        }
        pos += 12 + len;
      }
      var channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[type];
      if (!channels || depth !== 8 || interlace !== 0 || width < 1 || height < 1 || width > 4096 || height > 4096) return null;
      if (type === 3 && !palette) return null;
      var raw;
      try { raw = zlib.inflateSync(Buffer.concat(idat.map(function(b) { return Buffer.from(b); }))); } catch (e) { return null; }
      var stride = width * channels;
      if (raw.length < height * (stride + 1)) return null;
      var cur = new Uint8Array(stride), prev = new Uint8Array(stride), out = new Uint32Array(width * height);
      for (var y = 0; y < height; y++) {
        var filter = raw[y * (stride + 1)], row = y * (stride + 1) + 1;
        for (var x = 0; x < stride; x++) {
          var a = x >= channels ? cur[x - channels] : 0, b = prev[x], c = x >= channels ? prev[x - channels] : 0, v = raw[row + x];
          if (filter === 1) v += a;
          else if (filter === 2) v += b;
          else if (filter === 3) v += (a + b) >> 1;
          else if (filter === 4) {
            var p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            v += (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
          } else if (filter !== 0) return null;
          cur[x] = v & 0xFF;
        }
        for (var x = 0; x < width; x++) {
          var r, g, bl;
          if (type === 3) { var k = cur[x] * 3; r = palette[k]; g = palette[k + 1]; bl = palette[k + 2]; }
          else if (channels <= 2) { r = g = bl = cur[x * channels]; }
          else { r = cur[x * channels]; g = cur[x * channels + 1]; bl = cur[x * channels + 2]; }
          out[y * width + x] = (r << 16) | (g << 8) | bl;
        }
        var t = prev; prev = cur; cur = t;
      }
      return {width: width, height: height, pixels: out};
    },
    encode: function(width, height, pixels) {
      var zlib = KavPng.zlib();
      if (!zlib) return null;
      var stride = width * 3, raw = new Uint8Array(height * (stride + 1));
      for (var y = 0; y < height; y++) {
        for (var x = 0; x < width; x++) {
          var p = pixels[y * width + x], o = y * (stride + 1) + 1 + x * 3;
          raw[o] = (p >> 16) & 0xFF; raw[o + 1] = (p >> 8) & 0xFF; raw[o + 2] = p & 0xFF;
        }
      }
      var chunk = function(kind, body) {
        var out = new Uint8Array(12 + body.length), v = new DataView(out.buffer);
        v.setUint32(0, body.length);
        for (var i = 0; i < 4; i++) out[4 + i] = kind.charCodeAt(i);
        out.set(body, 8);
        v.setUint32(8 + body.length, KavPng.crc(out.subarray(4, 8 + body.length)));
        return out;
      };
      var ihdr = new Uint8Array(13), hv = new DataView(ihdr.buffer);
      hv.setUint32(0, width); hv.setUint32(4, height); ihdr[8] = 8; ihdr[9] = 2;
      var parts = [new Uint8Array([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', ihdr),
                   chunk('IDAT', new Uint8Array(zlib.deflateSync(Buffer.from(raw)))), chunk('IEND', new Uint8Array(0))];
      var total = 0;
      parts.forEach(function(p) { total += p.length; });
      var file = new Uint8Array(total), at = 0;
      parts.forEach(function(p) { file.set(p, at); at += p.length; });
      return file;
    },
  },

  kav_png_decode__deps: ['$KavPng', 'malloc'],
  kav_png_decode: function(path, data, size, width, height) {
    var name = UTF8ToString(path);
    var pictures = Module['kavronaPictures'];
    var image = (pictures && name && pictures[name]) || KavPng.decode(HEAPU8.slice(data, data + size));
    if (!image) return 0;
    var ptr = _malloc(image.pixels.length * 4);
    if (!ptr) return 0;
    HEAPU32.set(image.pixels, ptr >> 2);
    HEAP32[width >> 2] = image.width;
    HEAP32[height >> 2] = image.height;
    return ptr;
  },

  kav_png_encode__deps: ['$KavPng', 'malloc'],
  kav_png_encode: function(width, height, pixels, size) {
    var file = KavPng.encode(width, height, HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height));
    if (!file) return 0;
    var ptr = _malloc(file.length);
    if (!ptr) return 0;
    HEAPU8.set(file, ptr);
    HEAPU32[size >> 2] = file.length;
    return ptr;
  },
});
