// Reads the game's screenshots: 8-bit palette PNG files, as 640 x 480 RGB pixels.
import zlib from "node:zlib";

// { width, height, rgb: Uint8Array of width * height * 3 } of an 8-bit paletted PNG.
export function readPalettePng(bytes) {
  if (bytes.readUInt32BE(0) !== 0x89504e47) throw new Error("not a PNG file");
  let width = 0;
  let height = 0;
  let palette = null;
  const data = [];
  for (let at = 8; at < bytes.length; ) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString("latin1", at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 3 || body[12] !== 0) {
        throw new Error("not an 8-bit paletted, non-interlaced PNG");
      }
    } else if (type === "PLTE") {
      palette = body;
    } else if (type === "IDAT") {
      data.push(body);
    }
    at += 12 + length;
  }
  if (!palette) throw new Error("no palette");
  const raw = zlib.inflateSync(Buffer.concat(data));
  const indices = new Uint8Array(width * height);
  for (let y = 0; y < height; ++y) {
    // libpng filters no row of a paletted picture.
    const filter = raw[y * (width + 1)];
    if (filter !== 0) throw new Error(`row ${y} has filter ${filter}, not none`);
    indices.set(raw.subarray(y * (width + 1) + 1, (y + 1) * (width + 1)), y * width);
  }
  const rgb = new Uint8Array(width * height * 3);
  indices.forEach((index, i) => rgb.set(palette.subarray(index * 3, index * 3 + 3), i * 3));
  return { width, height, rgb };
}
