// CP932 for the WebAssembly builds (see code_page_web.h). The WHATWG Shift_JIS of browsers and
// Node is Windows' code page 932; encoding picks, for a character with two codes, the one
// Windows writes: the first in code order, leaving out the NEC-selected IBM rows (lead bytes
// 0xED and 0xEE).
mergeInto(LibraryManager.library, {
  $KavCp932: {
    decoder: undefined,
    encodeTable: null,
    decoderOrNull: function() {
      if (KavCp932.decoder === undefined) {
        try { KavCp932.decoder = new TextDecoder('shift_jis', {fatal: true}); } catch (e) { KavCp932.decoder = null; }
      }
      return KavCp932.decoder;
    },
    table: function() {
      if (KavCp932.encodeTable) return KavCp932.encodeTable;
      var d = KavCp932.decoderOrNull(), t = new Map();
      var one = function(bytes) {
        try { var s = d.decode(new Uint8Array(bytes)); if (!t.has(s)) t.set(s, bytes); } catch (e) {}
      };
      for (var b = 0; b < 0x80; b++) one([b]);
      for (var b = 0xA1; b <= 0xDF; b++) one([b]);
      for (var lead = 0x81; lead <= 0xFC; lead++) {
        if ((lead > 0x9F && lead < 0xE0) || lead === 0xED || lead === 0xEE) continue;
        for (var trail = 0x40; trail <= 0xFC; trail++) if (trail !== 0x7F) one([lead, trail]);
      }
      for (var lead = 0xED; lead <= 0xEE; lead++) {
        for (var trail = 0x40; trail <= 0xFC; trail++) if (trail !== 0x7F) one([lead, trail]);
      }
      KavCp932.encodeTable = t;
      return t;
    },
  },

  kav_cp932_available__deps: ['$KavCp932'],
  kav_cp932_available: function() {
    return KavCp932.decoderOrNull() ? 1 : 0;
  },

  kav_cp932_convert__deps: ['$KavCp932', 'malloc'],
  kav_cp932_convert: function(toCp932, data, size, outSize) {
    var input = HEAPU8.slice(data, data + size), out;
    if (toCp932) {
      var text;
      try { text = new TextDecoder('utf-8', {fatal: true}).decode(input); } catch (e) { return 0; }
      var table = KavCp932.table(), bytes = [];
      for (var ch of text) {
        var code = table.get(ch);
        if (!code) return 0;
        for (var i = 0; i < code.length; i++) bytes.push(code[i]);
      }
      out = new Uint8Array(bytes);
    } else {
      var decoded;
      try { decoded = KavCp932.decoderOrNull().decode(input); } catch (e) { return 0; }
      out = new TextEncoder().encode(decoded);
    }
    var ptr = _malloc(out.length + 1);
    if (!ptr) return 0;
    HEAPU8.set(out, ptr);
    HEAPU32[outSize >> 2] = out.length;
    return ptr;
  },
});
