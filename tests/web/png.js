// Decodes the PNG screenshots that browsers take (8 bits a channel, RGB or RGBA, not interlaced)
// into RGBA pixels, in node: the page's own policy forbids it to load images, data: ones too.
'use strict';
const zlib = require('zlib');

function paeth(a, b, c) {
  const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function decodePng(buffer) {
  const bytes = Buffer.from(buffer);
  let offset = 8, width = 0, height = 0, depth = 0, type = 0, interlace = 0;
  const idat = [];
  while (offset < bytes.length) {
    const length = bytes.readUInt32BE(offset), kind = bytes.toString('latin1', offset + 4, offset + 8);
    const data = bytes.subarray(offset + 8, offset + 8 + length);
    if (kind === 'IHDR') {
      width = data.readUInt32BE(0); height = data.readUInt32BE(4);
      depth = data[8]; type = data[9]; interlace = data[12];
    } else if (kind === 'IDAT') idat.push(data);
    else if (kind === 'IEND') break;
    offset += 12 + length;
  }
  if (depth !== 8 || (type !== 2 && type !== 6) || interlace !== 0)
    throw new Error(`PNG of depth ${depth}, colour type ${type}, interlace ${interlace} is not read here`);
  const channels = type === 6 ? 4 : 3, stride = width * channels;
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const rows = Buffer.alloc(height * stride), rgba = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? rows[y * stride + i - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + i] : 0;
      const c = i >= channels && y > 0 ? rows[(y - 1) * stride + i - channels] : 0;
      const v = line[i];
      rows[y * stride + i] = (filter === 0 ? v : filter === 1 ? v + a : filter === 2 ? v + b
                              : filter === 3 ? v + ((a + b) >> 1) : v + paeth(a, b, c)) & 255;
    }
    for (let x = 0; x < width; ++x) {
      const s = y * stride + x * channels, t = (y * width + x) * 4;
      rgba[t] = rows[s]; rgba[t + 1] = rows[s + 1]; rgba[t + 2] = rows[s + 2];
      rgba[t + 3] = channels === 4 ? rows[s + 3] : 255;
    }
  }
  return { width, height, data: rgba };
}

module.exports = { decodePng };
