// GBK for the program's texts, from the platform's own decoder. The reverse table (UTF-16 code
// unit -> GBK byte pair) is built once, on the first encoding, by decoding every double-byte code
// in one call: a space follows each pair, so every pair decodes to exactly one piece.
var wtText = {
  decoder: null,
  encodeTable: null,

  gbkDecoder: function () {
    if (!wtText.decoder) wtText.decoder = new TextDecoder('gbk');
    return wtText.decoder;
  },

  table: function () {
    if (wtText.encodeTable) return wtText.encodeTable;
    var codes = [];
    var bytes = [];
    for (var lead = 0x81; lead <= 0xfe; ++lead) {
      for (var trail = 0x40; trail <= 0xfe; ++trail) {
        if (trail === 0x7f) continue;
        codes.push((lead << 8) | trail);
        bytes.push(lead, trail, 0x20);
      }
    }
    var pieces = wtText.gbkDecoder().decode(new Uint8Array(bytes)).split(' ');
    var map = new Map();
    for (var i = 0; i < codes.length && i < pieces.length; ++i) {
      var piece = pieces[i];
      if (piece.length === 1 && piece !== '\ufffd' && !map.has(piece)) map.set(piece, codes[i]);
    }
    wtText.encodeTable = map;
    return map;
  },

  toGbk: function (text) {
    var map = wtText.table();
    var out = [];
    for (var ch of text) {
      var c = ch.codePointAt(0);
      if (c < 0x80) {
        out.push(c);
      } else {
        var code = map.get(ch);
        if (code !== undefined) out.push(code >> 8, code & 0xff);  // no GBK form: dropped
      }
    }
    return new Uint8Array(out);
  },

  // Converts `length` bytes at `data`; returns a malloc'd buffer the caller frees, its length
  // in *outLength.
  convert: function (data, length, toGbk, outLength) {
    if (data + length > HEAPU8.length || length < 0) return 0;
    var input = HEAPU8.slice(data, data + length);
    var out;
    if (toGbk) {
      out = wtText.toGbk(new TextDecoder('utf-8').decode(input));
    } else {
      var text = wtText.gbkDecoder().decode(input).replace(/\ufffd/g, '');
      out = new TextEncoder().encode(text);
    }
    var buffer = _malloc(out.length + 1);
    if (!buffer) return 0;
    HEAPU8.set(out, buffer);
    HEAPU8[buffer + out.length] = 0;
    HEAP32[outLength >> 2] = out.length;
    return buffer;
  },
};
