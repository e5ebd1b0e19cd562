// GBK for the program's texts, from the platform's own decoder. The reverse table (UTF-16 code
// unit -> GBK byte pair, 0 for none) is built once, on the first encoding, by decoding every
// double-byte code in one call: a space follows each pair, so every pair decodes to one piece.
var wtText = {
  decoder: null,
  encodeTable: null,

  gbkDecoder: function () {
    if (!wtText.decoder) wtText.decoder = new TextDecoder('gbk');
    return wtText.decoder;
  },

  table: function () {
    if (wtText.encodeTable) return wtText.encodeTable;
    var pairs = new Uint8Array(126 * 190 * 3);
    var n = 0;
    for (var lead = 0x81; lead <= 0xfe; ++lead) {
      for (var trail = 0x40; trail <= 0xfe; ++trail) {
        if (trail === 0x7f) continue;
        pairs[n++] = lead;
        pairs[n++] = trail;
        pairs[n++] = 0x20;
      }
    }
    var text = wtText.gbkDecoder().decode(pairs.subarray(0, n));
    // Every GBK character lies in the basic plane: the table is indexed by its code unit.
    var map = new Uint16Array(65536);
    var at = 0;
    lead = 0x81;
    trail = 0x40;
    while (at < text.length && lead <= 0xfe) {
      var end = text.indexOf(' ', at);
      if (end < 0) end = text.length;
      var c = text.charCodeAt(at);
      if (end === at + 1 && c !== 0xfffd && c >= 0x80 && map[c] === 0) map[c] = (lead << 8) | trail;
      at = end + 1;
      if (++trail === 0x7f) ++trail;
      if (trail > 0xfe) { trail = 0x40; ++lead; }
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
        var code = c < 0x10000 ? map[c] : 0;
        if (code) out.push(code >> 8, code & 0xff);  // no GBK form: dropped
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
